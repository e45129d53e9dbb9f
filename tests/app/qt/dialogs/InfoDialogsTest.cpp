#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "app/qt/dialogs/DialogOpener.h"
#include "app/qt/dialogs/InfoDialogs.h"
#include "engine/SaveJob.h"
#include "platform/Codepage.h"
#include "platform/FileUtil.h"
#include "platform/qt/QtText.h"
#include "records/ErrorLogScan.h"
#include "tests/app/qt/dialogs/DialogTestKit.h"
#include "tests/support/ShiftJis.h"

using dialogtest::DialogTest;
using testsupport::Sandbox;

namespace {

using testsupport::Sjis;

TEST(ErrorLogScan, FailuresNameTheirPageOrFile) {
    const std::vector<std::string> lines = {
        "http://a.example/からＤＬ中…",
        "  このページのＤＬに失敗しました(検索階層が深過ぎる)。後にリトライします。",
        "http://a.example/x.htmlからＤＬ中…",
        "  ＤＬに失敗しました。",
        "ページ「http://a.example/x.html」のコンプリートに失敗。",
        "  埋め込みデータをＤＬ中…",
        "    pic.png",
        "    ！ダウンロードに失敗",
        "http://a.example/gone.htmlからＤＬ中…",
        "  ページタイトルに404(NotFound)が見つかりました。ＤＬ失敗として扱います。",
    };
    const std::vector<records::DownloadFailure> found = records::FindDownloadFailures(lines);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].lineNumber, 4u);
    EXPECT_EQ(found[0].target, "http://a.example/x.html");
    EXPECT_EQ(found[0].message, "ＤＬに失敗しました。");
    EXPECT_EQ(found[1].lineNumber, 8u);
    EXPECT_EQ(found[1].target, "pic.png");
    EXPECT_EQ(found[2].target, "http://a.example/gone.html");
    EXPECT_TRUE(records::FindDownloadFailures({"    ！ダウンロードに失敗"})[0].target.empty());
}

class InfoDialogs : public DialogTest {};

TEST_F(InfoDialogs, ErrorLogIsReadFromShiftJisAndItsFailuresListed) {
    const std::string log = box / "site.files/SitrovError.log";
    Sandbox::WriteFile(log, Sjis("http://a.example/p.htmlからＤＬ中…\r\n  ＤＬに失敗しました。\r\n") + "\x82\r\n" +
                                Sjis("    b.gif\r\n    ！ダウンロードに失敗\r\n"));
    std::vector<std::string> lines;
    ASSERT_TRUE(records::ReadErrorLogLines(log, lines));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1], "  ＤＬに失敗しました。");
    EXPECT_EQ(lines[2], "?");  // a broken line stays visible

    std::unique_ptr<QDialog> d(appqt::CreateErrorLogViewer(nullptr, log));
    EXPECT_EQ(d->findChild<QLabel*>(QStringLiteral("failureCount"))->text(), QStringLiteral("2"));
    auto* list = d->findChild<QTreeWidget*>(QStringLiteral("failureList"));
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(1), QStringLiteral("http://a.example/p.html"));
    EXPECT_EQ(list->topLevelItem(1)->text(1), QStringLiteral("b.gif"));
    auto* detail = d->findChild<QLabel*>(QStringLiteral("detail"));
    EXPECT_EQ(detail->text(), QStringLiteral("項目を選択してください。"));
    list->setCurrentItem(list->topLevelItem(1));
    EXPECT_EQ(detail->text(), QStringLiteral("b.gif\n！ダウンロードに失敗"));
}

TEST_F(InfoDialogs, AMissingErrorLogIsSaid) {
    std::unique_ptr<QDialog> d(appqt::CreateErrorLogViewer(nullptr, box / "none/SitrovError.log"));
    EXPECT_EQ(d->findChild<QLabel*>(QStringLiteral("detail"))->text(), QStringLiteral("SitrovError.log  が開けません。"));
    EXPECT_FALSE(d->findChild<QPushButton*>(QStringLiteral("openLog"))->isEnabled());
}

TEST_F(InfoDialogs, ErrorLogPathFollowsTheRecord) {
    engine::SaveJob job;
    job.SetSaveTarget(box / "out/site.html");
    EXPECT_EQ(appqt::ErrorLogPathOf(job), box / "out/SitrovError.log");  // no record yet

    job.SetQdxPath(box / "rec/site.qdx");
    EXPECT_EQ(appqt::ErrorLogPathOf(job), box / "rec/site.files/SitrovError.log");
    // A save without data folder keeps the log beside the record.
    Sandbox::WriteFile(box / "rec/SitrovError.log", "x");
    EXPECT_EQ(appqt::ErrorLogPathOf(job), box / "rec/SitrovError.log");
    Sandbox::WriteFile(box / "rec/site.files/SitrovError.log", "x");
    EXPECT_EQ(appqt::ErrorLogPathOf(job), box / "rec/site.files/SitrovError.log");
}

