// The comment and related-link windows driven offscreen through their controls.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QUrl>
#include <memory>

#include "download/qt/RelatedFileDownload.h"
#include "records/DescriptionLog.h"
#include "platform/Codepage.h"
#include "platform/FileUtil.h"
#include "platform/HttpClient.h"
#include "records/Settings.h"
#include "records/qt/RecordWindows.h"
#include "tests/records/qt/SavedSiteFiles.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/QtApp.h"
#include "tests/support/QtControls.h"

using namespace recordsqttest;
using recordsqt::LinkActionWindow;
using recordsqt::LinkAddWindow;
using testsupport::Sandbox;

namespace {

struct EndWatch {
    explicit EndWatch(QDialog& window) {
        QObject::connect(&window, &QDialog::finished, &window, [this](int r) {
            ended = true;
            result = r;
        });
    }
    bool ended = false;
    int result = -1;
};

void Drop(QWidget& target, QMimeData& data) {
    // Straight to the window: without a drag in progress the application would not pass a
    // drop on.
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject&>(target).event(&drop);
}

class RecordWindowsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        platform::HttpGlobalInit();
        downloadqt::InstallRelatedFileDownload();
    }
    void SetUp() override {
        testsupport::EnsureQApplication();
        ASSERT_TRUE(platform::CreateFolder(box / "program"));
        site = WriteSavedSite(box, 0x301);
        PrepareJob(job, site, box / "program");
    }
    std::vector<records::RelatedLink> Links() {
        records::SectionFile record;
        EXPECT_EQ(record.Load(site.qdxPath), 1);
        std::vector<records::RelatedLink> links;
        for (int i = 0, n = records::CountLinks(record); i < n; ++i) {
            records::RelatedLink link;
            EXPECT_EQ(records::ReadLink(record, i, link), 1);
            links.push_back(link);
        }
        return links;
    }

    Sandbox box;
    SavedSite site;
    engine::SaveJob job;
};

}  // namespace

TEST_F(RecordWindowsTest, CommentEditorStoresOnlyWhenRegistered) {
    {
        records::SectionFile record;
        ASSERT_EQ(record.Load(site.qdxPath), 1);
        ASSERT_EQ(records::WriteComment(record, "前の\nコメント"), 1);
    }
    const std::string before = Sandbox::ReadFile(site.qdxPath);
    {
        recordsqt::CommentEditor editor(nullptr, job);
        EndWatch watch(editor);
        EXPECT_EQ(editor.windowTitle(), QStringLiteral("コメント編集"));
        EXPECT_EQ(editor.size(), QSize(360, 240));
        auto* edit = Control<QPlainTextEdit>(&editor, QStringLiteral("commentEdit"));
        EXPECT_EQ(edit->toPlainText(), QStringLiteral("前の\nコメント"));
        edit->setPlainText(QStringLiteral("変えたが取り消す"));
        Control<QPushButton>(&editor, QStringLiteral("cancelButton"))->click();
        EXPECT_TRUE(watch.ended);
        EXPECT_EQ(watch.result, 0);
    }
    EXPECT_EQ(Sandbox::ReadFile(site.qdxPath), before);
    {
        recordsqt::CommentEditor editor(nullptr, job);
        EndWatch watch(editor);
        auto* save = Control<QPushButton>(&editor, QStringLiteral("registerButton"));
        EXPECT_EQ(save->text(), QStringLiteral("登録(Ctrl+S)"));
        Control<QPlainTextEdit>(&editor, QStringLiteral("commentEdit"))->setPlainText(QStringLiteral("新しい"));
        editor.show();
        editor.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
        QTest::keyClick(&editor, Qt::Key_S, Qt::ControlModifier);
        // A button's shortcut presses it visibly first.
        EXPECT_TRUE(testsupport::RunUntil([&] { return watch.ended; }, 2000));
        EXPECT_EQ(watch.result, 1);
    }
    records::SectionFile record;
    ASSERT_EQ(record.Load(site.qdxPath), 1);
    EXPECT_EQ(records::ReadComment(record), "新しい");
}

