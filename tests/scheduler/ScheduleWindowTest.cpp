// The scheduler's window driven through its controls, offscreen.
#include "scheduler/qt/ScheduleWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "platform/Codepage.h"
#include "platform/qt/QtText.h"
#include "platform/Version.h"
#include "scheduler/qt/JobDialog.h"
#include "tests/support/HeadlessRun.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/QtApp.h"
#include "tests/support/Sandbox.h"

using schedulerqt::JobDialog;
using schedulerqt::ScheduleWindow;
using testsupport::LoopbackServer;
using testsupport::Sandbox;
namespace fs = std::filesystem;

namespace {

struct Fixture {
    std::vector<std::string> messages;
    int answer = platformqt::AnswerNo;
    std::string clipboard;
    int cpuChoice = 0;
    std::unique_ptr<ScheduleWindow> window;

    explicit Fixture(const std::string& programFolder = SITROVA_BIN_DIR) {
        testsupport::EnsureQApplication();
        schedulerqt::SchedulerHooks hooks = schedulerqt::DefaultSchedulerHooks();
        hooks.message = [this](QWidget*, const std::string&, const std::string& text, platformqt::MessageButtons buttons,
                               int) {
            messages.push_back(text);
            return buttons == platformqt::ButtonsYesNo ? answer : platformqt::AnswerOk;
        };
        hooks.clipboardText = [this](std::string& text) {
            text = clipboard;
            return true;
        };
        hooks.cpuDialog = [this](QWidget*) { return cpuChoice; };
        window = std::make_unique<ScheduleWindow>(programFolder, "", hooks);
        window->show();
    }

    // Adds a job through the dialog: `fill` sets its controls, then OK (or Cancel) is
    // clicked; a dialog still open afterwards is cancelled.
    void Add(const std::function<void(JobDialog&)>& fill, bool ok = true) {
        window->onJobDialog = [fill, ok](JobDialog& dialog) {
            QTimer::singleShot(0, &dialog, [&dialog, fill, ok] {
                fill(dialog);
                (ok ? dialog.okButton() : dialog.cancelButton())->click();
                if (dialog.isVisible()) dialog.reject();
            });
        };
        window->addButton()->click();
    }

    std::string Cell(int row, int column) const {
        QTableWidgetItem* item = window->list()->item(row, column);
        return item ? platformqt::FromQ(item->text()) : std::string();
    }
};

void Fill(JobDialog& dialog, const std::string& url, const std::string& path) {
    dialog.urlEdit()->setText(platformqt::ToQ(url));
    dialog.pathEdit()->setText(platformqt::ToQ(path));
}

bool WaitFor(const std::function<bool()>& ready, int seconds) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!ready()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// Earliest and latest write times of the files a save left in `folder`.
std::pair<fs::file_time_type, fs::file_time_type> WriteSpan(const std::string& folder) {
    fs::file_time_type first = fs::file_time_type::max(), last = fs::file_time_type::min();
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        first = std::min(first, entry.last_write_time());
        last = std::max(last, entry.last_write_time());
    }
    return {first, last};
}

