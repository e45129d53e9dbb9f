// The link trace selection at the start of a save, driven through its window, the default
// taken without a display, and links dropped on a running save.
#include <QDialog>
#include <QMimeData>
#include <QProgressBar>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <filesystem>

#include "app/qt/TraceSelectWindow.h"
#include "engine/qt/ProgressView.h"
#include "tests/app/qt/InputViewFixture.h"
#include "tests/support/LoopbackServer.h"

using inputtest::InputViewTest;
using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

const char* const kTraceLine = "  追跡リンク選択のための情報を取得中･･･";

bool HasLine(const std::vector<std::string>& log, const std::string& line) {
    return std::find(log.begin(), log.end(), line) != log.end();
}

}  // namespace

class TraceSelectTest : public InputViewTest {
protected:
    void SetUp() override {
        InputViewTest::SetUp();
        Page("index.html", "Top", "<a href=\"a/one.html\">1</a> <a href=\"b/two.html\">2</a> <img src=\"p.png\">");
        // two.html is met below one.html before the start page's own link to it.
        Page("a/one.html", "One",
             "<a href=\"sub/deep.html\">d</a> <a href=\"../b/side.html\">s</a> <a href=\"../b/two.html\">t</a>");
        Page("b/two.html", "Two", "<a href=\"more.html\">m</a>");
        Page("a/sub/deep.html", "Deep", "<a href=\"../../b/more.html\">m</a>");
        Page("b/side.html", "Side", "");
        Page("b/more.html", "More", "");
        server = std::make_unique<LoopbackServer>(site.Path());
        ASSERT_TRUE(server->Running());
        ASSERT_TRUE(platform::CreateFolder(box / "out"));
    }

    void Page(const std::string& path, const std::string& title, const std::string& body) {
        Sandbox::WriteFile(site / path, "<html><head><title>" + title + "</title></head><body>" + body + "</body></html>");
    }

    // Runs `act` on the trace selection window once it is open; a window left open is closed.
    void WhenWindowOpens(std::function<void(QDialog*)> act) {
        QTimer::singleShot(0, [act] {
            QDialog* d = nullptr;
            ASSERT_TRUE(testsupport::RunUntil([&] {
                d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                return d != nullptr;
            }, 10000));
            act(d);
        });
        QTimer::singleShot(60000, [] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "trace window still open";
                w->close();
            }
        });
    }

    // Starts a save of the site with the trace selection ticked; `window` true lets the
    // real window answer, false keeps the program's own choice (no display here).
    void SaveWithTrace(bool withWindow) {
        NewJob();
        Open();
        if (withWindow) {
            window->Hooks().selectTrace = [](QWidget* owner, const std::string& url, std::vector<std::string>& chosen) {
                return appqt::RunTraceSelectWindow(owner, url, chosen);
            };
        }
        Click(522);
        Control<QCheckBox>(537)->click();
        Type(514, server->BaseUrl() + "/index.html");
        Type(516, box / "out/site.html");
        Click(520);
        ASSERT_NE(window->Progress(), nullptr);
        ASSERT_TRUE(RunUntil([this] { return job->WorkerEnded(); }));
    }

    // Whether the page was saved as itself, not as a placeholder, in the data folder.
    bool Saved(const std::string& path) const {
        const std::string text = Sandbox::ReadFile(box / ("out/site.files" + path));
        return text.find("<body>") != std::string::npos && text.find("Download</title>") == std::string::npos;
    }

    Sandbox site;
    std::unique_ptr<LoopbackServer> server;
};

