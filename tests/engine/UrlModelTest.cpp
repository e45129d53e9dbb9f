// Link kinds, name tests, local names of query URLs and the resolution of links to local
// paths, including the links that must never leave the save's folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <utility>
#include <vector>

#include "engine/LinkKind.h"
#include "engine/SafeLocalPath.h"
#include "engine/UrlModel.h"
#include "tests/support/Sandbox.h"

using namespace engine;
using testsupport::Sandbox;

namespace {

// Every entry below `root`, as paths relative to it.
std::set<std::string> TreeOf(const std::string& root) {
    std::set<std::string> out;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        out.insert(std::filesystem::relative(it->path(), root).string());
    return out;
}

}  // namespace

TEST(LinkKindOfName, KindFollowsTheNameInTheFixedOrder) {
    const struct { const char* name; int32_t kind; } cases[] = {
        {"a.h", EmbedData},                 // a short name is a name like any other
        {"cgi-bin/x.html", NotFollowed},    // scripts are never saved
        {"form.CGI", NotFollowed},
        {"run.cgi/x.html?a=1", NotFollowed},
        {"robin/x.html", LinkPage},         // "bin" ends these folders' names, yet they run nothing
        {"cabin/usr/bin/p.png", EmbedData},
        {"x.html?from=cgi-bin/", LinkPage},  // the query names no folder
        {"x.php", DynamicPage},
        {"x.php?id=1", DynamicPage},
        {"list.asp", DynamicPage},
        {"inc.shtml", DynamicPage},
        {"mailto:me", NotFollowed},
        {"me@host.html", NotFollowed},
        {"lists@example.org", NotFollowed},  // a mail address written without "mailto:"
        {"img/logo@2x.png", EmbedData},       // a high-resolution picture's name
        {"icon@3x.WEBP?v=2", EmbedData},
        {"javascript:go(1)", NotFollowed},  // ends in ")"
        {"page.html", LinkPage},
        {"page.HTM", LinkPage},
        {"page.html?x=1", LinkPage},        // the query does not count
        {"www.example.com", LinkPage},
        {"app.js", ScriptData},
        {"pic.jpeg", EmbedData},
        {"pic.JPG", EmbedData},
        {"style.CSS", CssData},
        {"list.m3u", PlayList},
        {"pack.tar.gz", EmbedData},
        {"note.z", EmbedData},
        // Names that do not say what they are: the answer decides.
        {"README", AnswerDecides},
        {"go", AnswerDecides},
        {"../go", AnswerDecides},           // the dots of the folder above are no extension
        {"tkinter.ttk", AnswerDecides},     // a short extension that no file type bears
        {"v1.2", AnswerDecides},
        {"manual.PDF", EmbedData},
        {"sect.apt-get", AnswerDecides},
        {"file.longext", AnswerDecides},
        {"search?q=a.b", AnswerDecides},
        {"#top", NotFollowed},              // an anchor alone
        {"tel:0123", NotFollowed},
        {"?page=2", NotFollowed},           // the page itself, asked again
        {"dir/", NotFollowed},
    };
    for (const auto& c : cases) EXPECT_EQ(LinkKindOfName(c.name), c.kind) << c.name;
}

TEST(NameTests, PagesScriptsAndFlashAreRecognisedByName) {
    EXPECT_TRUE(IsPageUrl("http://h/a/index.HTML"));
    EXPECT_TRUE(IsPageUrl("http://h/a/"));
    EXPECT_FALSE(IsPageUrl("http://h/cgi.cgi/a.html"));
    EXPECT_FALSE(IsPageUrl("http://h/x.php/a.html"));
    EXPECT_FALSE(IsPageUrl("http://h/pic.gif"));
    EXPECT_TRUE(IsPageName("a.htm"));
    EXPECT_TRUE(IsPageName("dir/"));
    EXPECT_FALSE(IsPageName("a.php"));
    EXPECT_TRUE(IsSwfName("m.SWF"));
    EXPECT_FALSE(IsSwfName(".swf"));
    EXPECT_TRUE(IsCgiName("/cgi-bin/x"));
    EXPECT_TRUE(IsDynamicName("a.ASP?x"));
}

TEST(EncodeUrl, UnsafeBytesBecomePercentTriples) {
    const struct { std::string in, out; } cases[] = {
        {"http://h/a b.html", "http://h/a%20b.html"},
        {std::string("a\nb"), "a%0Ab"},
        {"\x82\xA0.html", "%82%A0.html"},
        {"http://h/p.php?x=1&y=~z#t", "http://h/p.php?x=1&y=~z#t"},
        {"'.-*()_/:?=#$%&~", "'.-*()_/:?=#$%&~"},
        {"a+b\"c<>", "a%2Bb%22c%3C%3E"},
    };
    for (const auto& c : cases) EXPECT_EQ(EncodeUrl(c.in), c.out) << c.in;
}