TEST(ScheduleWindow, ThreeSavesRunOneAfterAnotherAndTheSchedulerCloses) {
    Fixture f;
    Sandbox site, out;
    Sandbox::WriteFile(site / "index.html", "<html><head><title>demo</title></head><body><a href=\"a.html\">a</a></body></html>");
    Sandbox::WriteFile(site / "a.html", "<html><body>page a</body></html>");
    LoopbackServer server(site.Path(), R"({"/a.html": {"delay": 0.3}})");
    ASSERT_TRUE(server.Running());
    for (int i = 0; i < 3; ++i) {
        fs::create_directory(out / std::to_string(i));
        f.Add([&](JobDialog& d) {
            Fill(d, server.BaseUrl() + "/index.html", out / (std::to_string(i) + "/site"));
            d.check(JobDialog::DataFolder)->setChecked(false);
        });
    }
    ASSERT_EQ(f.window->JobCount(), 3);
    EXPECT_EQ(f.Cell(2, 0), "待機中");
    EXPECT_EQ(f.Cell(2, 1), "site.html");
    EXPECT_EQ(f.Cell(2, 2), server.BaseUrl() + "/index.html");
    EXPECT_EQ(f.window->list()->item(2, 0)->data(Qt::UserRole).toString().toStdString(), "QdXSchdIcon_Play_Qdx");

    f.window->runButton()->click();
    EXPECT_FALSE(f.window->runButton()->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return !f.window->isVisible(); }, 90));
    EXPECT_EQ(f.messages, std::vector<std::string>{"スケジュールは全て終了しました。"});
    EXPECT_EQ(f.Cell(0, 0), "実行済み");

    fs::file_time_type previousEnd = fs::file_time_type::min();
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const std::string folder = out / std::to_string(i);
        std::string description;
        ASSERT_EQ(platform::Cp932ToUtf8(Sandbox::ReadFile(folder + "/site-Description.log"), description),
                  platform::CodepageOk);
        EXPECT_NE(description.find("のコンプリート保存を終了しました。"), std::string::npos) << description;
        EXPECT_TRUE(Sandbox::Exists(folder + "/site.qdx"));
        bool linked = false;
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            linked |= entry.path().filename() == "a.html" && Sandbox::ReadFile(entry.path()) == "<html><body>page a</body></html>";
        EXPECT_TRUE(linked);
        // Each save began only after the one before it had written its last file.
        const auto [first, last] = WriteSpan(folder);
        EXPECT_GE(first, previousEnd);
        previousEnd = last;
    }
}

TEST(ScheduleWindow, DialogCouplingsValidationAndLevels) {
    Fixture f;
    Sandbox out;
    f.clipboard = "https://example.org/dir/page.html";
    std::string prefilledUrl, prefilledPath, cpuText;
    bool agentDropped = false, convertAdded = false, hiddenFirst = false;
    f.cpuChoice = 1024;
    f.Add([&](JobDialog& d) {
        prefilledUrl = platformqt::FromQ(d.urlEdit()->text());
        prefilledPath = platformqt::FromQ(d.pathEdit()->text());
        hiddenFirst = !d.check(JobDialog::UseAgent)->isVisibleTo(&d);
        d.optionsButton()->click();
        d.check(JobDialog::UseAgent)->click();  // agent brings forced conversion
        convertAdded = d.check(JobDialog::ForceConvert)->isChecked();
        d.check(JobDialog::ForceConvert)->click();  // and dropping it drops the agent
        agentDropped = !d.check(JobDialog::UseAgent)->isChecked();
        d.cpuButton()->click();
        cpuText = platformqt::FromQ(d.cpuLabel()->text());
        EXPECT_FALSE(d.outDomain(2)->isEnabled());
        d.outDomain(1)->click();
        d.upperLimitEdit()->setText("x2");  // digits only
        d.pathEdit()->setText(platformqt::ToQ(out / "none/site.html"));  // no such folder
        d.okButton()->click();
        EXPECT_TRUE(d.isVisible());
        d.pathEdit()->setText(platformqt::ToQ(out / "con.html"));
        d.okButton()->click();
        d.urlEdit()->setText("HTTP://example.org/");
        d.pathEdit()->setText(platformqt::ToQ(out / "ok"));
        d.okButton()->click();
        d.urlEdit()->setText("https://example.org/");
        d.upperLimitEdit()->setText("2");
        d.okButton()->click();
    });
    EXPECT_EQ(prefilledUrl, f.clipboard);
    EXPECT_EQ(prefilledPath.substr(prefilledPath.rfind('/')), "/page.html");
    EXPECT_TRUE(hiddenFirst && convertAdded && agentDropped);
    EXPECT_EQ(cpuText, "CPU占有率：最小");
    EXPECT_EQ(f.messages, (std::vector<std::string>{"保存パスが正しくありません。", "保存パスが正しくありません。",
                                                    "URLが正しくありません。"}));
    ASSERT_EQ(f.window->JobCount(), 1);
    EXPECT_EQ(f.window->Job(0).jobCommand, "SomeComplete,\"https://example.org/index.html#DefIndexNoName\",\"" +
                                               (out / "ok.html") + "\",\"" + std::to_string(0x1 | 0x10 | 0x100 | 0x200 | 0x4000 | 0x40) +
                                               "\",\"2\",\"1\"");

    // Cancelling an edit keeps the job; a cancelled CPU dialog keeps the level.
    f.messages.clear();
    f.cpuChoice = 0;
    f.window->onJobDialog = [](JobDialog& d) {
        QTimer::singleShot(0, &d, [&d] {
            d.cpuButton()->click();
            d.urlEdit()->setText("http://other/");
            d.cancelButton()->click();
        });
    };
    f.window->EditJob(0);
    EXPECT_EQ(f.window->Job(0).url, "https://example.org/");
    EXPECT_EQ(f.window->Job(0).cpuLevel, 1);
    f.Add([](JobDialog&) {}, false);
    EXPECT_EQ(f.window->JobCount(), 1);
}

