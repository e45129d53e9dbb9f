// The logins of a netrc-format file ("machine HOST login NAME password SECRET", "default ...").
// libcurl reads such a file itself for the sites; the proxy's login is looked up here.
#pragma once

#include <string>
#include <string_view>

namespace platform {

struct NetrcLogin {
    std::string login;
    std::string password;
};

// The login for `host` (ASCII case ignored): its machine entry, else the default entry.
// false when the text names neither.
bool FindNetrcLogin(std::string_view text, std::string_view host, NetrcLogin& found);

// How many machine and default entries the text holds.
size_t CountNetrcEntries(std::string_view text);

}  // namespace platform
