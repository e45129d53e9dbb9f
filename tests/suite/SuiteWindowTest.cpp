// The catalogue window driven through its controls, offscreen.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTranslator>
#include <QTreeWidget>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <unistd.h>

#include "platform/FileUtil.h"
#include "platform/InstanceBlock.h"
#include "platform/UiLanguage.h"
#include "platform/qt/QtText.h"
#include "records/HistoryIndex.h"
#include "suite/Registration.h"
#include "suite/qt/QdxListView.h"
#include "suite/qt/SavedFileView.h"
#include "suite/qt/SuiteWindow.h"
#include "tests/support/QtApp.h"
#include "tests/support/QtControls.h"
#include "tests/support/Sandbox.h"

using namespace suiteqt;
using testsupport::Sandbox;

namespace {

struct Opened {
    std::vector<std::string> lines;
};

SuiteHooks RecordingHooks(Opened& opened) {
    SuiteHooks hooks;
    hooks.startProgram = [&opened](const std::string& p, const std::vector<std::string>& a) {
        opened.lines.push_back("start " + p + (a.empty() ? "" : " " + a[0]));
        return 1;
    };
    hooks.openFile = [&opened](const std::string& t) { opened.lines.push_back("file " + t); return 1; };
    hooks.openUrl = [&opened](const std::string& u) { opened.lines.push_back("url " + u); return 1; };
    return hooks;
}

std::string Column(QTreeWidget* list, int row, int column) {
    QTreeWidgetItem* item = list->topLevelItem(row);
    return item ? platformqt::FromQ(item->text(column)) : std::string("<none>");
}

}  // namespace