TEST(ContainsReservedDeviceName, DeviceNamesAreFoundInAnyComponent) {
    const struct { const char* text; bool reserved; } cases[] = {
        {"COM1.html", true},         {"lpt9", true},
        {"COM10", false},            {"CONSOLE", false},
        {"http://h/aux/x.html", true}, {"C:\\dir\\nul.txt", true},
        {"clock$", true},            {"http://h/com.html", false},
        {"http://h/prn.x/y.gif", true}, {"http://h/a/printer.gif", false},
    };
    for (const auto& c : cases) EXPECT_EQ(ContainsReservedDeviceName(c.text), c.reserved) << c.text;
}

TEST(DynamicLocalName, QueryUrlsGetHtmlNamesAndTheirTailsAreRecorded) {
    const struct { const char* url; const char* name; } cases[] = {
        {"a.php", ""},
        {"a.asp?x=1", ""},
        {"a.php?x=1&y=2", "a__php____q_x=1__a_y=2.html"},
        {"a.php?q=*", "a__php____q_q=__t.html"},
        {"d/a.PHP?x=&quot;1&quot;", "d/a__php____q_x=quot__s_1quot__s_.html"},
        {"a.php?a,b:c;d", "a__php____q_a__r_b__k_c__s_d.html"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> originals, newNames;
        std::string out;
        const size_t n = DynamicLocalName(c.url, out, originals, newNames);
        EXPECT_EQ(n, std::string(c.name).size()) << c.url;
        if (n == 0) {
            EXPECT_TRUE(originals.empty() && newNames.empty()) << c.url;
            continue;
        }
        EXPECT_EQ(out, c.name);
        ASSERT_EQ(originals.size(), 1u);
        EXPECT_EQ(originals[0], std::string(c.url).substr(std::string(c.url).find(".")));
        EXPECT_EQ(newNames[0], out.substr(out.find("__php__")));
    }
}

TEST(IsDirectory, OnlyExistingFolders) {
    Sandbox box;
    Sandbox::WriteFile(box / "f.txt", "x");
    EXPECT_TRUE(IsDirectory(box.Path()));
    EXPECT_FALSE(IsDirectory(box / "f.txt"));
    EXPECT_FALSE(IsDirectory(box / "missing"));
}

class ResolveTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(box / "site/d"); }
    int Resolve(std::string link, int32_t lankLimit, int32_t level = 0) {
        why.clear();
        m_link = std::move(link);
        return ResolveLinkInside(dataFolder, page, "http://h/r/d/index.html", level, lankLimit, path, m_link, kind,
                                 outLevel, &why);
    }
    std::string Rel(const std::string& p) const { return p.substr(0, box.Path().size()) == box.Path() ? p.substr(box.Path().size()) : "!" + p; }

    Sandbox box;
    std::string dataFolder = box.Path();
    std::string page = box / "site/d/index.html";
    std::string path, why, m_link;
    int32_t kind = 0, outLevel = 0;
};

