#include "app/shell/Shell.h"
#include "tests/app/shell/XdgSandbox.h"

namespace {

using testsupport::Sandbox;

class BrowserCandidatesTest : public shelltest::XdgSandbox {
protected:
    void SetUp() override {
        XdgSandbox::SetUp();
        m_bin = m_box / "bin";
        Set("PATH", m_bin + ":" + (m_box / "bin2"));
        shelltest::WriteScript(m_bin + "/firefox", "");
        shelltest::WriteScript(m_box / "bin2/chromium", "");
        shelltest::WriteScript(m_box / "bin2/firefox", "");                 // shadowed by the first folder
        Sandbox::WriteFile(m_bin + "/google-chrome", "");       // not executable: no browser
    }
    void SetHtmlHandler(const std::string& exec) {
        Sandbox::WriteFile(SysData("applications/browser.desktop"), "[Desktop Entry]\nName=B\nExec=" + exec + "\n");
        Sandbox::WriteFile(Config("mimeapps.list"), "[Default Applications]\ntext/html=browser.desktop\n");
    }
    std::string m_bin;
};

TEST_F(BrowserCandidatesTest, HandlerFirstThenPathBrowsersThenCurrent) {
    SetHtmlHandler("chromium %U");
    const std::string chromium = m_box / "bin2/chromium";
    const std::string firefox = m_bin + "/firefox";
    struct Case {
        std::string current;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"/opt/custom/browser", {chromium, firefox, "/opt/custom/browser"}},
        {"Auto", {chromium, firefox}},
        {"None", {chromium, firefox}},
        {"", {chromium, firefox}},
        {firefox, {chromium, firefox}},
    };
    for (const Case& c : cases) EXPECT_EQ(appshell::BrowserCandidates(c.current), c.expected) << c.current;
}

TEST_F(BrowserCandidatesTest, HandlerThatNeedsMoreThanAProgramIsReachedThroughXdgOpen) {
    struct Case {
        std::string exec;
        std::string first;
    };
    const Case cases[] = {
        {"env MOZ_X=1 firefox %u", m_bin + "/firefox"},
        {"/usr/lib/odd/browser %u", "/usr/lib/odd/browser"},
        {"flatpak run org.example.Browser %U", "xdg-open"},
        {"chromium --incognito %U", "xdg-open"},
    };
    for (const Case& c : cases) {
        SetHtmlHandler(c.exec);
        const std::vector<std::string> got = appshell::BrowserCandidates("None");
        ASSERT_FALSE(got.empty());
        EXPECT_EQ(got.front(), c.first) << c.exec;
    }
}

TEST_F(BrowserCandidatesTest, WithoutHandlerTheDesktopOpenerComesFirst) {
    EXPECT_EQ(appshell::BrowserCandidates("xdg-open"),
              (std::vector<std::string>{"xdg-open", m_bin + "/firefox", m_box / "bin2/chromium"}));
}

}  // namespace
