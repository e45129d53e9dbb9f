// The saved-site view driven offscreen through its controls and menus.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <memory>

#include "platform/Clock.h"
#include "platform/FileUtil.h"
#include "records/QdxRecord.h"
#include "records/Settings.h"
#include "records/qt/RecordWindows.h"
#include "records/qt/SavedSiteView.h"
#include "tests/records/qt/SavedSiteFiles.h"
#include "tests/support/QtApp.h"

using namespace engine::mode;
using namespace recordsqttest;
using recordsqt::SavedSiteView;
using testsupport::Sandbox;

namespace {

struct Call {
    std::string what;
    std::vector<std::string> args;
    bool operator==(const Call&) const = default;
};

class SavedSiteViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::EnsureQApplication();
        ASSERT_TRUE(platform::CreateFolder(program));
    }
    void TearDown() override { window.reset(); }

    void Open(unsigned modeWord, int lankLimit = 0) {
        site = WriteSavedSite(box, modeWord, lankLimit);
        OpenWritten();
    }
    void OpenWritten() {
        PrepareJob(job, site, program);
        window = std::make_unique<QMainWindow>();
        window->menuBar()->addMenu(QStringLiteral("MainMenu"));
        view = static_cast<SavedSiteView*>(recordsqt::CreateSavedSiteView(window.get(), job, [this] { ++updateChecks; }));
        view->hooks.openInBrowser = [this](const std::string& t) { return Record("browser", {t}); };
        view->hooks.shellOpen = [this](const std::string& t) { return Record("shell", {t}); };
        view->hooks.startProgram = [this](const std::string& p, const std::vector<std::string>& a) {
            std::vector<std::string> args{p};
            args.insert(args.end(), a.begin(), a.end());
            return Record("start", args);
        };
        view->hooks.openDialog = [this](const std::string& name) { return Record("dialog", {name}); };
        view->hooks.openHelp = [this](recordsqt::HelpPage page, std::string*) {
            return Record("help", {page == recordsqt::HelpPage::QdxFiles ? "qdx" : "readme"});
        };
        window->show();
    }
    int Record(const std::string& what, std::vector<std::string> args) {
        calls.push_back({what, std::move(args)});
        return 1;
    }
    QString Text(int id) const {
        if (auto* line = Control<QLineEdit>(view, id)) return line->text();
        return Control<QPlainTextEdit>(view, id)->toPlainText();
    }
    bool Enabled(int id) const { return view->FindCommand(id) && view->FindCommand(id)->isEnabled(); }
    int LinkItems() const {
        int n = 0;
        for (int i = 0; i < 30; ++i) n += view->FindCommand(1000 + i) != nullptr;
        return n;
    }

    Sandbox box;
    const std::string program = box / "program";
    SavedSite site;
    engine::SaveJob job;
    std::unique_ptr<QMainWindow> window;
    SavedSiteView* view = nullptr;
    int updateChecks = 0;
    std::vector<Call> calls;
};

}  // namespace

TEST_F(SavedSiteViewTest, ShowsTheRecordAndLoadsTheJobFromItsLog) {
    site = WriteSavedSite(box, 0x301 | 0x80000 | 0x10, 2);
    records::SectionFile record;
    ASSERT_EQ(record.Load(site.qdxPath), 1);
    ASSERT_EQ(records::WriteComment(record, "一行目\n二行目"), 1);
    OpenWritten();

    EXPECT_EQ(window->windowTitle(), QStringLiteral("site.qdx - Sitrova"));
    EXPECT_EQ(Text(514), QStringLiteral("http://example.com/dir/index.html"));
    EXPECT_EQ(Text(516).toStdString(), platform::LocalDateTimeText(platform::LastWriteTime(site.logPath)));
    EXPECT_FALSE(Text(516).isEmpty());
    EXPECT_EQ(Text(518), QStringLiteral("3"));
    EXPECT_EQ(Text(520), QStringLiteral("上位階層の上限： 2\nデータフォルダ作成\n更新チェックファイル（Qdxファイル）作成\n"
                                        "外部パスの処理：有効\n"));
    EXPECT_EQ(Text(523), QStringLiteral("一行目\n二行目"));
    EXPECT_EQ(Control<QPushButton>(view, 532)->text(), QStringLiteral("閉じる"));
    for (int id : {512, 513, 515, 517, 519, 522}) EXPECT_NE(Control<QWidget>(view, id), nullptr) << id;

    // The saved options join the job (bit 0x80000 is none of them); the save target is the
    // page the user chose, here the shortcut page beside the data folder.
    EXPECT_EQ(job.ModeFlags(), ModeUpdateCheck | 0x311u);
    EXPECT_EQ(job.LankLimit(), 2);
    EXPECT_EQ(job.StartUrl(), "http://example.com/dir/index.html");
    EXPECT_EQ(job.StartPath(), box / "site.html");
}