TEST_F(ResolveTest, RelativeLinksGetUrlLocalPathKindAndLevel) {
    const struct {
        const char* link;
        int32_t lank;
        int result;
        int32_t kind;
        int32_t level;
        const char* path;  // below the sandbox; "" when not taken
        const char* url;
    } cases[] = {
        {"a.html", 0, LinkTaken, LinkPage, 0, "site/d/a.html", "http://h/r/d/a.html"},
        {"", 0, LinkTaken, LinkPage, 0, "site/d/index.html", "http://h/r/d/index.html"},
        {"./pic.gif", 0, LinkTaken, EmbedData, 0, "site/d/pic.gif", "http://h/r/d/pic.gif"},
        {"a/b/", 0, LinkTaken, LinkPage, 2, "site/d/a/b/index.html", "http://h/r/d/a/b/index.html"},
        {"a/", 0, LinkTaken, LinkPage, 1, "site/d/a/index.html", "http://h/r/d/a/index.html"},
        {"..", 1, LinkTaken, LinkPage, -1, "site/index.html", "http://h/r/index.html"},  // the folder above
        {"a.h", 0, LinkTaken, EmbedData, 0, "site/d/a.h", "http://h/r/d/a.h"},
        // A name that does not say what it is is taken as a page until its answer comes.
        {"go", 0, LinkTaken, AnswerDecides, 0, "site/d/go.html", "http://h/r/d/go"},
        {"../d/tkinter.ttk", 1, LinkTaken, AnswerDecides, 0, "site/d/tkinter.ttk.html", "http://h/r/d/tkinter.ttk"},
        {"http://o/about", 0, LinkNotTaken, NotFollowed, 0, "", "http://o/about"},
        {"s/x.css", 0, LinkTaken, CssData, 1, "site/d/s/x.css", "http://h/r/d/s/x.css"},
        {"../x.html", 0, LinkNotTaken, NotFollowed, -1, "", "http://h/r/x.html"},
        {"../x.html", 1, LinkTaken, LinkPage, -1, "site/x.html", "http://h/r/x.html"},
        {"../a/y.html", 1, LinkTaken, LinkPage, 0, "site/a/y.html", "http://h/r/a/y.html"},
        // A stored query URL gets a name without "?"; a "/" in the query names no folder.
        {"p.html?x=1", 0, LinkTaken, LinkPage, 0, "site/d/p__q_x=1.html", "http://h/r/d/p.html?x=1"},
        {"q.html?x=/../../y", 0, LinkTaken, LinkPage, 0, "site/d/q__q_x=%2F..%2F..%2Fy.html", "http://h/r/d/q.html?x=/../../y"},
        {"s.css?v=2&t=a", 0, LinkTaken, CssData, 0, "site/d/s__q_v=2__a_t=a.css", "http://h/r/d/s.css?v=2&t=a"},
        // Server-root and host-relative links resolve as a browser resolves them.
        {"/r/d/a/x.html", 0, LinkTaken, LinkPage, 1, "site/d/a/x.html", "http://h/r/d/a/x.html"},
        {"/r/top.html", 1, LinkTaken, LinkPage, -1, "site/top.html", "http://h/r/top.html"},
        {"/r/top.html", 0, LinkNotTaken, NotFollowed, -1, "", "http://h/r/top.html"},
        {"//h/r/d/b.html", 0, LinkTaken, LinkPage, 0, "site/d/b.html", "http://h/r/d/b.html"},
        {"//o/pic.gif", 0, LinkAbsolute, OutDomainEmbed, 0, "", "http://o/pic.gif"},
        // Escapes name the decoded file; requests carry non-ASCII bytes escaped.
        {"operator%3D.html", 0, LinkTaken, LinkPage, 0, "site/d/operator=.html", "http://h/r/d/operator%3D.html"},
        {"a%20b/%28x%29.html", 0, LinkTaken, LinkPage, 1, "site/d/a b/(x).html", "http://h/r/d/a%20b/%28x%29.html"},
        {"\xE8\xA1\xA8.html", 0, LinkTaken, LinkPage, 0, "site/d/\xE8\xA1\xA8.html", "http://h/r/d/%E8%A1%A8.html"},
        // Anchors, other schemes and bare hosts are never local files.
        {"#virtinst.os", 0, LinkNotTaken, NotFollowed, 0, "", "#virtinst.os"},
        {"pic.gif#z", 0, LinkTaken, EmbedData, 0, "site/d/pic.gif", "http://h/r/d/pic.gif"},
        {"ftp://host/x.zip", 0, LinkNotTaken, NotFollowed, 0, "", "ftp://host/x.zip"},
        {"data:image/png;base64,AAAA.png", 0, LinkNotTaken, NotFollowed, 0, "", "data:image/png;base64,AAAA.png"},
        {"http://www.example.org", 0, LinkAbsolute, OutDomainPage, 0, "", "http://www.example.org"},
        // Today's formats are embedded files.
        {"f/x.woff2", 0, LinkTaken, EmbedData, 1, "site/d/f/x.woff2", "http://h/r/d/f/x.woff2"},
        {"p.webp", 0, LinkTaken, EmbedData, 0, "site/d/p.webp", "http://h/r/d/p.webp"},
        {"mailto:a@b.c", 0, LinkNotTaken, NotFollowed, 0, "", "mailto:a@b.c"},
        {"http://o/pic.gif", 0, LinkAbsolute, OutDomainEmbed, 0, "", "http://o/pic.gif"},
        {"https://o/p.html", 0, LinkAbsolute, OutDomainPage, 0, "", "https://o/p.html"},
        {"HTTP://o/x.php", 0, LinkAbsolute, OutDomainPage, 0, "", "HTTP://o/x.php"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Resolve(c.link, c.lank), c.result) << c.link;
        EXPECT_EQ(kind, c.kind) << c.link;
        EXPECT_EQ(m_link, c.url) << c.link;
        EXPECT_TRUE(why.empty()) << c.link << ": " << why;
        if (c.result == LinkTaken) {
            EXPECT_EQ(outLevel, c.level) << c.link;
            EXPECT_EQ(Rel(path), c.path) << c.link;
        } else {
            EXPECT_TRUE(path.empty()) << c.link;
        }
    }
    EXPECT_TRUE(IsDirectory(box / "site/d/a/b"));
    EXPECT_TRUE(IsDirectory(box / "site/a"));
}