TEST(ScheduleWindow, AJobsNamedOptionsStartFromTheSettingsAndRunAsItsDialogShowsThem) {
    Sandbox program, out;
    Sandbox::WriteFile(program / "Sitrov.ini", "[WebOptions]\r\nignore-robots=1\r\nwait-ms=300\r\n");
    Fixture f(program.Path());
    // Sets the options of the job's own "Web" dialog and clicks `button` there.
    const auto web = [](JobDialog& d, bool robots, bool sitemaps, int waitMs, const char* button) {
        d.webButton()->click();
        QDialog* w = d.webDialog();
        ASSERT_TRUE(w && w->isVisible());
        w->findChild<QCheckBox*>("opt-ignore-robots")->setChecked(robots);
        w->findChild<QCheckBox*>("opt-sitemaps")->setChecked(sitemaps);
        w->findChild<QSpinBox*>("opt-wait-ms")->setValue(waitMs);
        w->findChild<QPushButton*>(button)->click();
        EXPECT_FALSE(w->isVisible());
    };
    std::string before, after;
    bool shownFromSettings = false;
    f.Add([&](JobDialog& d) {
        Fill(d, "http://example.org/", out / "a.html");
        before = platformqt::FromQ(d.webSummary()->text());
        d.webButton()->click();
        shownFromSettings = d.webDialog()->findChild<QCheckBox*>("opt-ignore-robots")->isChecked() &&
                            d.webDialog()->findChild<QSpinBox*>("opt-wait-ms")->value() == 300;
        d.webDialog()->reject();
        // The default again, against the settings file, travels too.
        web(d, false, true, 300, "webOk");
        after = platformqt::FromQ(d.webSummary()->toolTip());
    });
    ASSERT_EQ(f.window->JobCount(), 1);
    EXPECT_TRUE(shownFromSettings);
    EXPECT_EQ(before, "--ignore-robots=1 --wait-ms=300");  // what the job passes
    EXPECT_EQ(after, "--ignore-robots=0 --wait-ms=300 --sitemaps=1");
    const std::vector<std::string> arguments = scheduler::CommandArguments(f.window->Job(0).jobCommand);
    ASSERT_EQ(arguments.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(arguments.begin(), arguments.end() - 1),
              (std::vector<std::string>{"--ignore-robots=0", "--wait-ms=300", "--sitemaps=1"}));

    // An edit shows what the job holds; a cancelled one keeps it, an accepted one replaces it.
    bool kept = false;
    f.window->onJobDialog = [&](JobDialog& d) {
        QTimer::singleShot(0, &d, [&] {
            d.webButton()->click();
            kept = d.webDialog()->findChild<QCheckBox*>("opt-sitemaps")->isChecked();
            d.webDialog()->reject();
            web(d, true, false, 0, "webOk");
            d.cancelButton()->click();
        });
    };
    f.window->EditJob(0);
    EXPECT_TRUE(kept);
    EXPECT_TRUE(f.window->Job(0).named.sitemaps);
    f.window->onJobDialog = [&](JobDialog& d) {
        QTimer::singleShot(0, &d, [&] {
            web(d, true, false, 0, "webOk");
            d.okButton()->click();
        });
    };
    f.window->EditJob(0);
    EXPECT_FALSE(f.window->Job(0).named.sitemaps);
    EXPECT_EQ(scheduler::CommandArguments(f.window->Job(0).jobCommand).front(), "--ignore-robots=1");
    EXPECT_EQ(scheduler::CommandArguments(f.window->Job(0).jobCommand)[1], "--wait-ms=0");
}

