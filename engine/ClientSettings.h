// The HTTP client settings of a save, or of a program's fetches outside a save, built once
// from the named options: the cookie file read into a jar, the login files checked, the
// proxy taken apart. Every session of the save is made with the result.
#pragma once

#include <string>
#include <vector>

#include "engine/NamedOptions.h"
#include "platform/HttpSettings.h"

namespace engine {

enum class ClientUse {
    Save,     // a save keeps the cookies its sites set, each save in a jar of its own
    Program,  // fetches outside a save keep none, unless a cookie file is given
};

// `notes` receives the log lines about the files and options (Japanese); no line holds
// anything read from the files.
platform::HttpClientSettings MakeClientSettings(const NamedOptions& named, ClientUse use,
                                                std::vector<std::string>* notes = nullptr);

// The proxy text without a login written into it ("http://user:pw@host:8080" becomes
// "http://host:8080"), and the host it names ("" when it names none).
std::string ProxyWithoutLogin(const std::string& proxy);
std::string ProxyHost(const std::string& proxy);

}  // namespace engine
