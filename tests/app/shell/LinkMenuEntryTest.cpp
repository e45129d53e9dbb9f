#include <filesystem>

#include "app/shell/Shell.h"
#include "app/shell/Xdg.h"
#include "platform/ByteString.h"
#include "platform/Process.h"
#include "tests/app/shell/XdgSandbox.h"

namespace {

using testsupport::Sandbox;

class LinkMenuEntryTest : public shelltest::XdgSandbox {
protected:
    void SetUp() override {
        XdgSandbox::SetUp();
        m_program = m_box / "it's prog";
        m_args = m_box / "args.txt";
        // A stand-in Sitrova that writes down the arguments it got.
        shelltest::WriteScript(m_program + "/Sitrova", "printf '%s\\n' \"$#\" \"$@\" > '" + m_args + "'\n");
    }
    std::string Entry() const { return Data("applications/sitrova-save-link.desktop"); }
    std::string Script() const { return Data("applications/sitrova-save-link.sh"); }
    std::string m_program;
    std::string m_args;
};

TEST_F(LinkMenuEntryTest, RegisteredEntryHandsTheLinkToSitrova) {
    EXPECT_FALSE(appshell::LinkMenuEntryRegistered());
    ASSERT_EQ(appshell::RegisterLinkMenuEntry(m_program), 1);
    EXPECT_TRUE(appshell::LinkMenuEntryRegistered());

    const std::string entry = Sandbox::ReadFile(Entry());
    EXPECT_EQ(appshell::xdg::KeyFileValue(entry, "Desktop Entry", "Name"), "Sitrova で保存する");
    EXPECT_EQ(entry.find("MimeType"), std::string::npos) << "must not take links away from the browser";
    const std::vector<std::string> exec =
        appshell::xdg::ExecArguments(appshell::xdg::KeyFileValue(entry, "Desktop Entry", "Exec"));
    ASSERT_EQ(exec, (std::vector<std::string>{"sh", Script()}));
    EXPECT_NE(appshell::xdg::KeyFileValue(entry, "Desktop Entry", "Exec").find(" %u"), std::string::npos);

    // Run the entry's command as a launcher would, with the link in place of %u.
    struct Case {
        std::string link;
        std::string argument;
    };
    const Case cases[] = {
        {"https://example.com/a b/?q=1&r=$HOME", "PresetUrl,\"https://example.com/a b/?q=1&r=$HOME\",\"\""},
        {"http://example.com/x\"y`z`", "PresetUrl,\"http://example.com/x%22y`z`\",\"\""},
        {"", "PresetUrl,\"\",\"\""},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(m_args);
        int exitCode = -1;
        ASSERT_EQ(platform::StartProcess("timeout", {"10", exec[0], exec[1], c.link}, true, &exitCode), 1);
        EXPECT_EQ(exitCode, 0);
        EXPECT_EQ(Sandbox::ReadFile(m_args), "1\n" + c.argument + "\n") << c.link;
    }
}

TEST_F(LinkMenuEntryTest, PageBesideTheProgramMatchesTheGoldenFile) {
    ASSERT_EQ(appshell::RegisterLinkMenuEntry(m_program), 1);
    std::string golden = Sandbox::ReadFile(std::string(SITROVA_TEST_DATA) + "/shell/IeContextMenu.html");
    ASSERT_FALSE(golden.empty());
    platform::ReplaceAll(golden, "/opt/sitrova", m_program);
    const std::string page = Sandbox::ReadFile(m_program + "/IeContextMenu.html");
    EXPECT_EQ(page, golden);
    size_t lines = 0;
    for (size_t p = page.find("\r\n"); p != std::string::npos; p = page.find("\r\n", p + 2)) ++lines;
    EXPECT_EQ(lines, 15u);
}

TEST_F(LinkMenuEntryTest, RemoveDeletesEntryScriptAndPage) {
    ASSERT_EQ(appshell::RegisterLinkMenuEntry(m_program), 1);
    EXPECT_EQ(appshell::RemoveLinkMenuEntry(m_program), 1);
    EXPECT_FALSE(appshell::LinkMenuEntryRegistered());
    EXPECT_FALSE(Sandbox::Exists(Entry()));
    EXPECT_FALSE(Sandbox::Exists(Script()));
    EXPECT_FALSE(Sandbox::Exists(m_program + "/IeContextMenu.html"));
    EXPECT_EQ(appshell::RemoveLinkMenuEntry(m_program), 1);

    ASSERT_EQ(appshell::RegisterLinkMenuEntry(m_program), 1);
    std::filesystem::remove(Entry());
    Sandbox::WriteFile(Entry() + "/keep", "x");  // a folder that cannot be deleted as a file
    EXPECT_EQ(appshell::RemoveLinkMenuEntry(m_program), 0);
}

TEST_F(LinkMenuEntryTest, EntryDoesNotNeedAWritableProgramFolder) {
    EXPECT_EQ(appshell::RegisterLinkMenuEntry(m_box / "no such folder"), 1);
    EXPECT_TRUE(appshell::LinkMenuEntryRegistered());
    std::filesystem::remove_all(m_box / "data");
    Sandbox::WriteFile(Data("applications"), "x");
    EXPECT_EQ(appshell::RegisterLinkMenuEntry(m_program), 0);
}

TEST(IeContextMenuPage, PathOutsideShiftJisIsAnError) {
    std::string bytes, error;
    EXPECT_EQ(appshell::IeContextMenuText("/opt/☃/Sitrova", bytes, &error), 0);
    EXPECT_NE(error.find("U+2603"), std::string::npos) << error;
    EXPECT_EQ(appshell::IeContextMenuText("/opt/日本/Sitrova", bytes, &error), 1);
}

}  // namespace