TEST_F(SavedSiteViewTest, RecordThatCannotBeReadOffersNoCheck) {
    site = WriteSavedSite(box, 0x301);
    Sandbox::WriteFile(site.logPath + ".tmp", "");  // another process checks the site
    OpenWritten();
    EXPECT_TRUE(Text(514).isEmpty());
    for (int id : {16, 60, 61}) EXPECT_FALSE(Enabled(id)) << id;
    view->OnCommand(16);
    EXPECT_EQ(updateChecks, 0);
}

TEST_F(SavedSiteViewTest, MenusCarryTheirCaptionsAndCommands) {
    Open(0x301);
    // Each menu: its title, then "caption=id" per item, "-" for a separator.
    const std::vector<std::vector<std::string>> expected = {
        {"ファイル(&F)", "保存したファイルを開く(&O)=60", "コンプリートURLを開く(&P)=61", "-", "エラーログを開く(&E)=67",
         "更新レポートを開く(&R)=68", "-", "更新をチェックする(&I)=16", "-", "Sitrova の新規起動(&N)=24", "終了(&C)=19"},
        {"ツール(&T)", "コメントの編集(&C)=62", "バナー広告等削除を実行(&D)=18", "-", "Qdxファイルのフルパスをコピー(&P)=66"},
        {"リンク(&L)", "外部リンクファイル一覧を開く(&O)=65", "-", "関連ファイルの追加(&A)=63", "関連ファイルの削除(&D)=64"},
        {"ヘルプ(&H)", "What's Qdxファイル？(&C)=20", "Read me ファイル？(&R)=23", "-", "バージョン情報(&A)=10"},
    };
    std::vector<std::vector<std::string>> actual;
    // The window's own menu is set aside while the view shows.
    for (QAction* entry : window->menuBar()->actions()) {
        ASSERT_NE(entry->menu(), nullptr);
        std::vector<std::string> menu{entry->menu()->title().toStdString()};
        for (QAction* item : entry->menu()->actions())
            menu.push_back(item->isSeparator() ? "-" : item->text().toStdString() + "=" + std::to_string(item->data().toInt()));
        actual.push_back(menu);
    }
    EXPECT_EQ(actual, expected);
}

