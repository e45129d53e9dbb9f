// The input view driven offscreen through its controls: initial state, the check of the
// fields, the option boxes, and the menu commands that stay inside the window.
#include <QAction>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>

#include <QElapsedTimer>
#include "app/StartUp.h"
#include "tests/support/LoopbackServer.h"
#include "app/qt/AnalysisPanel.h"
#include "app/qt/CpuPopup.h"
#include "app/qt/dialogs/DialogOpener.h"
#include "app/qt/MainMenu.h"
#include "records/Settings.h"
#include "tests/app/qt/InputViewFixture.h"
#include "tests/support/LoopbackServer.h"

using namespace engine::mode;
using inputtest::InputViewTest;
using testsupport::Sandbox;
using appqt::FindCommand;

TEST_F(InputViewTest, FreshWindowProposesTheWorkingFolderAndDefaultOptions) {
    Open();
    EXPECT_EQ(Text(514), "");
    EXPECT_EQ(Text(516), app::CurrentFolder() + (app::CurrentFolder() == "/" ? "" : "/") + "新規ページ.html");
    EXPECT_EQ(Text(525), "0");
    EXPECT_TRUE(Checked(529));   // data folder
    EXPECT_TRUE(Checked(530));   // record file
    EXPECT_TRUE(Checked(532));   // no other domains
    EXPECT_FALSE(Checked(526));
    EXPECT_EQ(Control<QPushButton>(536)->text(), QStringLiteral("最大"));
    EXPECT_FALSE(Control(523)->isVisible());
    EXPECT_EQ(Control<QPushButton>(520)->text(), QStringLiteral("ダウンロード"));
}

TEST_F(InputViewTest, CheckBoxesStartFromTheSavedDefaults) {
    const struct {
        uint32_t defMode;
        bool dataFolder, updateLog;
        int radio;
    } cases[] = {
        {0x0, false, false, 532},
        {0x100 | 0x10, true, false, 533},
        {0x200 | 0x20, false, true, 534},
        {0x11C301, true, true, 532},
    };
    for (const auto& c : cases) {
        WriteSettings("[BasicOption]\r\nDefMode=" + std::to_string(c.defMode) + "\r\n");
        NewJob();
        Open();
        EXPECT_EQ(Checked(529), c.dataFolder) << c.defMode;
        EXPECT_EQ(Checked(530), c.updateLog) << c.defMode;
        EXPECT_TRUE(Checked(c.radio)) << c.defMode;
    }
}

TEST_F(InputViewTest, PresetUrlFillsBothFields) {
    NewJob(ModePresetUrl);
    job->SetStartUrl("http://h/d/page.html");
    Open();
    EXPECT_EQ(Text(514), "http://h/d/page.html");
    EXPECT_EQ(Text(516).substr(Text(516).rfind('/')), "/page.html");

    NewJob(ModePresetUrl);
    job->SetStartUrl("http://h/d/page.html");
    job->SetSaveTarget(box / "keep/site.html");
    Open();
    EXPECT_EQ(Text(516), box / "keep/site.html");
}

TEST_F(InputViewTest, EachBadFieldGetsItsMessageAndNoSaveStarts) {
    const std::string ok = box / "site.html";
    const struct {
        std::string url, limit, save, message;
    } cases[] = {
        {"ftp://h/a.html", "0", ok, "URLが正しくありません。"},
        {"http://h/aux/a.html", "0", ok, "指定されたURLからは保存できません（予約デバイス名が含まれています）。"},
        {"http://h/a/index.html", "2", ok, "上位階層の指定が不正です。"},
        {"http://h/index.html", "0", "site.html", "保存先が正しくありません。"},
        {"http://h/index.html", "0", box.Path(), "保存ファイル名が指定されていません。"},
        {"http://h/index.html", "0", box / "a:b.html", "保存名に使用できない文字が含まれています。"},
    };
    for (const auto& c : cases) {
        NewJob();
        Open();
        shown.clear();
        Type(514, c.url);
        Click(522);
        Type(525, c.limit);
        Type(516, c.save);
        Click(520);
        ASSERT_EQ(shown.size(), 1u) << c.url;
        EXPECT_EQ(shown[0].caption, "エラー");
        EXPECT_EQ(shown[0].text, c.message);
        EXPECT_EQ(shown[0].icon, platformqt::IconError);
        EXPECT_EQ(window->Progress(), nullptr);
        EXPECT_EQ(Text(516), c.save);  // the fields stay as they were
    }
}

