#include "suite/Registration.h"

#include <cctype>
#include "suite/Catalogue.h"

namespace suite {

namespace {

bool KindIs(const std::string& kind, const char* name) {
    if (kind.size() != std::char_traits<char>::length(name)) return false;
    for (size_t i = 0; i < kind.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(kind[i])) != name[i]) return false;
    return true;
}

}  // namespace

bool IsQdxKind(const std::string& kind) { return KindIs(kind, "QDX"); }
bool IsFileKind(const std::string& kind) { return KindIs(kind, "FILE"); }

bool RegistrationFromArguments(const std::vector<std::string>& args, Registration& out) {
    if (args.size() < 2) return false;
    out.kind = args[0];
    out.first = args[1];
    out.second = args.size() > 2 ? args[2] : std::string();
    return true;
}

int ApplyRegistration(Catalogue& catalogue, const Registration& registration, std::string* error) {
    if (KindIs(registration.kind, "QDX")) return catalogue.RegisterQdx(registration.first, error);
    if (KindIs(registration.kind, "FILE")) return catalogue.RegisterFile(registration.first, registration.second, error);
    return RegisterKnown;
}

int RegisterInFile(const std::string& cataloguePath, const Registration& registration, std::string* message) {
    Catalogue catalogue(cataloguePath);
    std::string loadMessage, error;
    (void)catalogue.Load(&loadMessage);
    const int result = ApplyRegistration(catalogue, registration, &error);
    std::string text = loadMessage;
    if (result == RegisterDropped && !error.empty()) text += (text.empty() ? "" : "\n") + error;
    const int written = catalogue.Commit(&error);
    if (!written) text += (text.empty() ? "" : "\n") + error;
    if (message) *message = text;
    return written;
}

}  // namespace suite
