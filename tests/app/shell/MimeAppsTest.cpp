#include "app/shell/Xdg.h"
#include "tests/app/shell/XdgSandbox.h"

namespace {

namespace xdg = appshell::xdg;
using testsupport::Sandbox;

const std::string kType = "application/x-sitrova-qdx";
const std::string kOurs = "sitrova-qdx.desktop";

TEST(MimeAppsEdit, DefaultLineIsSetAndEveryOtherLineKept) {
    struct Case {
        const char* what;
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {"empty file", "", "[Default Applications]\n" + kType + "=" + kOurs + ";\n"},
        {"no group, no final line end", "[Added Associations]\ntext/plain=a.desktop;",
         "[Added Associations]\ntext/plain=a.desktop;\n\n[Default Applications]\n" + kType + "=" + kOurs + ";\n"},
        {"group without the key, before another group",
         "# mine\n[Default Applications]\ntext/html=b.desktop;\n\n[Added Associations]\nx/y=c.desktop;\n",
         "# mine\n[Default Applications]\ntext/html=b.desktop;\n" + kType + "=" + kOurs +
             ";\n\n[Added Associations]\nx/y=c.desktop;\n"},
        {"key replaced in place, CR LF kept",
         "[Default Applications]\r\n" + kType + " = other.desktop;\r\ntext/html=b.desktop;\r\n",
         "[Default Applications]\r\n" + kType + "=" + kOurs + ";\r\ntext/html=b.desktop;\r\n"},
        {"repeated key kept once", "[Default Applications]\n" + kType + "=a.desktop;\n" + kType + "=b.desktop;\n",
         "[Default Applications]\n" + kType + "=" + kOurs + ";\n"},
        {"same key in another group untouched", "[Added Associations]\n" + kType + "=a.desktop;\n[Default Applications]",
         "[Added Associations]\n" + kType + "=a.desktop;\n[Default Applications]\n" + kType + "=" + kOurs + ";\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(xdg::WithDefaultApplication(c.before, kType, kOurs), c.after) << c.what;
}

TEST(MimeAppsEdit, RemovalTakesOnlyOurId) {
    struct Case {
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {"[Default Applications]\n" + kType + "=" + kOurs + ";\ntext/html=b.desktop;\n",
         "[Default Applications]\ntext/html=b.desktop;\n"},
        {"[Default Applications]\r\n" + kType + "=a.desktop;" + kOurs + ";b.desktop\r\n",
         "[Default Applications]\r\n" + kType + "=a.desktop;b.desktop;\r\n"},
        {"[Added Associations]\n" + kType + "=" + kOurs + ";\n[Other]\n" + kType + "=" + kOurs + ";\n",
         "[Added Associations]\n[Other]\n" + kType + "=" + kOurs + ";\n"},
        {"[Default Applications]\n" + kType + "=other.desktop;\n", "[Default Applications]\n" + kType + "=other.desktop;\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(xdg::WithoutApplication(c.before, kType, kOurs), c.after) << c.before;
}

TEST(ExecLine, QuotedArgumentsReadBackUnchanged) {
    const std::string arguments[] = {"/opt/sitrova/Sitrova", "/a b/c", "/x\"y", "/back\\slash", "/$HOME/`x`",
                                     "/100%", "/日本語/プログラム", "/it's"};
    for (const std::string& argument : arguments) {
        std::string quoted;
        ASSERT_TRUE(xdg::QuoteExecArgument(argument, quoted)) << argument;
        EXPECT_EQ(xdg::ExecArguments(quoted + " %f"), std::vector<std::string>{argument}) << quoted;
    }
    std::string quoted;
    EXPECT_FALSE(xdg::QuoteExecArgument("/new\nline", quoted));
}

TEST(ExecLine, FieldCodesAndEscapesOfOtherWritersAreUnderstood) {
    EXPECT_EQ(xdg::ExecArguments("firefox %u"), std::vector<std::string>{"firefox"});
    EXPECT_EQ(xdg::ExecArguments("env A=1 \"/usr/bin/my browser\" --new %U"),
              (std::vector<std::string>{"env", "A=1", "/usr/bin/my browser", "--new"}));
    EXPECT_EQ(xdg::ExecArguments("\"/a\\\\\\\\b\" 50%%"), (std::vector<std::string>{"/a\\b", "50%"}));
}

TEST(KeyFile, ValuesAreReadFromTheirGroupOnly) {
    const std::string text = "[Desktop Action x]\nName=Wrong\n[Desktop Entry]\r\n# c\r\nName = Right \r\nName[ja]=ja\r\n";
    bool found = false;
    EXPECT_EQ(xdg::KeyFileValue(text, "Desktop Entry", "Name", &found), "Right");
    EXPECT_TRUE(found);
    EXPECT_EQ(xdg::KeyFileValue(text, "Desktop Entry", "Exec", &found), "");
    EXPECT_FALSE(found);
}

class DefaultLookup : public shelltest::XdgSandbox {
protected:
    void Install(const std::string& base, const std::string& rel) {
        Sandbox::WriteFile(base + "/applications/" + rel, "[Desktop Entry]\nName=" + rel + "\nExec=x\n");
    }
};

TEST_F(DefaultLookup, ListsAreReadInTheirOrder) {
    Install(SysData(""), "a.desktop");
    Install(Data(""), "b.desktop");
    Install(SysData(""), "vendor/c.desktop");
    Sandbox::WriteFile(m_box / "sysconfig/mimeapps.list", "[Default Applications]\ntext/html=a.desktop\n");
    EXPECT_EQ(xdg::DefaultDesktopFor(xdg::Dirs::FromEnvironment(), "text/html"), "a.desktop");

    Sandbox::WriteFile(Config("mimeapps.list"), "[Default Applications]\ntext/html=gone.desktop;b.desktop;\n");
    EXPECT_EQ(xdg::DefaultDesktopFor(xdg::Dirs::FromEnvironment(), "text/html"), "b.desktop");

    Set("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
    Sandbox::WriteFile(Config("gnome-mimeapps.list"), "[Default Applications]\ntext/html=vendor-c.desktop\n");
    const xdg::Dirs dirs = xdg::Dirs::FromEnvironment();
    EXPECT_EQ(xdg::DefaultDesktopFor(dirs, "text/html"), "vendor-c.desktop");
    EXPECT_EQ(xdg::FindDesktopFile(dirs, "vendor-c.desktop"), SysData("applications/vendor/c.desktop"));
}

TEST_F(DefaultLookup, DesktopCacheAnswersWhenNoListDoes) {
    Install(SysData(""), "a.desktop");
    Sandbox::WriteFile(SysData("applications/mimeinfo.cache"), "[MIME Cache]\ntext/html=missing.desktop;a.desktop;\n");
    EXPECT_EQ(xdg::DefaultDesktopFor(xdg::Dirs::FromEnvironment(), "text/html"), "a.desktop");
    EXPECT_EQ(xdg::DefaultDesktopFor(xdg::Dirs::FromEnvironment(), "text/plain"), "");
}

TEST_F(DefaultLookup, GlobsComeFromPackagesAndCompiledLists) {
    Sandbox::WriteFile(Data("mime/packages/a.xml"),
                       "<mime-info><mime-type type='x/one'><comment>c</comment><glob pattern='*.Qdx'/></mime-type>"
                       "<mime-type type=\"x/two\"><glob pattern=\"*.txt\"/></mime-type></mime-info>");
    Sandbox::WriteFile(SysData("mime/globs2"), "# comment\n50:x/three:*.qdx\n50:x/four:*.qdxx\n");
    Sandbox::WriteFile(SysData("mime/globs"), "x/five:*.qdx\n");
    EXPECT_EQ(xdg::MimeTypesForGlob(xdg::Dirs::FromEnvironment(), "*.qdx"),
              (std::vector<std::string>{"x/one", "x/three", "x/five"}));
}

TEST_F(DefaultLookup, RelativeBaseDirectoriesAreIgnored) {
    Set("XDG_DATA_HOME", "relative/data");
    Set("HOME", m_box / "home");
    Set("XDG_DATA_DIRS", "rel:" + (m_box / "one") + ":/usr/share/");
    const xdg::Dirs dirs = xdg::Dirs::FromEnvironment();
    EXPECT_EQ(dirs.dataHome, m_box / "home/.local/share");
    EXPECT_EQ(dirs.dataDirs, (std::vector<std::string>{m_box / "one", "/usr/share"}));
}

}  // namespace