TEST_F(RecordWindowsTest, LinkAddChecksItsFieldsBeforeAdding) {
    const std::string file = box / "file.txt";
    Sandbox::WriteFile(file, "x");
    ASSERT_TRUE(platform::CreateFolder(box / "docs"));
    struct Case {
        std::string name, target;
        bool download;
        bool added;
        std::string stored;  // target as read back
    };
    const Case cases[] = {
        {"", file, false, false, ""},
        {"n", box / "missing.txt", false, false, ""},
        {"n", "", false, false, ""},
        {"docs", box / "docs", false, true, box / "docs"},
        {"web", "http://example.com/page.html", false, true, "http://example.com/page.html"},
        {"file", file, true, true, file},
    };
    size_t count = 0;
    for (const Case& c : cases) {
        LinkAddWindow window(nullptr, job);
        EndWatch watch(window);
        Control<QLineEdit>(&window, 1013)->setText(QString::fromStdString(c.name));
        Control<QLineEdit>(&window, 1014)->setText(QString::fromStdString(c.target));
        Control<QCheckBox>(&window, 1017)->setChecked(c.download);
        Control<QPushButton>(&window, 1015)->click();
        EXPECT_EQ(watch.ended, c.added) << c.name << " " << c.target;
        const auto links = Links();
        if (c.added) {
            EXPECT_EQ(watch.result, 1);
            ASSERT_EQ(links.size(), ++count);
            EXPECT_EQ(links.back().name, c.name);
            EXPECT_EQ(links.back().target, c.stored);
        }
        EXPECT_EQ(links.size(), count);
    }
    // A folder inside the record's folder is stored relative to it.
    EXPECT_NE(Sandbox::ReadFile(site.qdxPath).find("\r\ndocs\r\n"), std::string::npos);
}

TEST_F(RecordWindowsTest, LinkAddDownloadsAWebFileFirstAndRegistersTheLocalCopy) {
    Sandbox served;
    Sandbox::WriteFile(served / "f.zip", std::string("PK\x03\x04", 4) + std::string(3000, 'z'));
    testsupport::LoopbackServer server(served.Path());
    for (const char* name : {"missing.zip", "f.zip"}) {
        SCOPED_TRACE(name);
        LinkAddWindow window(nullptr, job);
        EndWatch watch(window);
        Control<QLineEdit>(&window, 1013)->setText(QStringLiteral("archive"));
        Control<QLineEdit>(&window, 1014)->setText(QString::fromStdString(server.BaseUrl() + "/" + name));
        Control<QCheckBox>(&window, 1017)->setChecked(true);
        Control<QPushButton>(&window, 1015)->click();
        EXPECT_FALSE(Control<QPushButton>(&window, 1015)->isEnabled());
        QElapsedTimer clock;
        clock.start();
        while (!watch.ended && !Control<QPushButton>(&window, 1015)->isEnabled() && clock.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        EXPECT_EQ(watch.ended, std::string(name) == "f.zip");
    }
    const std::string local = records::StripExtension(site.qdxPath) + ".files/関連ファイル/f.zip";
    EXPECT_EQ(Sandbox::ReadFile(local).size(), 3004u);
    ASSERT_EQ(Links().size(), 1u);
    EXPECT_EQ(Links().back().name, "archive");
}

TEST_F(RecordWindowsTest, LinkAddTakesItsDownloadChoiceFromTheSettings) {
    EXPECT_FALSE(Control<QCheckBox>(std::make_unique<LinkAddWindow>(nullptr, job).get(), 1017)->isChecked());
    ASSERT_EQ(records::SaveQdxFileSettings(job.IniPath(), true, ""), 1);
    EXPECT_TRUE(Control<QCheckBox>(std::make_unique<LinkAddWindow>(nullptr, job).get(), 1017)->isChecked());
}

TEST_F(RecordWindowsTest, DroppedFilesFillTargetAndName) {
    LinkAddWindow window(nullptr, job);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(box / "資料 1.pdf")), QUrl::fromLocalFile(QStringLiteral("/other"))});
    Drop(window, data);
    EXPECT_EQ(Control<QLineEdit>(&window, 1014)->text().toStdString(), box / "資料 1.pdf");
    EXPECT_EQ(Control<QLineEdit>(&window, 1013)->text(), QStringLiteral("資料 1.pdf"));
}