TEST_F(ResolveTest, LevelsCountFromThePagesLevel) {
    EXPECT_EQ(Resolve("x/y/z.html", 0, 3), LinkTaken);
    EXPECT_EQ(outLevel, 5);
    EXPECT_EQ(Resolve("../../z.html", 1, 3), LinkTaken);
    EXPECT_EQ(outLevel, 1);
    EXPECT_EQ(Resolve("../../z.html", 0, 1), LinkNotTaken);  // level -1 with no room above
}

TEST_F(ResolveTest, UnsafeLinksAreRefusedAndCreateNothing) {
    dataFolder = box / "site/";
    Sandbox::WriteFile(box / "site/d/index.html", "x");
    const std::set<std::string> before = TreeOf(box.Path());
    const struct { std::string link; int32_t lank; } cases[] = {
        {"a/../../../x.html", 9},
        {"a/./b.html", 9},
        {"%2e%2e/x.html", 9},
        {"a/%2E%2e/x.html", 9},
        {"a/.%2e/x.html", 9},
        {"new/..", 9},
        {"a\\b.html", 9},
        {std::string("a\0b.html", 8), 9},
        {std::string("q.html?x\0/../../y", 17), 9},
        {std::string(300, 'n') + ".html", 9},
        {"n/" + std::string(256, 'f') + "/x.gif", 9},
        {"a%2Fb.html", 9},        // an escaped "/" inside one name
        {"a%5Cb.html", 9},
        {"a%00b.html", 9},
        {"/../../../x.html", 9},  // from the server root above it
        {"../../x.html", 9},      // leaves the data folder
        {"../../../x.html", 9},   // and goes above the server's root
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Resolve(c.link, c.lank), LinkNotTaken) << c.link;
        EXPECT_EQ(kind, NotFollowed) << c.link;
        EXPECT_FALSE(why.empty()) << c.link;
        EXPECT_TRUE(path.empty()) << c.link;
    }
    EXPECT_EQ(TreeOf(box.Path()), before);
}

TEST_F(ResolveTest, AFileInTheWayStopsTheLink) {
    Sandbox::WriteFile(box / "site/d/f", "x");
    EXPECT_EQ(Resolve("f/x.html", 0), LinkNotTaken);
    EXPECT_EQ(kind, NotFollowed);
}

TEST_F(ResolveTest, ArchiveCollectionPagesAreNotFollowed) {
    page = box / "collections/p.html";
    std::filesystem::create_directories(box / "collections");
    std::string link = "web/x.html";
    EXPECT_EQ(ResolveLink(page, "http://web.archive.org/collections/p.html", 0, 0, path, link, kind, outLevel),
              LinkNotTaken);
    link = "other/x.html";
    EXPECT_EQ(ResolveLink(page, "http://web.archive.org/collections/p.html", 0, 0, path, link, kind, outLevel),
              LinkTaken);
}

TEST(SafeLocalPath, PlainAndUnusualSpellingsNormaliseAlike) {
    using engine::IsInsideFolder;
    using engine::NormaliseLocalPath;
    for (const auto& [given, plain] : std::vector<std::pair<std::string, std::string>>{
             {"", ""}, {"/", "/"}, {"/a/b.html", "/a/b.html"}, {"a/b", "a/b"}, {"/a/b/", "/a/b"},
             {"//a//b", "/a/b"}, {"/a/./b/../c", "/a/c"}, {"../a", "../a"}, {"/../a", "/a"}, {"a/..", ""}})
        EXPECT_EQ(NormaliseLocalPath(given), plain) << given;
    EXPECT_TRUE(IsInsideFolder("/s/d/x.html", "/s/d/"));
    EXPECT_TRUE(IsInsideFolder("/s/d", "/s/d"));
    EXPECT_TRUE(IsInsideFolder("/s/d/e/../x.html", "/s/d"));
    EXPECT_FALSE(IsInsideFolder("/s/d/../x.html", "/s/d/"));
    EXPECT_FALSE(IsInsideFolder("/s/dx/y.html", "/s/d"));
    EXPECT_FALSE(IsInsideFolder("/s/d/y.html", ""));
    EXPECT_TRUE(IsInsideFolder("/x", "/"));
    EXPECT_FALSE(IsInsideFolder("x", "/"));
}
