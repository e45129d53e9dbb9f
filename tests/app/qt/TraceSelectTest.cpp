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
#include "tests/app/qt/InputViewFixture.h"
#include "tests/support/LoopbackServer.h"

using inputtest::InputViewTest;
using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

const std::string kTraceLine = "  追跡リンク選択のための情報を取得中･･･";

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
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] {
            ADD_FAILURE() << "trace window still open";
            if (QWidget* w = QApplication::activeModalWidget()) w->close();
        });
    }

    void Page(const std::string& path, const std::string& title, const std::string& body) {
        Sandbox::WriteFile(site / path,
                           "<html><head><title>" + title + "</title></head><body>" + body + "</body></html>");
    }

    // A save of the site into a fresh folder with the trace selection ticked. With `act` the
    // real window opens and `act` answers it once it runs; without, the program's own
    // choice holds (no display here).
    void SaveWithTrace(std::function<void(QDialog*)> act) {
        std::filesystem::remove_all(box / "out");
        ASSERT_TRUE(platform::CreateFolder(box / "out"));
        server = std::make_unique<LoopbackServer>(site.Path());
        NewJob();
        Open();
        if (act) window->Hooks().selectTrace = appqt::RunTraceSelectWindow;
        Click(522);
        Control<QCheckBox>(537)->click();
        Type(514, server->BaseUrl() + "/index.html");
        Type(516, box / "out/site.html");
        if (act) {
            QTimer::singleShot(0, [act] {
                QDialog* d = nullptr;
                ASSERT_TRUE(testsupport::RunUntil(
                    [&] { return (d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) != nullptr; }, 10000));
                act(d);
            });
            guard.start(60000);
        }
        Click(520);
        guard.stop();
        ASSERT_NE(window->Progress(), nullptr);
        ASSERT_TRUE(RunUntil([this] { return job->WorkerEnded(); }));
    }

    // Whether the page was saved as itself, not as a placeholder, in the data folder.
    bool Saved(const std::string& path) const {
        const std::string text = Sandbox::ReadFile(box / ("out/site.files" + path));
        return text.find("<body>") != std::string::npos && text.find("Download</title>") == std::string::npos;
    }

    bool LogHas(const std::vector<std::string>& lines) const {
        const std::vector<std::string> log = job->DetailedLog();
        return std::search(log.begin(), log.end(), lines.begin(), lines.end()) != log.end();
    }

    Sandbox site;
    std::unique_ptr<LoopbackServer> server;
    QTimer guard;  // closes a window a broken test left open
};

TEST_F(TraceSelectTest, TickedFoldersAloneAreFollowedBelowTheFirstLevel) {
    SaveWithTrace([this](QDialog* d) {
        const std::string base = server->BaseUrl();
        EXPECT_EQ(d->objectName().toStdString(), "QdxSelectTraceWnd");
        EXPECT_EQ(platformqt::FromQ(d->windowTitle()), "追跡リンク選択ダイアログ");
        auto* progress = d->findChild<QProgressBar*>(QStringLiteral("progress"));
        ASSERT_TRUE(testsupport::RunUntil(
            [&] { return progress->maximum() > 0 && progress->value() == progress->maximum(); }, 20000));
        auto* list = d->findChild<QTreeWidget*>(QStringLiteral("linkList"));
        ASSERT_EQ(list->topLevelItemCount(), 2);
        const char* rows[][3] = {{"/a/", "one.html", "One"}, {"/b/", "two.html", "Two"}};
        for (int i = 0; i < 2; ++i) {
            QTreeWidgetItem* folder = list->topLevelItem(i);
            EXPECT_EQ(platformqt::FromQ(folder->text(0)), base + rows[i][0]);
            ASSERT_EQ(folder->childCount(), 1) << rows[i][0];
            EXPECT_EQ(platformqt::FromQ(folder->child(0)->text(0)), rows[i][1]);
            EXPECT_EQ(platformqt::FromQ(folder->child(0)->text(1)), rows[i][2]);
        }
        list->topLevelItem(0)->setCheckState(0, Qt::Checked);
        d->findChild<QPushButton*>(QStringLiteral("ok"))->click();
    });

    EXPECT_EQ(job->TraceSelection(), std::vector<std::string>{server->BaseUrl() + "/a/"});
    EXPECT_TRUE(LogHas({kTraceLine + "100％"}));
    for (const char* path : {"/index.html", "/a/one.html", "/b/two.html", "/a/sub/deep.html"})
        EXPECT_TRUE(Saved(path)) << path;
    for (const char* path : {"/b/side.html", "/b/more.html"}) EXPECT_FALSE(Saved(path)) << path;
}

TEST_F(TraceSelectTest, CancelAndNoDisplayFollowEveryLinkAndDroppedLinksOpenANewInstance) {
    const struct {
        std::function<void(QDialog*)> act;
        std::vector<std::string> lines;
    } cases[] = {
        {[](QDialog* d) { d->findChild<QPushButton*>(QStringLiteral("cancel"))->click(); },
         {kTraceLine, "　！追跡リンク選択はキャンセル、もしくは情報取得に失敗しました。", ""}},
        {nullptr, {"  画面が無いため、追跡リンクは選択せずに全てのリンクを追跡します。", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.act ? "cancelled" : "no display");
        SaveWithTrace(c.act);
        EXPECT_TRUE(LogHas(c.lines));
        EXPECT_TRUE(job->TraceSelection().empty());
        for (const char* path : {"/a/sub/deep.html", "/b/side.html", "/b/more.html"}) EXPECT_TRUE(Saved(path)) << path;
    }

    // A link dropped on the running save: its URL as the input view takes it, the save's folder.
    const struct {
        const char* url;
        const char* text;
        std::string argument;
    } drops[] = {
        {"http://h/x/page.html#top", nullptr,
         "PresetUrl,\"http://h/x/page.html\",\"" + (box / "out/page.html") + "\""},
        {nullptr, "http://h/q\"a\nsecond line",
         "PresetUrl,\"http://h/q%22a/\",\"" + (box / "out/index.html") + "\""},
    };
    for (const auto& d : drops) {
        started.clear();
        QMimeData data;
        if (d.url) data.setUrls({QUrl(QString::fromUtf8(d.url))});
        if (d.text) data.setText(QString::fromUtf8(d.text));
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &drop);
        ASSERT_EQ(started.size(), 1u);
        EXPECT_EQ(started[0].what, programFolder + "/Sitrova");
        EXPECT_EQ(started[0].args, std::vector<std::string>{d.argument});
    }
}