TEST_F(RecordWindowsTest, DroppedUrlGetsItsPageTitleWithoutBlockingTheWindow) {
    Sandbox pages;
    std::string title;
    ASSERT_EQ(platform::Utf8ToCp932("保存した頁", title), platform::CodepageOk);
    Sandbox::WriteFile(pages / "page.html", "<html><head><meta charset=\"Shift_JIS\"><title>" + title + "</title>");
    Sandbox::WriteFile(pages / "slow.html", "<title>Slow</title>");
    Sandbox::WriteFile(pages / "late.html", std::string(3000, ' ') + "<title>Late</title>");
    testsupport::LoopbackServer server(pages.Path(), R"({"/slow.html": {"delay": 2.0}, "/hang.html": {"delay": 30}})");
    ASSERT_TRUE(server.Running());

    LinkAddWindow window(nullptr, job);
    auto* name = Control<QLineEdit>(&window, 1013);
    auto* target = Control<QLineEdit>(&window, 1014);
    QMimeData data;
    data.setText(QString::fromStdString(server.BaseUrl() + "/page.html"));
    Drop(window, data);
    EXPECT_EQ(target->text().toStdString(), server.BaseUrl() + "/page.html");
    ASSERT_TRUE(testsupport::RunUntil([&] { return !window.FetchingTitle(); }, 10000));
    EXPECT_EQ(name->text(), QStringLiteral("保存した頁"));

    // A slow page: the drop returns at once, and a name typed meanwhile is kept.
    QElapsedTimer timer;
    timer.start();
    window.DropText(server.BaseUrl() + "/slow.html");
    EXPECT_LT(timer.elapsed(), 1500);  // the page takes 2 s; room for a sanitizer build
    EXPECT_TRUE(window.FetchingTitle());
    name->setText(QStringLiteral("自分の名前"));
    ASSERT_TRUE(testsupport::RunUntil([&] { return !window.FetchingTitle(); }, 10000));
    EXPECT_EQ(name->text(), QStringLiteral("自分の名前"));

    // Only the first 2048 bytes are read: a title behind them is not found.
    name->clear();
    window.DropText(server.BaseUrl() + "/late.html");
    ASSERT_TRUE(testsupport::RunUntil([&] { return !window.FetchingTitle(); }, 10000));
    EXPECT_TRUE(name->text().isEmpty());

    // A window closed while its page still loads does not wait for the page.
    auto hanging = std::make_unique<LinkAddWindow>(nullptr, job);
    hanging->DropText(server.BaseUrl() + "/hang.html");
    timer.restart();
    hanging.reset();
    EXPECT_LT(timer.elapsed(), 10000);  // the page would take 30 s
}

TEST_F(RecordWindowsTest, LinkDelRemovesTheTickedLinks) {
    records::SectionFile record;
    ASSERT_EQ(record.Load(site.qdxPath), 1);
    for (const char* name : {"a", "b", "c"}) ASSERT_EQ(records::AddLink(record, name, "http://example.com/"), 1);
    const std::string before = Sandbox::ReadFile(site.qdxPath);
    {
        recordsqt::LinkDelWindow window(nullptr, job);
        EndWatch watch(window);
        auto* list = Control<QListWidget>(&window, QStringLiteral("linkList"));
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->item(2)->text(), QStringLiteral("c"));
        Control<QPushButton>(&window, QStringLiteral("checkAll"))->click();
        Control<QPushButton>(&window, QStringLiteral("uncheckAll"))->click();
        // Nothing ticked: nothing changes.
        Control<QPushButton>(&window, QStringLiteral("deleteButton"))->click();
        EXPECT_TRUE(watch.ended);
        EXPECT_EQ(watch.result, 0);
    }
    EXPECT_EQ(Sandbox::ReadFile(site.qdxPath), before);

    recordsqt::LinkDelWindow window(nullptr, job);
    EndWatch watch(window);
    auto* list = Control<QListWidget>(&window, QStringLiteral("linkList"));
    list->item(0)->setCheckState(Qt::Checked);
    list->item(2)->setCheckState(Qt::Checked);
    Control<QPushButton>(&window, QStringLiteral("deleteButton"))->click();
    EXPECT_EQ(watch.result, 1);
    const auto links = Links();
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].name, "b");
}