TEST_F(SavedSiteViewTest, GrayedItemsFollowTheRecordAndItsFiles) {
    struct Case {
        unsigned mode;
        int links;
        bool errorLog;
        bool errorLogOn, outDomainOn, addOn, deleteOn;
    };
    const Case cases[] = {
        {0x301, 0, false, false, false, true, false},
        {0x311, 1, true, true, true, true, true},
        {0x321, 23, false, false, true, true, true},
        {0x301, 24, true, true, false, false, true},
    };
    for (const Case& c : cases) {
        Sandbox other;
        site = WriteSavedSite(other, c.mode);
        AddLinks(site, c.links, "http://example.com/x");
        if (c.errorLog) Sandbox::WriteFile(other / "site.files/SitrovError.log", "x");
        engine::SaveJob fresh;
        PrepareJob(fresh, site, program);
        QMainWindow w;
        auto* v = static_cast<SavedSiteView*>(recordsqt::CreateSavedSiteView(&w, fresh, {}));
        EXPECT_EQ(v->FindCommand(67)->isEnabled(), c.errorLogOn) << c.links;
        EXPECT_EQ(v->FindCommand(65)->isEnabled(), c.outDomainOn) << c.links;
        EXPECT_EQ(v->FindCommand(63)->isEnabled(), c.addOn) << c.links;
        EXPECT_EQ(v->FindCommand(64)->isEnabled(), c.deleteOn) << c.links;
        int items = 0;
        for (int i = 0; i < 30; ++i) items += v->FindCommand(1000 + i) != nullptr;
        EXPECT_EQ(items, c.links);
        if (c.links > 0) {
            EXPECT_EQ(v->FindCommand(1000 + c.links - 1)->text().toStdString(), "link" + std::to_string(c.links - 1));
        }
    }
}

TEST_F(SavedSiteViewTest, CommandsReachOutThroughTheirOpeners) {
    Sandbox::WriteFile(box / "site.files/SitrovError.log", "x");
    Open(0x311);
    const std::string files = box / "site.files/";
    for (int id : {60, 61, 24, 10, 67, 20, 23, 18, 18}) view->OnCommand(id);  // 18 is grayed once started
    // The out-domain list: neither page nor folder, the folder, the page.
    view->OnCommand(65);
    ASSERT_TRUE(platform::CreateFolder(files + "外部パスリンク"));
    view->OnCommand(65);
    Sandbox::WriteFile(files + "外部パスリンク/_外部ドメインへのリンク一覧.html", "<html></html>");
    view->OnCommand(65);
    const std::vector<Call> expected = {
        {"browser", {box / "site.html"}},
        {"browser", {"http://example.com/dir/index.html"}},
        {"start", {program + "/Sitrova"}},
        {"dialog", {"VersionInfo"}},
        {"dialog", {"ErrorLogViewer"}},
        {"help", {"qdx"}},
        {"help", {"readme"}},
        {"start", {program + "/Sitrova", "advertisement,\"" + site.qdxPath + "\""}},
        {"shell", {files + "絶対パスリンク"}},
        {"shell", {files + "外部パスリンク"}},
        {"browser", {files + "外部パスリンク/_外部ドメインへのリンク一覧.html"}},
    };
    EXPECT_EQ(calls, expected);
    EXPECT_FALSE(Enabled(18));

    view->OnCommand(66);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), site.qdxPath);
}

TEST_F(SavedSiteViewTest, ClosingStoresTheSizeAndKeepsTheProgramFromReopening) {
    Open(0x301);
    EXPECT_EQ(window->size(), QSize(360, 480));  // no stored size yet
    window->resize(500, 620);
    QCoreApplication::processEvents();
    Control<QPushButton>(view, 532)->click();
    EXPECT_FALSE(window->isVisible());
    window.reset();
    const records::QdxWindowSize size = records::ReadQdxWindowSize(job.IniPath());
    EXPECT_EQ(size.width, 500u);
    EXPECT_EQ(size.height, 620u);
    EXPECT_TRUE(job.Has(ModeUpdateClosed));

    // The next view opens at the stored size; "終了" closes it through the event loop.
    engine::SaveJob again;
    PrepareJob(again, site, program);
    QMainWindow w;
    auto* v = static_cast<SavedSiteView*>(recordsqt::CreateSavedSiteView(&w, again, {}));
    w.show();
    EXPECT_EQ(w.size(), QSize(500, 620));
    v->OnCommand(19);
    EXPECT_TRUE(w.isVisible());
    QCoreApplication::processEvents();
    EXPECT_FALSE(w.isVisible());
}