TEST_F(TraceSelectTest, TickedFoldersAloneAreFollowedBelowTheFirstLevel) {
    const std::string base = server->BaseUrl();
    WhenWindowOpens([&](QDialog* d) {
        EXPECT_EQ(d->objectName().toStdString(), "QdxSelectTraceWnd");
        EXPECT_EQ(platformqt::FromQ(d->windowTitle()), "追跡リンク選択ダイアログ");
        auto* progress = d->findChild<QProgressBar*>(QStringLiteral("progress"));
        ASSERT_TRUE(testsupport::RunUntil(
            [&] { return progress->maximum() > 0 && progress->value() == progress->maximum(); }, 20000));
        auto* list = d->findChild<QTreeWidget*>(QStringLiteral("linkList"));
        ASSERT_EQ(list->topLevelItemCount(), 2);
        const struct {
            std::string folder, link, title;
        } rows[] = {{base + "/a/", "one.html", "One"}, {base + "/b/", "two.html", "Two"}};
        for (int i = 0; i < 2; ++i) {
            QTreeWidgetItem* folder = list->topLevelItem(i);
            EXPECT_EQ(platformqt::FromQ(folder->text(0)), rows[i].folder);
            ASSERT_EQ(folder->childCount(), 1) << rows[i].folder;
            EXPECT_EQ(platformqt::FromQ(folder->child(0)->text(0)), rows[i].link);
            EXPECT_EQ(platformqt::FromQ(folder->child(0)->text(1)), rows[i].title);
        }
        list->topLevelItem(0)->setCheckState(0, Qt::Checked);
        d->findChild<QPushButton*>(QStringLiteral("ok"))->click();
    });
    SaveWithTrace(true);

    EXPECT_EQ(job->TraceSelection(), std::vector<std::string>{base + "/a/"});
    EXPECT_TRUE(HasLine(job->DetailedLog(), std::string(kTraceLine) + "100％"));
    for (const char* path : {"/index.html", "/a/one.html", "/b/two.html", "/a/sub/deep.html"})
        EXPECT_TRUE(Saved(path)) << path;
    for (const char* path : {"/b/side.html", "/b/more.html"}) EXPECT_FALSE(Saved(path)) << path;
}

TEST_F(TraceSelectTest, CancelAndNoDisplayFollowEveryLink) {
    const struct {
        bool withWindow;
        std::vector<std::string> lines;
    } cases[] = {
        {true, {kTraceLine, "　！追跡リンク選択はキャンセル、もしくは情報取得に失敗しました。", ""}},
        {false, {"  画面が無いため、追跡リンクは選択せずに全てのリンクを追跡します。", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.withWindow ? "cancelled" : "no display");
        std::filesystem::remove_all(box / "out");
        ASSERT_TRUE(platform::CreateFolder(box / "out"));
        server = std::make_unique<LoopbackServer>(site.Path());  // a fresh request log
        if (c.withWindow)
            WhenWindowOpens([](QDialog* d) { d->findChild<QPushButton*>(QStringLiteral("cancel"))->click(); });
        SaveWithTrace(c.withWindow);
        const std::vector<std::string> log = job->DetailedLog();
        auto at = std::search(log.begin(), log.end(), c.lines.begin(), c.lines.end());
        EXPECT_NE(at, log.end());
        EXPECT_TRUE(job->TraceSelection().empty());
        for (const char* path : {"/a/sub/deep.html", "/b/side.html", "/b/more.html"}) EXPECT_TRUE(Saved(path)) << path;
    }
}

TEST_F(TraceSelectTest, ALinkDroppedOnTheRunningSaveOpensANewInstance) {
    SaveWithTrace(false);
    const struct {
        QMimeData* data;
        std::vector<std::string> args;
    } cases[] = {
        {new QMimeData, {"PresetUrl,\"http://h/x/page.html\",\"" + (box / "out/page.html") + "\""}},
        {new QMimeData, {"PresetUrl,\"http://h/q%22a/\",\"" + (box / "out/index.html") + "\""}},
    };
    cases[0].data->setUrls({QUrl(QStringLiteral("http://h/x/page.html#top"))});
    cases[1].data->setText(QStringLiteral("http://h/q\"a\nsecond line"));
    for (const auto& c : cases) {
        started.clear();
        auto* data = c.data;
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &drop);
        ASSERT_EQ(started.size(), 1u);
        EXPECT_EQ(started[0].what, programFolder + "/Sitrova");
        EXPECT_EQ(started[0].args, c.args);
        delete data;
    }
    // A dropped file is no address to open.
    started.clear();
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(platformqt::ToQ(box / "out/site.html"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    EXPECT_TRUE(started.empty());
}
