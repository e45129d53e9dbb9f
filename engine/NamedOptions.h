// The save options that are not bits of the mode word, each known by its name. They are
// frozen with the rest of a save's options when the save starts.
//
// Every carrier (the settings file, parameter files, the scheduler, the command line, the
// "Web" settings page) walks NamedOptionTable() and reads or writes each option as text, so
// an option is added here, once: its field, its table entry, and the code that uses it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace engine {

struct NamedOptions {
    // A cookies.txt file (Netscape format) read at the start of a complete save; "" for none.
    std::string cookieFile;
    // Fetch what the sites' robots.txt forbid as well (they are obeyed unless this is set).
    bool ignoreRobots = false;
    // The least time between two requests to one host, in milliseconds (0: none), and
    // whether each wait is varied by up to half of it either way.
    int64_t waitMs = 0;
    bool waitRandom = false;
    // How many update runs keep the earlier versions of what they replace (under the data
    // folder's "_history"); 0 keeps none.
    int64_t historyRuns = 5;
    // A netrc-format file with the logins of sites behind HTTP Basic or Digest authentication;
    // "" for none. Only its path is stored anywhere.
    std::string credentialsFile;
    // The proxy of every request ("http://host:port", "socks5h://host:port"; "" leaves it to
    // the environment), the hosts reached without it, and a netrc-format file with its login.
    std::string proxy;
    std::string noProxy;
    std::string proxyCredentialsFile;
    // Take the hosts' certificates unchecked (self-signed ones): for one save only.
    bool acceptSelfSigned = false;
    // Start the walk also from the pages the start host's sitemaps list (within the same limits).
    bool sitemaps = false;
    // Record every HTTP exchange of the save in a WARC file beside the copy (with its CDXJ
    // index), and pack both into a WACZ as well.
    bool warc = false;
    bool wacz = false;
    // Load each page in a browser engine and save the document its scripts built, with what
    // it asked for; and whether the saved document keeps its scripts (by default they go,
    // or the copy would build itself a second time when opened).
    bool render = false;
    bool renderKeepScripts = false;

    bool operator==(const NamedOptions&) const = default;
};

enum class NamedOptionKind { Text, Path, Bool, Integer };

struct NamedOptionDescriptor {
    const char* name;   // "cookie-file": key, element name and "--name=value"
    NamedOptionKind kind;
    const char* label;  // the caption of its control on the "Web" settings page
    const char* help;   // one line for the usage text
    std::variant<std::string NamedOptions::*, bool NamedOptions::*, int64_t NamedOptions::*> field;
    int64_t minimum = 0;  // Integer only: the accepted range
    int64_t maximum = 0;
};

// Every named option, in the order the carriers show them.
const std::vector<NamedOptionDescriptor>& NamedOptionTable();
const NamedOptionDescriptor* FindNamedOption(std::string_view name);

// The value as its carriers store it: texts as they are, "1"/"0", decimal numbers.
std::string NamedOptionText(const NamedOptions& options, const NamedOptionDescriptor& option);

enum NamedOptionSetResult : int { NamedOptionSet = 1, NamedOptionRefused = 0 };
// Who reads why a value was refused: a log (always Japanese) or the user (in the user's language).
enum class RefusalFor { Log, User };
// Takes the value from its stored text; a value the option cannot take leaves it unchanged,
// and `error` says why, naming the option.
[[nodiscard]] int SetNamedOptionText(NamedOptions& options, const NamedOptionDescriptor& option,
                                     std::string_view text, std::string* error = nullptr,
                                     RefusalFor reader = RefusalFor::Log);

// The options whose value differs from the default, as "--name=value" arguments.
std::vector<std::string> NamedOptionArguments(const NamedOptions& options);

}  // namespace engine