TEST_F(InputViewTest, UrlIsPercentEncodedInTheFieldEvenWhenTheCheckFails) {
    Open();
    Type(514, "http://h/a b.html");
    Click(522);
    Type(525, "3");
    Click(520);
    EXPECT_EQ(Text(514), "http://h/a%20b.html");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "上位階層の指定が不正です。");
}

TEST_F(InputViewTest, MissingFolderIsAskedForAndNotMadeOnNo) {
    Open();
    Type(514, "http://127.0.0.1:9/index.html");
    Type(516, box / "new/site.html");
    Click(520);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].question);
    EXPECT_EQ(shown[0].text, "指定されたフォルダは存在しません。\r\n作成しますか？");
    EXPECT_FALSE(Sandbox::Exists(box / "new"));
    EXPECT_EQ(window->Progress(), nullptr);
}

TEST_F(InputViewTest, FileUrlTurnsTheWindowIntoTheFileSave) {
    Sandbox served;
    const std::string zip = std::string("PK\x03\x04", 4) + std::string(2000, 'z');
    Sandbox::WriteFile(served / "archive.zip", zip);
    testsupport::LoopbackServer server(served.Path());
    Open();
    Type(514, server.BaseUrl() + "/archive.zip");
    Type(516, box / "archive.zip");
    Click(520);
    EXPECT_EQ(window->Progress(), nullptr);
    ASSERT_NE(window->FileSave(), nullptr);
    QElapsedTimer clock;
    clock.start();
    while (shown.empty() && clock.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(Sandbox::ReadFile(box / "archive.zip"), zip);
    // No "archive1.zip" follows: the save ends with its question about the folder.
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text.rfind("ダウンロードが終了しました。", 0), 0u);
}

TEST_F(InputViewTest, MissingFileOffersTheUrlEntryAgain) {
    Sandbox served;
    testsupport::LoopbackServer server(served.Path());
    answer = [](const inputtest::Shown& shown) {
        return shown.text.rfind("URLが正しくありません。", 0) == 0 ? static_cast<int>(platformqt::AnswerRetry)
                                                               : static_cast<int>(platformqt::AnswerOk);
    };
    Open();
    const std::string url = server.BaseUrl() + "/missing.zip";
    Type(514, url);
    Type(516, box / "missing.zip");
    Click(520);
    ASSERT_NE(window->FileSave(), nullptr);
    QElapsedTimer clock;
    clock.start();
    while (!window->Input() && clock.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_NE(window->Input(), nullptr);
    EXPECT_EQ(Control<QLineEdit>(514)->text().toStdString(), url);
    EXPECT_FALSE(Sandbox::Exists(box / "missing.zip"));
    EXPECT_TRUE(app::CatalogueArguments(*job).empty());
}

TEST_F(InputViewTest, AgentNeedsForcedConversion) {
    Open();
    Click(522);
    EXPECT_EQ(Control<QPushButton>(522)->text(), QStringLiteral("≪オプション"));
    EXPECT_TRUE(Control(528)->isVisible());
    Control<QCheckBox>(528)->click();
    EXPECT_TRUE(Checked(528));
    EXPECT_TRUE(Checked(526));
    Control<QCheckBox>(526)->click();
    EXPECT_FALSE(Checked(526));
    EXPECT_FALSE(Checked(528));
    // Forced conversion alone keeps the agent box as it is.
    Control<QCheckBox>(526)->click();
    EXPECT_TRUE(Checked(526));
    EXPECT_FALSE(Checked(528));
    Click(522);
    EXPECT_EQ(Control<QPushButton>(522)->text(), QStringLiteral("オプション≫"));
    EXPECT_FALSE(Control(528)->isVisible());
}

TEST_F(InputViewTest, CpuButtonShowsTheChosenLevel) {
    Open();
    Click(522);
    popupLevel = 80;
    Click(536);
    EXPECT_EQ(job->CpuSleepMs(), 3u);
    EXPECT_EQ(Control<QPushButton>(536)->text(), QStringLiteral("最適"));
    popupLevel = 10;
    FindCommand(window->menuBar(), 11)->trigger();
    EXPECT_EQ(job->CpuSleepMs(), 999u);
    EXPECT_EQ(Control<QPushButton>(536)->text(), QStringLiteral("最小"));
}

TEST_F(InputViewTest, CpuPopupLevelsFollowTheirButtons) {
    appqt::CpuPopup popup(nullptr, 100);
    EXPECT_EQ(popup.Level(), 100);
    for (QRadioButton* radio : popup.findChildren<QRadioButton*>()) {
        if (radio->text() == QStringLiteral("最適")) radio->click();
    }
    EXPECT_EQ(popup.Level(), 80);
    popup.findChild<QPushButton*>(QStringLiteral("decide"))->click();
    EXPECT_EQ(popup.result(), QDialog::Accepted);
}

TEST_F(InputViewTest, ClearingTheHistoryAsksFirst) {
    ASSERT_TRUE(platform::CreateFolder(box / "d"));
    WriteSettings("[SpeedSelectPath]\r\nLatelyDir1=" + (box / "d/a.html") + "\r\n");
    Open();
    EXPECT_EQ(Control<QComboBox>(516)->count(), 1);
    EXPECT_EQ(Text(516), box / "d/新規ページ.html");
    FindCommand(window->menuBar(), 12)->trigger();  // No, the default
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "保存先の履歴を全て消去しますか？");
    EXPECT_EQ(records::ReadSaveHistory(job->IniPath()).size(), 1u);
    answer = [](const inputtest::Shown&) { return platformqt::AnswerYes; };
    FindCommand(window->menuBar(), 12)->trigger();
    EXPECT_TRUE(records::ReadSaveHistory(job->IniPath()).empty());
    EXPECT_EQ(Control<QComboBox>(516)->count(), 0);
    EXPECT_EQ(Text(516), box / "d/新規ページ.html");
}

