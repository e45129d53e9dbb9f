// The ad-removal run of the main window and the drop of an HTML file.
#include <QTreeWidget>
#include <QLabel>
#include <QProgressBar>

#include "app/qt/AdRemovalView.h"
#include "filters/CutAdv.h"
#include "tests/app/qt/InputViewFixture.h"
#include "tests/records/LogText.h"

namespace {

using inputtest::InputViewTest;
using testsupport::Sandbox;

const std::string kAd = "<html><!-- start AD -->x<!-- end AD --></html>";

class AdRemoval : public InputViewTest {
protected:
    // A saved site of two pages, one with an advertisement.
    std::string WriteSite() {
        const std::string qdx = box / "site.qdx";
        Sandbox::WriteFile(qdx, "1\r\nEnd of Qdx file. Its contents is hidden file, SiteSaveInfoLog.\r\n");
        Sandbox::WriteFile(box / "a.html", kAd);
        Sandbox::WriteFile(box / "sub/b.html", "<html>b</html>");
        recordstest::LogHeader header;
        header.storedFolder = box.Path();
        header.saveName = "a.html";
        header.urlBase = "http://example.com/";
        header.urlLeaf = "a.html";
        header.modeWord = 1;
        Sandbox::WriteFile(box / "SitrovSaveInfo.log",
                           recordstest::LogText(header, {{box / "a.html", "http://example.com/a.html", 0, 5},
                                                         {box / "sub/b.html", "http://example.com/sub/b.html", 1, 5}}));
        return qdx;
    }
};

TEST_F(AdRemoval, RunCleansTheSavedSiteListsEachPageAndEndsUnattended) {
    NewJob(engine::mode::ModeAdRemoval);
    job->SetQdxPath(WriteSite());
    Open(engine::mode::ModeAdRemoval);
    appqt::AdRemovalView* view = window->AdRemoval();
    ASSERT_NE(view, nullptr);
    // Without a display nobody could close the finished window: it closes by itself.
    ASSERT_TRUE(RunUntil([&] { return !window->isVisible(); }, 20000));
    auto* list = view->findChild<QTreeWidget*>(QStringLiteral("list"));
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("a.html"));
    EXPECT_EQ(list->topLevelItem(0)->text(1), QStringLiteral("削除しました"));
    EXPECT_EQ(list->topLevelItem(1)->text(0), QStringLiteral("sub/b.html"));
    EXPECT_EQ(list->topLevelItem(1)->text(1), QStringLiteral("見つかりません"));
    EXPECT_EQ(view->findChild<QLabel*>(QStringLiteral("count"))->text(),
              QStringLiteral("処理済HTMLファイル数\r\n2 ／ 2\r\n･･･ 100％終了"));
    EXPECT_EQ(view->findChild<QProgressBar*>(QStringLiteral("progress"))->value(), 100);
    EXPECT_EQ(Sandbox::ReadFile(box / "a.html"), filters::CurrentMarker() + "<html></html>");

    // Run by a user who wants to see the end: the window stays and says it finished.
    QMainWindow shown;
    auto* again = new appqt::AdRemovalView(*job, false, &shown);
    shown.setCentralWidget(again);
    ASSERT_TRUE(RunUntil([&] { return again->Finished(); }, 20000));
    EXPECT_EQ(shown.windowTitle(), QStringLiteral("Sitrova - [広告削除終了]"));
    EXPECT_EQ(again->findChild<QTreeWidget*>(QStringLiteral("list"))->topLevelItem(0)->text(1),
              QStringLiteral("見つかりません"));
}

TEST_F(AdRemoval, DroppedHtmlIsCleanedAtOnceWhenTheSettingsSaySo) {
    WriteSettings("[WholeOption]\r\nWhlMode=1\r\n");
    Open();
    const std::string page = box / "drop.html";
    Sandbox::WriteFile(page, kAd);
    window->Input()->DropFiles({page});
    window->Input()->DropFiles({page});
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "ドロップファイル内の広告を削除しました。");
    EXPECT_EQ(shown[1].text, "ドロップファイル内に広告は見つかりませんでした。");
    EXPECT_EQ(shown[0].caption, "Sitrova");
    EXPECT_TRUE(started.empty());

    WriteSettings("[WholeOption]\r\nWhlMode=0\r\n");
    window->Input()->DropFiles({page});
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].what, "DropHtmlCutAdv");
}

}  // namespace
