// The registrations other programs hand to the catalogue: "QDX" with a .qdx path, "FILE" with
// a URL and the saved file's path, "SITE" (accepted, changes nothing).
#pragma once

#include <string>
#include <vector>

namespace suite {

class Catalogue;

struct Registration {
    std::string kind;
    std::string first;
    std::string second;
};

bool IsQdxKind(const std::string& kind);
bool IsFileKind(const std::string& kind);

// Two or more arguments make a registration; the kind is matched without regard to case.
bool RegistrationFromArguments(const std::vector<std::string>& args, Registration& out);

// Applies one registration to the catalogue held in memory. Returns a RegisterResult;
// RegisterKnown for "SITE" and for kinds this program does not know.
int ApplyRegistration(Catalogue& catalogue, const Registration& registration, std::string* error = nullptr);

// The whole registration of a process that found no running catalogue window: the file is
// read, changed and written back under its lock. 1 done (or nothing to do), 0 failed.
[[nodiscard]] int RegisterInFile(const std::string& cataloguePath, const Registration& registration,
                                 std::string* message = nullptr);

}  // namespace suite