TEST_F(InputViewTest, ChangedSiteSettingsOfferARestartWithTheFields) {
    Open();
    Type(514, "http://h/p.html");
    Type(516, box / "p.html");
    dialogResult = 1;
    answer = [](const inputtest::Shown& s) {
        return s.caption == "設定が変更されました" ? platformqt::AnswerYes : platformqt::AnswerNo;
    };
    FindCommand(window->menuBar(), 13)->trigger();
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[0].what, "InitializeSiteDL");
    EXPECT_EQ(shown.at(0).text, "変更された設定は、Sitrovaを再起動後に有効になります。\r\n今すぐ再起動しますか？");
    EXPECT_EQ(started[1].what, programFolder + "/Sitrova");
    EXPECT_EQ(started[1].args, std::vector<std::string>{"PresetUrl,\"http://h/p.html\",\"" + (box / "p.html") + "\""});
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(job->Has(ModeMainClosed));
}

TEST_F(InputViewTest, UnchangedSettingsAndOtherDialogsDoNotRestart) {
    Open();
    dialogResult = 0;
    FindCommand(window->menuBar(), 13)->trigger();
    dialogResult = 1;
    for (int id : {14, 25, 15}) FindCommand(window->menuBar(), id)->trigger();
    EXPECT_TRUE(shown.empty());
    ASSERT_EQ(started.size(), 4u);
    EXPECT_EQ(started[1].what, "InitializeSrsFile");
    EXPECT_EQ(started[2].what, "InitializeExtReg");
    EXPECT_EQ(started[3].what, "InitializeOther");
    EXPECT_TRUE(window->isVisible());
}

TEST_F(InputViewTest, PageAnalysisRefusesFilesThroughItsDialog) {
    Open();
    Click(517);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "URLが設定されていません。");
    Type(514, "http://h/photo.jpg");
    Type(516, box / "photo.jpg");
    Click(517);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].what, "AnalysisLit");
    EXPECT_EQ(started[0].args[1], "http://h/photo.jpg");
    // The dialog's steps reach the fields as they are, without a dropped URL's completions.
    EXPECT_EQ(lastArgs.fields.savePath(), box / "photo.jpg");
    lastArgs.fields.setUrl("http://v/videoplayback?id=1");
    lastArgs.fields.setSavePath(box / "x.flv");
    EXPECT_EQ(Text(514), "http://v/videoplayback?id=1");
    EXPECT_EQ(Text(516), box / "x.flv");
}