TEST_F(InfoDialogs, RelatedRecordIsBesideTheFileOrItsDataFolder) {
    Sandbox::WriteFile(box / "a/page.qdx", "1");
    Sandbox::WriteFile(box / "a/page.html", "x");
    Sandbox::WriteFile(box / "b/site.qdx", "1");
    Sandbox::WriteFile(box / "b/site.files/x/y/deep.html", "x");
    Sandbox::WriteFile(box / "c/lone.html", "x");
    Sandbox::WriteFile(box / "d/site.FILES/p.html", "x");
    Sandbox::WriteFile(box / "d/site.qdx", "1");
    Sandbox::WriteFile(box / "e/my.site/sub/p.html", "x");  // a data folder by another name
    Sandbox::WriteFile(box / "e/my.qdx", "1");
    Sandbox::WriteFile(box / "f/page.min.html", "x");
    Sandbox::WriteFile(box / "f/page.qdx", "1");
    struct Case {
        std::string file, record;
    };
    const Case cases[] = {
        {box / "a/page.html", box / "a/page.qdx"},
        {box / "b/site.files/x/y/deep.html", box / "b/site.qdx"},
        {box / "c/lone.html", ""},
        {box / "d/site.FILES/p.html", box / "d/site.qdx"},
        {box / "b/site.files/other.htm", box / "b/site.qdx"},
        {box / "e/my.site/sub/p.html", box / "e/my.qdx"},
        {box / "f/page.min.html", box / "f/page.qdx"},
    };
    for (const Case& c : cases) EXPECT_EQ(appqt::FindRelatedQdx(c.file), c.record) << c.file;
}

TEST_F(InfoDialogs, DropDialogSaysWhenThereIsNoRelatedRecord) {
    Sandbox::WriteFile(box / "a/page.qdx", "1");
    for (const std::string& file : {box / "a/page.html", box / "c/lone.html"}) {
        std::unique_ptr<QDialog> d(appqt::CreateDropHtmlDialog(nullptr, file, programFolder));
        EXPECT_EQ(platformqt::FromQ(d->findChild<QLineEdit*>(QStringLiteral("fileName"))->text()), platform::NameOf(file));
        EXPECT_TRUE(d->findChild<QPushButton*>(QStringLiteral("openQdx"))->isEnabled());  // looked for when pressed
        d->findChild<QPushButton*>(QStringLiteral("close"))->click();
        EXPECT_EQ(d->result(), 0);
    }
    std::unique_ptr<QDialog> d(appqt::CreateDropHtmlDialog(nullptr, box / "c/lone.html", programFolder));
    auto* openQdx = d->findChild<QPushButton*>(QStringLiteral("openQdx"));
    openQdx->click();
    EXPECT_EQ(openQdx->text(), QStringLiteral("関連するQdxファイルはありません。"));
    EXPECT_FALSE(openQdx->isEnabled());
    EXPECT_EQ(d->result(), 0);
}

TEST_F(InfoDialogs, DropDialogRemovesAdsOnceAndSaysWhatItFound) {
    const std::string page = box / "p.html";
    const std::string ad = "<html><!-- start AD -->x<!-- end AD --></html>";
    Sandbox::WriteFile(page, ad);
    for (const char* expected : {"広告削除は済みです", "広告は見つかりませんでした。"}) {
        std::unique_ptr<QDialog> d(appqt::CreateDropHtmlDialog(nullptr, page, programFolder));
        auto* removeAds = d->findChild<QPushButton*>(QStringLiteral("removeAds"));
        EXPECT_EQ(removeAds->text(), QStringLiteral("広告を削除する"));
        removeAds->click();
        EXPECT_EQ(removeAds->text(), QString::fromUtf8(expected));
        EXPECT_FALSE(removeAds->isEnabled());
    }
    EXPECT_EQ(Sandbox::ReadFile(page).find("start AD"), std::string::npos);
}

TEST_F(InfoDialogs, VersionDialogShowsProductVersionAndAddress) {
    std::unique_ptr<QDialog> d(appqt::CreateVersionDialog(nullptr));
    auto* product = d->findChild<QLabel*>(QStringLiteral("productName"));
    EXPECT_EQ(product->text(), QStringLiteral("Sitrova"));
    EXPECT_TRUE(product->font().bold());
    EXPECT_EQ(d->findChild<QLabel*>(QStringLiteral("version"))->text(), QStringLiteral("Version. 6.42"));
    auto* address = d->findChild<QLabel*>(QStringLiteral("makerAddress"));
    EXPECT_TRUE(address->text().contains(QStringLiteral("href=\"https://sitrova.invalid/\"")));
    EXPECT_EQ(address->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(d->findChild<QPushButton*>(QStringLiteral("close"))->text(), QStringLiteral("閉じる"));
}

TEST_F(InfoDialogs, AnalysisLitShowsKindAndMessage) {
    engine::SaveJob job;
    appqt::DialogArgs args;
    args.url = "http://h/photo.jpg";
    std::unique_ptr<QDialog> d(appqt::CreateAnalysisLitDialog(nullptr, job, args));
    EXPECT_EQ(d->findChild<QLabel*>(QStringLiteral("ctl1101"))->text(), QStringLiteral("画像ファイル"));
    EXPECT_EQ(d->findChild<QPlainTextEdit*>(QStringLiteral("ctl1102"))->toPlainText(),
              QStringLiteral("このファイル単体、\nもしくは連番ファイルを保存できます。"));
    EXPECT_TRUE(d->findChild<QPushButton*>(QStringLiteral("ctl1103"))->isHidden());
}

}  // namespace