TEST(ScheduleWindow, TitleFetchShowsItsProgressWindowAndCanBeCancelled) {
    Fixture f;
    Sandbox site, out;
    Sandbox::WriteFile(site / "slow.html", "<html><head><title>Slow: page</title></head></html>");
    LoopbackServer server(site.Path(), R"({"/slow.html": {"delay": 1.5}, "/never.html": {"delay": 20}})");
    std::string fetched, afterCancel;
    bool windowSeen = false;
    // Watches for the progress window; closes it when `cancel` is set.
    bool cancel = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() != "QdxPopWinMini_GetTitle" || !w->isVisible()) continue;
            windowSeen = true;
            if (cancel) w->close();
        }
    });
    watch.start(100);
    f.Add([&](JobDialog& d) {
        Fill(d, server.BaseUrl() + "/slow.html", out / "old.html");
        d.titleButton()->click();
        fetched = platformqt::FromQ(d.pathEdit()->text());
        cancel = true;
        d.urlEdit()->setText(platformqt::ToQ(server.BaseUrl() + "/never.html"));
        d.titleButton()->click();
        afterCancel = platformqt::FromQ(d.pathEdit()->text());
        d.urlEdit()->clear();
        d.titleButton()->click();
    }, false);
    EXPECT_TRUE(windowSeen);
    EXPECT_EQ(fetched, out / "Slow_ page.html");
    EXPECT_EQ(afterCancel, fetched);
    EXPECT_EQ(f.messages, (std::vector<std::string>{"タイトル取得に失敗しました（ページアクセスに失敗）。", "URLが指定されていません。"}));
}

TEST(ScheduleWindow, RefusalsAndTheQuitQuestion) {
    Fixture f;
    Sandbox out;
    f.window->runButton()->click();
    EXPECT_EQ(f.messages.back(), "スケジュールの実行に失敗しました。");
    for (int i = 0; i < 33; ++i) f.Add([&](JobDialog& d) { Fill(d, "http://127.0.0.1:9/", out / "s.html"); });
    EXPECT_EQ(f.window->JobCount(), 32);
    EXPECT_EQ(f.messages.back(), "スケジュールはもう追加できません。");
}

TEST(ScheduleWindow, WhileRunningOnlyWaitingJobsChangeAndQuitAsks) {
    Fixture f;
    Sandbox site, out;
    Sandbox::WriteFile(site / "index.html", "<html><body>slow</body></html>");
    LoopbackServer server(site.Path(), R"({"/index.html": {"delay": 3}})");
    for (const char* name : {"a", "b"}) f.Add([&](JobDialog& d) { Fill(d, server.BaseUrl() + "/index.html", out / name); });
    f.window->runButton()->click();
    f.window->RunSchedule();  // a second time, as a disabled button cannot be clicked
    f.window->EditJob(0);
    bool opened = false;
    f.window->onJobDialog = [&opened](JobDialog& d) {
        opened = true;
        QTimer::singleShot(0, &d, [&d] { d.cancelButton()->click(); });
    };
    f.window->EditJob(1);
    EXPECT_TRUE(opened);
    f.answer = platformqt::AnswerNo;
    f.window->QuitAsked();
    EXPECT_TRUE(f.window->isVisible());
    EXPECT_EQ(f.messages, (std::vector<std::string>{"スケジュールの実行に失敗しました。", "実行中／実行済みの項目は変更できません。",
                                                    "スケジュールが実行中です。強制終了しますか？"}));
    f.answer = platformqt::AnswerYes;
    f.window->QuitAsked();
    EXPECT_FALSE(f.window->isVisible());
    // The save already started goes on by itself (and must not lose its folder under it).
    EXPECT_TRUE(WaitFor([&] { return Sandbox::Exists(out / "a-Description.log"); }, 30));
}

}  // namespace

TEST(SchedulerProgram, WithoutADisplayItShowsItsUsageAndEnds) {
    testsupport::Sandbox box;
    const std::string program = std::string(SITROVA_BIN_DIR) + "/QdXScheduler";
    auto run = testsupport::RunHeadless(program, {}, box.Path());
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("使い方: QdXScheduler"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("終了コード"), std::string::npos);
    run = testsupport::RunHeadless(program, {"--help"}, box.Path());
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("使い方: QdXScheduler"), std::string::npos);
    run = testsupport::RunHeadless(program, {"--version"}, box.Path());
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, std::string("QdXScheduler ") + platform::kSuiteVersion + "\n");
}