TEST_F(InputViewTest, SaveDialogProposesTheNameOfTheUrl) {
    Open();
    Type(514, "http://h/dir/page.htm");
    Type(516, box / "x/old.html");
    chosenSave = box / "chosen.html";
    Click(518);
    EXPECT_EQ(proposedSave, box / "x/page.htm");
    EXPECT_EQ(Text(516), box / "chosen.html");
}

TEST_F(InputViewTest, SchedulerTakesOverTheWindow) {
    Open();
    FindCommand(window->menuBar(), 21)->trigger();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].what, std::to_string(static_cast<int>(appshell::Companion::QdXScheduler)));
    EXPECT_FALSE(window->isVisible());
}

TEST_F(InputViewTest, SavedSiteWindowTakesItsStoredSizeAndStoresItOnClose) {
    WriteSettings("[QdxWindowSize]\r\nWidth=500\r\nHeight=620\r\n");
    NewJob(ModeUpdateCheck);
    job->SetQdxPath(box / "site.qdx");
    Open(ModeUpdateCheck);
    EXPECT_EQ(window->size(), QSize(500, 620));
    window->resize(300, 700);
    window->close();
    const records::QdxWindowSize stored = records::ReadQdxWindowSize(job->IniPath());
    EXPECT_EQ(stored.width, 360u);  // raised to the least size
    EXPECT_EQ(stored.height, 700u);
    EXPECT_TRUE(job->Has(ModeUpdateClosed));
}

TEST_F(InputViewTest, PageAnalysisShowsItsSummaryAndItsAdviceFillsTheOptions) {
    testsupport::Sandbox site;
    Sandbox::WriteFile(site / "a/b/index.html",
                       "<html><body><a href=\"../../top.html\">up</a><a href=\"/a/b/x.html\">x</a>"
                       "<img src=\"big.png\"></body></html>");
    Sandbox::WriteFile(site / "top.html", "<html><head><title>top</title></head></html>");
    std::string png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x40\0\0\0\x40", 24);
    Sandbox::WriteFile(site / "a/b/big.png", png + std::string(16, '\0'));
    testsupport::LoopbackServer server(site.Path());
    ASSERT_TRUE(server.Running());
    Open();
    appqt::DialogArgs details;
    window->Hooks().openDialog = [&](const std::string& name, QWidget*, engine::SaveJob&, const appqt::DialogArgs& args) {
        started.push_back({name, {}});
        details = args;
        return 0;
    };
    const std::string url = server.BaseUrl() + "/a/b/index.html";
    Type(514, url);
    Click(517);
    appqt::AnalysisPanel* panel = window->Input()->Analysis();
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(RunUntil([&] { return panel->Finished(); }, 30000));
    const QString summary = panel->findChild<QPlainTextEdit*>(QStringLiteral("analysisText"))->toPlainText();
    EXPECT_TRUE(summary.startsWith(platformqt::ToQ(url + "\n□解析終了。\n\n\n◆要Alias補正オプション。\n■最大上位階層：2\n")))
        << platformqt::FromQ(summary);
    panel->findChild<QPushButton*>(QStringLiteral("ctl539"))->click();
    ASSERT_EQ(started.back().what, "AnalysisStd");
    EXPECT_NE(details.message.find("/top.html　－　[top]"), std::string::npos) << details.message;
    EXPECT_EQ(details.advice, "上記に示されたオプションの指定を推奨します。\r\n"
                              "サイトの全てを保存するには、上位階層の上限値に 2 を指定してください。\r\n");
    ASSERT_EQ(details.objectUrls, (std::vector<std::string>{"[ 絵 ]" + server.BaseUrl() + "/a/b/big.png"}));

    std::unique_ptr<QDialog> d(appqt::CreateDialogByName("AnalysisStd", window.get(), *job, details));
    d->findChild<QPushButton*>(QStringLiteral("recommend"))->click();
    EXPECT_TRUE(Checked(527));
    EXPECT_EQ(Text(525), "2");
    d->findChild<QPushButton*>(QStringLiteral("setUrl"))->click();
    EXPECT_EQ(Text(514), server.BaseUrl() + "/a/b/big.png");
}