TEST(SuiteWindow, LoadsSearchesOpensAndTakesHandOvers) {
    testsupport::EnsureQApplication();
    Sandbox box;
    const std::string path = box / suite::kCatalogueFileName;
    Sandbox::WriteFile(box / "news.qdx", "769\r\nEnd\r\n__[QdxExtraComment]\r\nnews and news\r\n__[KvMultiProfileSectionEnd]\r\n");
    Sandbox::WriteFile(box / "plain.qdx", "769\r\nEnd\r\n");
    Sandbox::WriteFile(box / "p.jpg", "not really a picture");
    for (const suite::Registration& r : std::vector<suite::Registration>{
             {"QDX", box / "plain.qdx", ""}, {"QDX", box / "news.qdx", ""}, {"QDX", box / "gone.qdx", ""},
             {"FILE", "http://h/p.jpg", box / "p.jpg"}})
        ASSERT_EQ(suite::RegisterInFile(path, r), 1);

    const std::string instance = "suite-window-test-" + std::to_string(::getpid());
    const std::string map = instance + "-map";
    platform::InstanceBlock block;
    ASSERT_EQ(block.CreateAndRegister(instance), platform::InstanceBlock::Registered);
    Opened opened;
    suite::Catalogue catalogue(path);
    auto window = std::make_unique<SuiteWindow>(box.Path(), catalogue, RecordingHooks(opened), map);
    window->show();
    ASSERT_TRUE(testsupport::RunUntil([&] { return window->Loaded(); }, 20000));
    EXPECT_FALSE(window->Progress()->isVisible());
    EXPECT_TRUE(window->SearchButton()->isEnabled());
    QTreeWidget* qdx = window->QdxView()->List();
    ASSERT_EQ(qdx->topLevelItemCount(), 2);  // the vanished record is gone

    window->SearchBox()->setEditText(QStringLiteral("NEWS"));
    window->SearchButton()->click();
    EXPECT_EQ(Column(qdx, 0, QdxListView::ColName), "news.qdx");
    EXPECT_EQ(Column(qdx, 0, QdxListView::ColScore), "7");  // 1 in the path, 2 x 3 in the comment
    EXPECT_EQ(window->SearchBox()->count(), 1);
    EXPECT_NE(platformqt::FromQ(window->QdxView()->Details()->toPlainText()).find("news and news"), std::string::npos);

    // Without Sitrova beside the catalogue the record opens by its file type.
    window->QdxView()->OpenInSitrova(box / "news.qdx");
    ASSERT_TRUE(testsupport::RunUntil([&] { return window->QdxView()->Opener().Idle(); }, 10000));
    ASSERT_EQ(opened.lines.size(), 1u);
    EXPECT_EQ(opened.lines[0], "file " + (box / "news.qdx"));

    // "Sitrova を起動" starts the program beside the catalogue, and only that one.
    window->StartSitrova();
    EXPECT_EQ(opened.lines.size(), 1u);  // none there: an error box instead
    Sandbox::WriteFile(box / "Sitrova", "");
    window->StartSitrova();
    ASSERT_EQ(opened.lines.size(), 2u);
    EXPECT_EQ(opened.lines[1], "start " + (box / "Sitrova"));

    // A second QdxSuite hands two registrations over while the window runs.
    Sandbox::WriteFile(box / "new.qdx", "769\r\nEnd\r\n");
    Sandbox::WriteFile(box / "q.jpg", "x");
    for (const suite::Registration& r : std::vector<suite::Registration>{
             {"QDX", box / "news.qdx", ""}, {"QDX", box / "new.qdx", ""}, {"FILE", "http://h/q.jpg", box / "q.jpg"}}) {
        auto sender = std::async(std::launch::async, [&] { return suite::SendHandOver(r, 10000, instance, map); });
        ASSERT_TRUE(testsupport::RunUntil(
            [&] { return sender.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 15000));
        EXPECT_EQ(sender.get(), suite::HandOverDone);
    }
    EXPECT_NE(Sandbox::ReadFile(path).find("new.qdx"), std::string::npos);  // written without waiting for the close
    ASSERT_EQ(qdx->topLevelItemCount(), 3);
    EXPECT_EQ(Column(qdx, 0, QdxListView::ColCount), "2");
    EXPECT_EQ(Column(qdx, 2, QdxListView::ColName), "new.qdx");
    EXPECT_EQ(window->FileView()->List()->topLevelItemCount(), 2);

    // Header clicks: the count sorts descending first, the file name ascending first.
    emit qdx->header()->sectionClicked(QdxListView::ColCount);
    EXPECT_EQ(Column(qdx, 0, QdxListView::ColCount), "2");
    emit qdx->header()->sectionClicked(QdxListView::ColCount);
    EXPECT_EQ(Column(qdx, 0, QdxListView::ColCount), "1");
    emit qdx->header()->sectionClicked(QdxListView::ColName);
    EXPECT_EQ(Column(qdx, 0, QdxListView::ColName), "new.qdx");

    window->close();
    window.reset();
    suite::Catalogue saved(path);
    EXPECT_EQ(saved.QdxEntries().size(), 3u);
    EXPECT_EQ(saved.OpenTimes(box / "news.qdx"), 2);
    EXPECT_TRUE(Sandbox::Exists(box / "QdxSuite.ini"));
}

// The desktop's opener is replaced by a script first on PATH that answers as told.
TEST(SuiteWindow, AFileTheDesktopCannotOpenIsReported) {
    testsupport::EnsureQApplication();
    Sandbox box;
    Sandbox::WriteFile(box / "p.xyz", "x");
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    struct Case {
        int status;
        const char* said;  // nullptr: nothing
    } cases[] = {{3, "[ファイルが開けません] 指定したファイルが関連付けられていませんでした。"},
                 {5, "[ファイルが開けません] OS がファイルへのアクセスを拒否しました。"},
                 {0, nullptr}};
    for (const Case& c : cases) {
        const std::string bin = box / ("bin" + std::to_string(c.status));
        Sandbox::WriteFile(bin + "/xdg-open", "#!/bin/sh\nexit " + std::to_string(c.status) + "\n");
        std::filesystem::permissions(bin + "/xdg-open", std::filesystem::perms::owner_all);
        setenv("PATH", (bin + ":" + path).c_str(), 1);
        SavedFileView view(DefaultSuiteHooks(box.Path()));
        testing::internal::CaptureStderr();
        view.OpenFile(box / "p.xyz");
        const bool answered = testsupport::RunUntil([&] { return view.Opener().Idle(); }, 10000);
        const std::string said = testing::internal::GetCapturedStderr();
        setenv("PATH", path.c_str(), 1);
        ASSERT_TRUE(answered) << c.status;
        if (c.said) EXPECT_NE(said.find(c.said), std::string::npos) << c.status << ": " << said;
        else EXPECT_EQ(said.find("ファイルが開けません"), std::string::npos) << said;
    }
}

TEST(SuiteWindow, ShowsTheLastUpdateOpensItsReportAndFindsTheSitesChangedLately) {
    testsupport::EnsureQApplication();
    Sandbox box;
    const std::string path = box / suite::kCatalogueFileName;
    const int64_t now = std::chrono::duration_cast<std::chrono::seconds>(
                            std::chrono::system_clock::now().time_since_epoch()).count();
    constexpr int64_t kDay = 24 * 60 * 60;
    // "updated.qdx": saved ten days ago, updated three days ago with one new and one changed
    // page. "saved.qdx": saved, never updated. "broken.qdx": its index is no database.
    for (const char* name : {"updated", "saved", "broken"}) {
        Sandbox::WriteFile(box / (std::string(name) + ".qdx"), "769\r\nEnd\r\n");
        ASSERT_EQ(suite::RegisterInFile(path, {"QDX", box / (std::string(name) + ".qdx"), ""}), 1);
    }
    const std::string updated = box / "updated.files/";
    for (const char* folder : {"updated.files/", "saved.files/"}) {
        records::HistoryIndex index;
        ASSERT_TRUE(platform::CreateFolder(box / folder));
        ASSERT_NE(index.Open(box / (std::string(folder) + records::kHistoryIndexName)), records::HistoryIndex::OpenFailed);
        index.EndRun(index.BeginRun("save", now - 10 * kDay), now - 10 * kDay, 1, "");
        if (folder != std::string("updated.files/")) continue;
        const int64_t run = index.BeginRun("update", now - 3 * kDay);
        records::HistoryEntry entry;
        entry.path = "a.html";
        entry.page = true;
        for (const char* status : {"new", "changed", "unchanged", "unchanged"}) {
            entry.url = "http://h/" + std::to_string(entry.lastSeen++) + ".html";
            entry.status = status;
            entry.lastRun = run;
            index.Put(entry);
        }
        index.EndRun(run, now - 3 * kDay, 4, "");
    }
    Sandbox::WriteFile(updated + "更新レポート_20261201-100000.html", "old");
    Sandbox::WriteFile(updated + "更新レポート_20261205-100000.html", "new");
    Sandbox::WriteFile(box / "broken.files/SitrovHistory.sqlite", "no database at all");
    const std::string indexBytes = Sandbox::ReadFile(updated + records::kHistoryIndexName);

    Opened opened;
    suite::Catalogue catalogue(path);
    SuiteWindow window(box.Path(), catalogue, RecordingHooks(opened), "suite-update-test-" + std::to_string(::getpid()));
    ASSERT_TRUE(testsupport::RunUntil([&] { return window.Loaded(); }, 20000));
    QTreeWidget* qdx = window.QdxView()->List();
    ASSERT_EQ(qdx->topLevelItemCount(), 3);
    qdx->sortItems(QdxListView::ColName, Qt::AscendingOrder);  // broken, saved, updated
    EXPECT_EQ(Column(qdx, 0, QdxListView::ColUpdate), "");
    EXPECT_EQ(Column(qdx, 1, QdxListView::ColUpdate), "");
    const std::string text = Column(qdx, 2, QdxListView::ColUpdate);
    EXPECT_NE(text.find(" 新1 変1 同2 消0 失0"), std::string::npos) << text;
    EXPECT_EQ(text.size(), std::string("2026/12/05").size() + std::string(" 新1 変1 同2 消0 失0").size()) << text;
    // Reading never writes: neither the sound index nor the broken one changes.
    EXPECT_EQ(Sandbox::ReadFile(updated + records::kHistoryIndexName), indexBytes);
    EXPECT_EQ(Sandbox::ReadFile(box / "broken.files/SitrovHistory.sqlite"), "no database at all");

    window.QdxView()->OpenChangeReport(box / "updated.qdx");
    ASSERT_TRUE(testsupport::RunUntil([&] { return window.QdxView()->Opener().Idle() && !opened.lines.empty(); }, 5000));
    EXPECT_EQ(opened.lines.back(), "file " + updated + "更新レポート_20261205-100000.html");

    EXPECT_EQ(window.ShowChangedWithin(7), 1);
    EXPECT_EQ(Column(qdx, 0, QdxListView::ColName), "updated.qdx");
    EXPECT_FALSE(qdx->topLevelItem(0)->isHidden());
    EXPECT_TRUE(qdx->topLevelItem(1)->isHidden());
    EXPECT_TRUE(qdx->topLevelItem(2)->isHidden());
    EXPECT_EQ(window.ShowChangedWithin(2), 0);
    // A search shows every site again.
    window.SearchBox()->setEditText(QStringLiteral("saved"));
    window.SearchButton()->click();
    for (int i = 0; i < qdx->topLevelItemCount(); ++i) EXPECT_FALSE(qdx->topLevelItem(i)->isHidden());
}

// In English the window speaks English, while the catalogue it writes is what the Japanese
// window writes, byte for byte.
TEST(SuiteWindowInEnglish, ShowsEnglishAndWritesTheCatalogueAsInJapanese) {
    testsupport::EnsureQApplication();
    Sandbox box;
    const std::string path = box / suite::kCatalogueFileName;
    Sandbox::WriteFile(box / "site.qdx", "769\r\nEnd\r\n");
    Sandbox::WriteFile(box / "p.jpg", "not really a picture");
    ASSERT_EQ(suite::RegisterInFile(path, {"QDX", box / "site.qdx", ""}), 1);
    const std::string before = Sandbox::ReadFile(path);
    QTranslator english;
    ASSERT_TRUE(english.load(QString::fromUtf8(SITROVA_BIN_DIR) + QStringLiteral("/sitrova_en.qm")));
    struct BackToJapanese {
        QTranslator& translator;
        ~BackToJapanese() {
            QCoreApplication::removeTranslator(&translator);
            platform::SetUiLanguage(platform::UiLanguage::Japanese);
        }
    } restore{english};

    struct Seen {
        std::vector<std::string> texts;
        std::string catalogue;
    };
    auto run = [&](platform::UiLanguage language) {
        platform::SetUiLanguage(language);
        if (language == platform::UiLanguage::English) QCoreApplication::installTranslator(&english);
        Sandbox::WriteFile(path, before);
        Seen seen;
        Opened opened;
        suite::Catalogue catalogue(path);
        {
            SuiteWindow window(box.Path(), catalogue, RecordingHooks(opened), "suite-english-test-" + std::to_string(::getpid()));
            if (!testsupport::RunUntil([&] { return window.Loaded(); }, 20000)) return seen;
            window.ApplyRegistration({"QDX", box / "site.qdx", ""});
            window.ApplyRegistration({"FILE", "http://h/p.jpg", box / "p.jpg"});
            QTreeWidget* qdx = window.QdxView()->List();
            qdx->setCurrentItem(qdx->topLevelItem(0));
            seen.texts = {platformqt::FromQ(window.Tabs()->tabText(0)), platformqt::FromQ(qdx->headerItem()->text(0)),
                          platformqt::FromQ(window.QdxView()->Details()->toPlainText())};
            window.close();
        }
        seen.catalogue = Sandbox::ReadFile(path);
        return seen;
    };
    const Seen japanese = run(platform::UiLanguage::Japanese);
    const Seen inEnglish = run(platform::UiLanguage::English);
    ASSERT_EQ(japanese.texts.size(), 3u);
    ASSERT_EQ(inEnglish.texts.size(), 3u);
    EXPECT_EQ(japanese.texts[0], "Qdxファイル");
    EXPECT_EQ(inEnglish.texts[0], "Qdx files");
    EXPECT_EQ(japanese.texts[1], "Qdxファイル名");
    EXPECT_EQ(inEnglish.texts[1], "Qdx file name");
    EXPECT_NE(japanese.texts[2].find("【コメントは登録されていません】"), std::string::npos) << japanese.texts[2];
    EXPECT_NE(inEnglish.texts[2].find("[No comment]"), std::string::npos) << inEnglish.texts[2];
    EXPECT_NE(japanese.catalogue, before);  // the second registration was counted
    EXPECT_EQ(inEnglish.catalogue, japanese.catalogue);
}
