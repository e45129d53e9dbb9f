#include <filesystem>
#include <functional>
#include <unistd.h>

#include "app/shell/Shell.h"
#include "app/shell/Xdg.h"
#include "platform/ProgramFolder.h"
#include "tests/app/shell/XdgSandbox.h"

namespace {

using appshell::AssociationErrorReport;
using testsupport::Sandbox;

const std::string kDetailHead = "--- [エラー詳細] ---\r\n";

class AssociationTest : public shelltest::XdgSandbox {
public:
    void SetUp() override {
        XdgSandbox::SetUp();
        // Blanks, "$" and "%" all need quoting in an Exec line.
        m_program = m_box / "prog dir $x %y";
        std::filesystem::create_directories(m_program);
        Sandbox::WriteFile(m_program + "/Sitrova", "");
    }
    int State(std::string* name = nullptr) { return appshell::QdxAssociationStateFor(m_program, name); }
    void WriteOtherViewer(const std::string& mimeType) {
        Sandbox::WriteFile(SysData("applications/other-viewer.desktop"),
                           "[Desktop Entry]\nType=Application\nName=OtherViewer\nExec=otherviewer %f\n");
        Sandbox::WriteFile(SysData("mime/packages/other.xml"),
                           "<?xml version=\"1.0\"?>\n<mime-info>\n  <mime-type type=\"" + mimeType +
                               "\">\n    <glob pattern=\"*.QDX\"/>\n  </mime-type>\n</mime-info>\n");
    }
    std::string m_program;
};

TEST_F(AssociationTest, FreshDesktopHasNoTypeForQdx) {
    std::string name = "stale";
    EXPECT_EQ(State(&name), appshell::AssocStateUnknown);
    EXPECT_EQ(name, "");
}

TEST_F(AssociationTest, RegisterWritesPackageEntryAndDefault) {
    ASSERT_EQ(appshell::RegisterQdxAssociation(m_program), appshell::AssocRegistered);
    EXPECT_EQ(State(), appshell::AssocStateOurs);

    const std::string package = Sandbox::ReadFile(Data("mime/packages/sitrova-qdx.xml"));
    EXPECT_NE(package.find("<mime-type type=\"application/x-sitrova-qdx\">"), std::string::npos);
    EXPECT_NE(package.find("<comment>Sitrova 更新チェックファイル</comment>"), std::string::npos);
    EXPECT_NE(package.find("<glob pattern=\"*.qdx\""), std::string::npos);

    const std::string entry = Sandbox::ReadFile(Data("applications/sitrova-qdx.desktop"));
    EXPECT_NE(entry.find("\nName=Sitrova\n"), std::string::npos);
    EXPECT_NE(entry.find("\nExec=\"" + m_box.Path() + "prog dir \\\\$x %%y/Sitrova\" %f\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nMimeType=application/x-sitrova-qdx;\n"), std::string::npos);
    EXPECT_NE(entry.find("\nNoDisplay=false\n"), std::string::npos);
    EXPECT_EQ(appshell::xdg::ExecArguments(appshell::xdg::KeyFileValue(entry, "Desktop Entry", "Exec")),
              std::vector<std::string>{m_program + "/Sitrova"});

    EXPECT_EQ(Sandbox::ReadFile(Config("mimeapps.list")),
              "[Default Applications]\napplication/x-sitrova-qdx=sitrova-qdx.desktop;\n");
}

TEST_F(AssociationTest, StateWithoutFolderMeansTheRunningProgram) {
    ASSERT_EQ(appshell::RegisterQdxAssociation(platform::ProgramFolder()), appshell::AssocRegistered);
    EXPECT_EQ(appshell::QdxAssociationState(), appshell::AssocStateOurs);
    EXPECT_EQ(State(), appshell::AssocStateOther);
}

// Another program holds .qdx: by another type claiming the glob, by another default for our
// type, or by a system-wide default; registering takes it over and keeps every other line.
TEST_F(AssociationTest, AnotherDefaultIsNamedAndRegisteringReplacesIt) {
    struct Case {
        const char* what;
        std::function<void(AssociationTest&)> arrange;
        std::string userListBefore;
        std::string userListAfter;
    };
    const std::string added = "[Added Associations]\r\ntext/plain=gedit.desktop;\r\n\r\n";
    const Case cases[] = {
        {"other type claims *.qdx", [](AssociationTest& t) { t.WriteOtherViewer("application/x-other-qdx"); },
         added + "[Default Applications]\r\napplication/x-other-qdx=other-viewer.desktop;\r\ntext/html=firefox.desktop;\r\n",
         added + "[Default Applications]\r\napplication/x-other-qdx=other-viewer.desktop;\r\ntext/html=firefox.desktop;\r\n"
                 "application/x-sitrova-qdx=sitrova-qdx.desktop;\r\n"},
        {"our type, other default", [](AssociationTest& t) { t.WriteOtherViewer("application/x-sitrova-qdx"); },
         added + "[Default Applications]\r\napplication/x-sitrova-qdx=other-viewer.desktop;\r\n\r\n[Other]\r\nk=v\r\n",
         added + "[Default Applications]\r\napplication/x-sitrova-qdx=sitrova-qdx.desktop;\r\n\r\n[Other]\r\nk=v\r\n"},
        {"system default", [](AssociationTest& t) {
             t.WriteOtherViewer("application/x-sitrova-qdx");
             Sandbox::WriteFile(t.m_box / "sysconfig/mimeapps.list",
                                "[Default Applications]\napplication/x-sitrova-qdx=missing.desktop;other-viewer.desktop;\n");
         },
         "", "[Default Applications]\napplication/x-sitrova-qdx=sitrova-qdx.desktop;\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(m_box / "data");
        std::filesystem::remove_all(m_box / "sysdata");
        std::filesystem::remove_all(m_box / "config");
        std::filesystem::remove_all(m_box / "sysconfig");
        c.arrange(*this);
        if (!c.userListBefore.empty()) Sandbox::WriteFile(Config("mimeapps.list"), c.userListBefore);

        std::string name;
        EXPECT_EQ(State(&name), appshell::AssocStateOther);
        EXPECT_EQ(name, "OtherViewer");
        EXPECT_EQ(appshell::AssociationLabel(State(), name),
                  "Qdxファイル（*.qdx）は現在[OtherViewer]に関連付けられています。\r\n"
                  "これを解除して、このアプリケーションに関連付けることができます。");

        EXPECT_EQ(appshell::RegisterQdxAssociation(m_program), appshell::AssocRegistered);
        EXPECT_EQ(State(), appshell::AssocStateOurs);
        EXPECT_EQ(Sandbox::ReadFile(Config("mimeapps.list")), c.userListAfter);
    }
}

TEST_F(AssociationTest, EntryOfAnotherCopyNamesThatProgram) {
    ASSERT_EQ(appshell::RegisterQdxAssociation(m_box / "old"), appshell::AssocRegistered);
    std::string name;
    EXPECT_EQ(State(&name), appshell::AssocStateOther);
    EXPECT_EQ(name, m_box / "old/Sitrova");
}

// An installed package's launcher opens .qdx with the same program through a command on the
// PATH (a link to the program): that is ours, not another program.
TEST_F(AssociationTest, ThePackagesOwnLauncherCountsAsOurs) {
    Sandbox::WriteFile(SysData("mime/packages/sitrova-qdx.xml"),
                       "<?xml version=\"1.0\"?>\n<mime-info>\n  <mime-type type=\"application/x-sitrova-qdx\">\n"
                       "    <glob pattern=\"*.qdx\"/>\n  </mime-type>\n</mime-info>\n");
    Sandbox::WriteFile(SysData("applications/sitrova.desktop"),
                       "[Desktop Entry]\nType=Application\nName=Sitrova\nExec=sitrova %f\n");
    Sandbox::WriteFile(SysData("applications/mimeinfo.cache"), "[MIME Cache]\napplication/x-sitrova-qdx=sitrova.desktop;\n");
    std::filesystem::create_directories(m_box / "bin");
    ::chmod((m_program + "/Sitrova").c_str(), 0755);
    std::filesystem::create_symlink(m_program + "/Sitrova", m_box / "bin/sitrova");
    Set("PATH", m_box / "bin");
    EXPECT_EQ(State(), appshell::AssocStateOurs);

    std::filesystem::remove(m_box / "bin/sitrova");
    shelltest::WriteScript(m_box / "bin/sitrova", "");
    std::string name;
    EXPECT_EQ(State(&name), appshell::AssocStateOther);
    EXPECT_EQ(name, "Sitrova");
}

TEST_F(AssociationTest, SymlinkedListIsWrittenThroughTheLink) {
    Sandbox::WriteFile(m_box / "dotfiles/mimeapps.list", "[Default Applications]\ntext/html=firefox.desktop;\n");
    std::filesystem::create_directories(m_box / "config");
    std::filesystem::create_symlink(m_box / "dotfiles/mimeapps.list", Config("mimeapps.list"));
    ASSERT_EQ(appshell::RegisterQdxAssociation(m_program), appshell::AssocRegistered);
    EXPECT_TRUE(std::filesystem::is_symlink(Config("mimeapps.list")));
    EXPECT_EQ(Sandbox::ReadFile(m_box / "dotfiles/mimeapps.list"),
              "[Default Applications]\ntext/html=firefox.desktop;\napplication/x-sitrova-qdx=sitrova-qdx.desktop;\n");
}

TEST_F(AssociationTest, RemoveTakesOutOnlyOurs) {
    Sandbox::WriteFile(Config("mimeapps.list"), "[Default Applications]\ntext/html=firefox.desktop;\n");
    ASSERT_EQ(appshell::RegisterQdxAssociation(m_program), appshell::AssocRegistered);
    EXPECT_EQ(appshell::RemoveQdxAssociation(), appshell::AssocRemoved);
    EXPECT_EQ(State(), appshell::AssocStateUnknown);
    EXPECT_FALSE(Sandbox::Exists(Data("applications/sitrova-qdx.desktop")));
    EXPECT_FALSE(Sandbox::Exists(Data("mime/packages/sitrova-qdx.xml")));
    EXPECT_EQ(Sandbox::ReadFile(Config("mimeapps.list")), "[Default Applications]\ntext/html=firefox.desktop;\n");
    // Nothing left to remove is no failure.
    EXPECT_EQ(appshell::RemoveQdxAssociation(), appshell::AssocRemoved);
}

// Something standing where a file or folder must go makes one step fail, even for root.
void BlockWithFolder(const std::string& path) { Sandbox::WriteFile(path + "/keep", "x"); }

TEST_F(AssociationTest, FailedStepsSetTheirBitAndDetailLine) {
    struct Case {
        const char* what;
        bool registerFirst;
        std::function<void(AssociationTest&)> block;
        bool doRegister;
        int bit;
        const char* line;
        int stateBit;
    };
    const Case cases[] = {
        {"package folder", false, [](AssociationTest& t) { Sandbox::WriteFile(t.Data("mime/packages"), "x"); }, true,
         64, "(拡張子キーの作成に失敗)\r\n", 0},
        {"entry folder", false, [](AssociationTest& t) { Sandbox::WriteFile(t.Data("applications"), "x"); }, true,
         0x100, "(ファイルタイプキーの作成に失敗)\r\n", 0},
        {"entry file", false, [](AssociationTest& t) { BlockWithFolder(t.Data("applications/sitrova-qdx.desktop")); },
         true, 128, "(ファイルタイプキーの書き込みに失敗)\r\n", appshell::AssocStateNotWritable},
        {"default list", false, [](AssociationTest& t) { BlockWithFolder(t.Config("mimeapps.list")); }, true, 32,
         "(拡張子キー内容の書き込みに失敗)\r\n", appshell::AssocStateUnknown},
        {"remove default", true, [](AssociationTest& t) {
             std::filesystem::remove(t.Config("mimeapps.list"));
             BlockWithFolder(t.Config("mimeapps.list"));
         }, false, 0x400, "(拡張子キー内容の削除に失敗)\r\n", 0},
        {"remove entry", true, [](AssociationTest& t) {
             std::filesystem::remove(t.Data("applications/sitrova-qdx.desktop"));
             BlockWithFolder(t.Data("applications/sitrova-qdx.desktop"));
         }, false, 0x800, "(ファイルタイプキーの実行コマンド削除に失敗)\r\n", 0},
        {"remove package", true, [](AssociationTest& t) {
             std::filesystem::remove(t.Data("mime/packages/sitrova-qdx.xml"));
             BlockWithFolder(t.Data("mime/packages/sitrova-qdx.xml"));
         }, false, 0x4000, "(ファイルタイプキーの削除に失敗)\r\n", appshell::AssocStateNotWritable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(m_box / "data");
        std::filesystem::remove_all(m_box / "config");
        if (c.registerFirst) {
            ASSERT_EQ(appshell::RegisterQdxAssociation(m_program), appshell::AssocRegistered);
        }
        c.block(*this);
        const int result = c.doRegister ? appshell::RegisterQdxAssociation(m_program) : appshell::RemoveQdxAssociation();
        EXPECT_EQ(result, c.bit);
        const std::string report = AssociationErrorReport(result);
        EXPECT_NE(report.find(kDetailHead + c.line), std::string::npos) << report;
        if (c.stateBit) {
            EXPECT_TRUE(State() & c.stateBit) << State();
        }
        EXPECT_FALSE(State() & appshell::AssocStateOurs);
    }
}

TEST_F(AssociationTest, ReadOnlyFoldersFailTheirSteps) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    ASSERT_EQ(appshell::RegisterQdxAssociation(m_program), appshell::AssocRegistered);
    ::chmod(Data("applications").c_str(), 0555);
    EXPECT_EQ(State() & appshell::AssocStateNotWritable, appshell::AssocStateNotWritable);
    EXPECT_TRUE(appshell::RemoveQdxAssociation() & appshell::AssocEntryNotDeleted);
    ::chmod(Data("applications").c_str(), 0755);
}

TEST(AssociationTexts, LabelAndButtonFollowTheState) {
    struct Case {
        int state;
        const char* name;
        const char* label;
        const char* button;
    };
    const Case cases[] = {
        {1, "", "Qdxファイル（*.qdx）を、\r\nこのアプリケーションに関連付けることができます。", "関連付けを行う"},
        {2, "", "Qdxファイル（*.qdx）は別のアプリケーションに関連付けられています。\r\n"
                "これを解除して、このアプリケーションに関連付けることができます。", "関連付けを行う"},
        {2, "Viewer", "Qdxファイル（*.qdx）は現在[Viewer]に関連付けられています。\r\n"
                      "これを解除して、このアプリケーションに関連付けることができます。", "関連付けを行う"},
        {6, "Viewer", "Qdxファイル（*.qdx）を、\r\nこのアプリケーションに関連付けることができます。", "関連付けを行う"},
        {8, "", "Qdxファイル（*.qdx）は、\r\nこのアプリケーションに関連付けられています。", "*.qdx の関連付けを解除する"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(appshell::AssociationLabel(c.state, c.name), c.label) << c.state;
        EXPECT_EQ(appshell::AssociationButtonText(c.state), c.button) << c.state;
    }
}

TEST(AssociationTexts, ReportListsFailedStepsInBitOrder) {
    EXPECT_EQ(AssociationErrorReport(512), "");
    EXPECT_EQ(AssociationErrorReport(0x20000), "");
    EXPECT_EQ(AssociationErrorReport(0x100 | 32 | 0x2000),
              "拡張子登録／削除時になんらかのエラーが発生しました。\r\n\r\n"
              "※本ソフトを「管理者として実行」することで\r\n"
              "   解決する場合があります。\r\n"
              "　「管理者として実行」モードで、本ソフトを再起動しますか？\r\n"
              "   (起動時に、確認ダイアログが別途ポップアップします)\r\n\r\n"
              "--- [エラー詳細] ---\r\n"
              "(拡張子キー内容の書き込みに失敗)\r\n"
              "(ファイルタイプキーの作成に失敗)\r\n"
              "(ファイルタイプキーのExplorerコマンド削除に失敗)\r\n");
    const std::string all = AssociationErrorReport(0x1FDE0);
    EXPECT_NE(all.find("(ファイルタプキーにアクセスできない)\r\n(ファイルタイプキーのExplorerコマンド削除に失敗)\r\n"
                       "(ファイルタイプキーの削除に失敗)\r\n(拡張子キーのExplorer用の内容削除に失敗)\r\n"
                       "(拡張子キーの削除に失敗)\r\n"),
              std::string::npos);
}

}  // namespace
