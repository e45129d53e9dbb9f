// From the saved-site view to the update check in the same window, against a real save of
// a loopback site.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QAction>
#include <QLineEdit>
#include <QMainWindow>
#include <QThread>
#include <QTranslator>
#include <filesystem>
#include <map>
#include <memory>

#include "app/qt/MainWindow.h"
#include "engine/ModeFlags.h"
#include "engine/SaveHost.h"
#include "engine/SaveJob.h"
#include "engine/SaveManager.h"
#include "engine/qt/ProgressView.h"
#include "platform/FileUtil.h"
#include "platform/HttpClient.h"
#include "platform/UiLanguage.h"
#include "platform/qt/UiText.h"
#include "records/SaveRecords.h"
#include "records/qt/SavedSiteView.h"
#include "tests/records/qt/SavedSiteFiles.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/QtApp.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WindowTexts.h"

using namespace engine::mode;
using testsupport::Sandbox;

namespace {

class UpdateCheckViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { platform::HttpGlobalInit(); }
    void SetUp() override {
        testsupport::EnsureQApplication();
        Sandbox::WriteFile(site / "index.html", "<html><head><title>top</title></head><body>"
                                                "<a href=\"a.html\">a</a></body></html>");
        Sandbox::WriteFile(site / "a.html", "<html><head><title>a</title></head><body>a</body></html>");
        server = std::make_unique<testsupport::LoopbackServer>(site.Path());
        ASSERT_TRUE(server->Running());
        ASSERT_TRUE(platform::CreateFolder(program));
    }

    // The first save, as an interactive save with data folder and record leaves it.
    int FirstSave() { return FirstSave(out.Path()); }
    int FirstSave(const std::string& folder) {
        engine::SaveJob job;
        records::SaveRecords records;
        records.SetTempFolder(temp.Path());
        job.SetRecords(&records);
        job.SetModeBits(0x301);
        job.SetStartUrl(server->BaseUrl() + "/index.html");
        job.SetSaveTarget(folder + "site.html");
        EXPECT_EQ(engine::PrepareSaveStart(job), 1);
        engine::SilentHost host;
        const int result = engine::SaveWorker(host, job);
        records.FinishSavedSiteLog(job);
        job.SetRecords(nullptr);
        return result;
    }

    // Ticks the progress view until it reports; false when it does not within a minute.
    static bool WaitForReport(engineqt::ProgressView& progress) {
        QElapsedTimer timer;
        timer.start();
        while (!progress.ReportShown() && timer.elapsed() < 60000) {
            QThread::msleep(50);
            progress.Tick();
        }
        return progress.ReportShown();
    }

    Sandbox site, out, temp, settings;
    const std::string program = settings / "program";
    std::unique_ptr<testsupport::LoopbackServer> server;
};

}  // namespace

TEST_F(UpdateCheckViewTest, MainWindowRunsTheCheckChosenFromTheViewMenu) {
    ASSERT_EQ(FirstSave(), 1);
    engine::SaveJob job;
    records::SaveRecords records;
    records.SetTempFolder(temp.Path());
    job.SetRecords(&records);
    job.SetProgramFolder(program);
    job.SetQdxPath(out / "site.qdx");
    job.SetModeBits(ModeUpdateCheck);
    {
        appqt::MainWindow window(job, ModeUpdateCheck);
        window.show();
        auto* view = dynamic_cast<recordsqt::SavedSiteView*>(window.centralWidget());
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(window.windowTitle(), QStringLiteral("site.qdx - Sitrova"));
        EXPECT_EQ(recordsqttest::Control<QLineEdit>(view, 514)->text().toStdString(), server->BaseUrl() + "/index.html");
        EXPECT_EQ(recordsqttest::Control<QLineEdit>(view, 518)->text(), QStringLiteral("2"));
        QAction* check = view->FindCommand(recordsqt::SavedSiteView::CmdUpdateCheck);
        ASSERT_NE(check, nullptr);
        check->trigger();
        ASSERT_NE(window.Progress(), nullptr);
        EXPECT_EQ(window.centralWidget(), window.Progress());
        EXPECT_TRUE(job.UpdateCheck());
        ASSERT_TRUE(WaitForReport(*window.Progress()));
        EXPECT_EQ(job.Result(), 2);
        EXPECT_TRUE(window.Progress()->ReportText().endsWith(QStringLiteral("更新されたページは存在しません。")));
    }
    // The check's new log replaced the earlier one, and the program will show the view again.
    EXPECT_TRUE(platform::IsRegularFile(out / "site.files/SitrovSaveInfo.log"));
    EXPECT_FALSE(platform::FileExists(out / "site.files/SitrovSaveInfo.log.tmp"));
    EXPECT_FALSE(job.Has(ModeUpdateClosed));
    job.SetRecords(nullptr);
}