TEST_F(RecordWindowsTest, LinkActionOpensTheTargetThenClosesItself) {
    const std::string file = box / "open me.txt";
    Sandbox::WriteFile(file, "x");
    struct Case {
        std::string target;
        bool opened;
    };
    const Case cases[] = {{file, true}, {"http://example.com/a", true}, {box / "gone.txt", false}, {"", false}};
    for (const Case& c : cases) {
        std::vector<std::string> opened;
        LinkActionWindow window(nullptr, {"名前", c.target, ""},
                                [&opened](const std::string& t) {
                                    opened.push_back(t);
                                    return 1;
                                },
                                {20, 60});
        EndWatch watch(window);
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Qdxファイル - 関連リンク"));
        EXPECT_EQ(window.size(), QSize(437, 239));
        EXPECT_EQ(Control<QPlainTextEdit>(&window, QStringLiteral("detailEdit"))->toPlainText(),
                  QString::fromStdString("【リンク名】\n名前\n\n【登録パス】\n" + c.target));
        window.show();
        auto* warning = Control<QLabel>(&window, QStringLiteral("warningText"));
        if (c.opened) {
            ASSERT_TRUE(testsupport::RunUntil([&] { return watch.ended; }, 3000)) << c.target;
            EXPECT_EQ(watch.result, 1);
            EXPECT_EQ(opened, std::vector<std::string>{c.target});
            EXPECT_FALSE(warning->isVisible());
            continue;
        }
        ASSERT_TRUE(testsupport::RunUntil([&] { return warning->isVisible(); }, 3000)) << c.target;
        EXPECT_EQ(warning->text(), QStringLiteral("指定されたファイルが見つかりません。"));
        QTest::qWait(150);
        EXPECT_FALSE(watch.ended);  // stays open
        EXPECT_TRUE(opened.empty());
        Control<QPushButton>(&window, QStringLiteral("closeButton"))->click();
        EXPECT_EQ(watch.result, 0);
    }
}

TEST_F(RecordWindowsTest, LinkActionClosedBeforeItsDelayOpensNothing) {
    int opened = 0;
    LinkActionWindow window(nullptr, {"n", "http://example.com/", ""},
                            [&opened](const std::string&) { return ++opened; }, {50, 50});
    EndWatch watch(window);
    window.show();
    Control<QPushButton>(&window, QStringLiteral("closeButton"))->click();
    EXPECT_TRUE(watch.ended);
    QTest::qWait(150);
    EXPECT_EQ(opened, 0);
}

TEST_F(RecordWindowsTest, WindowsDoNotWaitWithoutADisplay) {
    const std::string file = box / "f.txt";
    Sandbox::WriteFile(file, "x");
    AddLinks(site, 1, file);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(recordsqt::RunQdxComment(nullptr, job), 0);
    EXPECT_EQ(recordsqt::RunQdxLinkAdd(nullptr, job), 0);
    EXPECT_EQ(recordsqt::RunQdxLinkDel(nullptr, job), 0);
    EXPECT_EQ(recordsqt::RunQdxLinkAction(nullptr, job, 1), 0);  // no such link
    std::vector<std::string> opened;
    EXPECT_EQ(recordsqt::RunQdxLinkAction(nullptr, job, 0,
                                          [&opened](const std::string& t) {
                                              opened.push_back(t);
                                              return 1;
                                          },
                                          {}),
              1);
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_EQ(opened, std::vector<std::string>{file});
    EXPECT_EQ(Links().size(), 1u);
}