TEST_F(SavedSiteViewTest, UpdateCheckHandsTheWindowBack) {
    Open(0x301);
    window->resize(420, 560);
    QCoreApplication::processEvents();
    view->OnCommand(16);
    EXPECT_EQ(updateChecks, 1);
    const records::QdxWindowSize size = records::ReadQdxWindowSize(job.IniPath());
    EXPECT_EQ(size.width, 420u);
    EXPECT_EQ(size.height, 560u);
    const QList<QAction*> bar = window->menuBar()->actions();
    ASSERT_EQ(bar.size(), 1);
    EXPECT_EQ(bar[0]->text(), QStringLiteral("MainMenu"));
    window.reset();
    // The program starts again on the record after the check.
    EXPECT_FALSE(job.Has(ModeUpdateClosed));
}

TEST_F(SavedSiteViewTest, CommentEditedFromTheViewIsShownAndStored) {
    Open(0x301);
    view->hooks.driveWindow = [](QDialog& window) {
        Control<QPlainTextEdit>(&window, QStringLiteral("commentEdit"))->setPlainText(QStringLiteral("新しい\nコメント"));
        Control<QPushButton>(&window, QStringLiteral("registerButton"))->click();
    };
    view->OnCommand(62);
    EXPECT_EQ(Text(523), QStringLiteral("新しい\nコメント"));
    std::string sjis;
    ASSERT_EQ(platform::Utf8ToCp932("__[QdxExtraComment]\r\n新しい\r\nコメント\r\n__[KvMultiProfileSectionEnd]", sjis),
              platform::CodepageOk);
    EXPECT_NE(Sandbox::ReadFile(site.qdxPath).find(sjis), std::string::npos);
}

TEST_F(SavedSiteViewTest, RelatedLinkIsAddedOpenedAndDeleted) {
    Open(0x301);
    const std::string target = box / "notes.txt";
    Sandbox::WriteFile(target, "notes");
    EXPECT_FALSE(Enabled(64));

    // The drivers fill the add window, run the link window's timed step at once, and tick
    // every link for deletion.
    view->hooks.driveWindow = [&target](QDialog& window) {
        Control<QLineEdit>(&window, 1013)->setText(QStringLiteral("メモ & 記録"));
        Control<QLineEdit>(&window, 1014)->setText(QString::fromStdString(target));
        Control<QPushButton>(&window, 1015)->click();
    };
    view->OnCommand(63);
    ASSERT_EQ(LinkItems(), 1);
    EXPECT_EQ(view->FindCommand(1000)->text(), QStringLiteral("メモ && 記録"));
    EXPECT_TRUE(Enabled(64));

    view->hooks.driveWindow = [](QDialog& window) {
        auto& action = dynamic_cast<recordsqt::LinkActionWindow&>(window);
        EXPECT_EQ(action.OpenTarget(), 1);
        Control<QPushButton>(&window, QStringLiteral("closeButton"))->click();
    };
    view->OnCommand(1000);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], (Call{"shell", {target}}));
    view->OnCommand(1001);  // no such link
    EXPECT_EQ(calls.size(), 1u);

    view->hooks.driveWindow = [](QDialog& window) {
        Control<QPushButton>(&window, QStringLiteral("checkAll"))->click();
        Control<QPushButton>(&window, QStringLiteral("deleteButton"))->click();
    };
    view->OnCommand(64);
    EXPECT_EQ(LinkItems(), 0);
    EXPECT_FALSE(Enabled(64));
    EXPECT_EQ(Sandbox::ReadFile(site.qdxPath).find("__[QdxLinkFile."), std::string::npos);
}

TEST_F(SavedSiteViewTest, TheNewestChangeReportOpensFromTheFileMenu) {
    Open(0x301);
    EXPECT_FALSE(Enabled(68));  // no update has written one yet
    Sandbox::WriteFile(box / "site.files/更新レポート_20261130-235959.html", "old");
    Sandbox::WriteFile(box / "site.files/更新レポート_20261208-091503.html", "new");
    OpenWritten();
    ASSERT_TRUE(Enabled(68));
    view->OnCommand(68);
    EXPECT_EQ(calls, (std::vector<Call>{{"shell", {box / "site.files/更新レポート_20261208-091503.html"}}}));
}