namespace {

// English windows for one scope: the language and the translations, both undone at its end
// so that the tests after it see the Japanese windows again.
class EnglishWindows {
public:
    EnglishWindows() {
        platform::SetUiLanguage(platform::UiLanguage::English);
        EXPECT_EQ(platformqt::InstallTranslations(SITROVA_BIN_DIR), 1);
    }
    ~EnglishWindows() {
        for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        platform::SetUiLanguage(platform::UiLanguage::Japanese);
    }
};

// Every file under `folder` by its relative path, with the folder's own path and every digit
// (dates, times, the run names of kept versions) masked: what is left is what the language
// could change. The history database is left out: it keeps times as binary numbers the mask
// cannot see, and no words.
std::map<std::string, std::string> MaskedTree(const std::string& folder) {
    const auto mask = [&folder](std::string text) {
        for (size_t at = text.find(folder); at != std::string::npos; at = text.find(folder, at))
            text.replace(at, folder.size(), "OUT/");
        for (char& c : text)
            if (c >= '0' && c <= '9') c = '#';
        return text;
    };
    std::map<std::string, std::string> tree;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().string().find(".sqlite") == std::string::npos)
            tree[mask(entry.path().string().substr(folder.size()))] = mask(Sandbox::ReadFile(entry.path().string()));
    return tree;
}

}  // namespace

// The same saved site checked once from Japanese windows and once from English ones, with a
// changed page and a missing one: the records the check leaves (logs, error log, record,
// kept versions, change report) are the same bytes, while the view speaks English.
TEST_F(UpdateCheckViewTest, CheckFromEnglishWindowsLeavesTheRecordsOfAJapaneseOne) {
    Sandbox outJa, outEn;
    const auto saveChangeAndCheck = [this](const std::string& folder, bool english) {
        Sandbox::WriteFile(site / "index.html", "<html><head><title>top</title></head><body>"
                                                "<a href=\"a.html\">a</a> <a href=\"b.html\">b</a></body></html>");
        Sandbox::WriteFile(site / "a.html", "<html><head><title>a</title></head><body>a</body></html>");
        Sandbox::WriteFile(site / "b.html", "<html><head><title>b</title></head><body>b</body></html>");
        EXPECT_EQ(FirstSave(folder), 1);
        Sandbox::WriteFile(site / "a.html", "<html><head><title>a</title></head><body>a, changed</body></html>");
        EXPECT_TRUE(platform::RemoveFile(site / "b.html"));

        std::unique_ptr<EnglishWindows> language;
        if (english) language = std::make_unique<EnglishWindows>();
        engine::SaveJob job;
        records::SaveRecords records;
        records.SetTempFolder(temp.Path());
        job.SetRecords(&records);
        job.SetProgramFolder(program);
        job.SetQdxPath(folder + "site.qdx");
        job.SetModeBits(ModeUpdateCheck);
        {
            appqt::MainWindow window(job, ModeUpdateCheck);
            window.show();
            auto* view = dynamic_cast<recordsqt::SavedSiteView*>(window.centralWidget());
            ASSERT_NE(view, nullptr);
            if (english) {
                for (const windowtexts::Text& text : windowtexts::Collect(&window))
                    EXPECT_FALSE(windowtexts::HasJapanese(text.text)) << text.text.toStdString();
            }
            QAction* check = view->FindCommand(recordsqt::SavedSiteView::CmdUpdateCheck);
            ASSERT_NE(check, nullptr);
            check->trigger();
            ASSERT_NE(window.Progress(), nullptr);
            ASSERT_TRUE(WaitForReport(*window.Progress()));
        }
        job.SetRecords(nullptr);
    };
    saveChangeAndCheck(outJa.Path(), false);
    saveChangeAndCheck(outEn.Path(), true);
    const auto japanese = MaskedTree(outJa.Path());
    const auto english = MaskedTree(outEn.Path());
    EXPECT_TRUE(japanese.contains("site.files/SitrovError.log"));
    EXPECT_EQ(english.size(), japanese.size());
    for (const auto& [path, bytes] : japanese) {
        const auto found = english.find(path);
        if (found == english.end()) {
            ADD_FAILURE() << "only the Japanese check left " << path;
        } else if (found->second != bytes) {
            ADD_FAILURE() << path << " differs:\n" << bytes << "\n--- English check:\n" << found->second;
        }
    }
}
