// The proxy's login looked up in a netrc-format file, as libcurl reads the sites' logins.
#include <gtest/gtest.h>

#include "platform/NetrcFile.h"

using platform::FindNetrcLogin;
using platform::NetrcLogin;

TEST(NetrcFile, TheHostsEntryGoesBeforeTheDefaultAndOddShapesAreRead) {
    struct Case {
        const char* text;
        const char* host;
        bool found;
        const char* login;
        const char* password;
    };
    const Case cases[] = {
        {"machine proxy.example login a password b\n", "proxy.example", true, "a", "b"},
        {"machine Proxy.Example\n  login a\n  password b\n", "proxy.example", true, "a", "b"},
        {"default login d password e\nmachine p login a password b\n", "p", true, "a", "b"},
        {"machine other login a password b\ndefault login d password e\n", "p", true, "d", "e"},
        {"machine p login \"sp ace\" password \"q\\\"uote\"\n", "p", true, "sp ace", "q\"uote"},
        {"macdef init\nmachine p login x password y\n\nmachine p login a password b\n", "p", true, "a", "b"},
        {"machine other login a password b\n", "p", false, "", ""},
        {"login a password b\n", "p", false, "", ""},
        {"machine", "machine", false, "", ""},
        {"", "p", false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        NetrcLogin login;
        EXPECT_EQ(FindNetrcLogin(c.text, c.host, login), c.found);
        EXPECT_EQ(login.login, c.login);
        EXPECT_EQ(login.password, c.password);
    }
    EXPECT_EQ(platform::CountNetrcEntries("machine a login x\ndefault\n# machine b\n"), 2u);
}
