// The main window for a user who reads English: its menus and messages are English, while
// what the save writes into files stays Japanese.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTranslator>
#include <cstdlib>
#include <set>

#include "app/SaveOffers.h"
#include "engine/ProgressText.h"
#include "engine/SaveManager.h"
#include "platform/UiLanguage.h"
#include "platform/UiText.h"
#include "platform/qt/UiText.h"
#include "tests/app/qt/InputViewFixture.h"
#include "tests/support/TestPaths.h"

using namespace engine::mode;

namespace {

class EnglishMainWindowTest : public inputtest::InputViewTest {
protected:
    void SetUp() override {
        InputViewTest::SetUp();
        setenv("LANGUAGE", "en", 1);
        platform::SetUiLanguage(platform::UiLanguage::English);
        ASSERT_TRUE(m_english.load(QString::fromStdString(std::string(SITROVA_BIN_DIR) + "/" +
                                                          platformqt::kEnglishTranslationFile)));
        QCoreApplication::installTranslator(&m_english);
    }
    void TearDown() override {
        InputViewTest::TearDown();
        QCoreApplication::removeTranslator(&m_english);
        setenv("LANGUAGE", "ja", 1);
        platform::SetUiLanguage(platform::UiLanguage::Japanese);
    }

private:
    QTranslator m_english;
};

}  // namespace

TEST_F(EnglishMainWindowTest, MenusAreEnglishWithOneAcceleratorPerItemOfAMenu) {
    Open();
    QStringList titles;
    for (QAction* top : window->menuBar()->actions()) {
        titles << top->text();
        std::set<QChar> keys;
        for (QAction* item : top->menu()->actions()) {
            if (item->isSeparator()) continue;
            const QString text = item->text();
            SCOPED_TRACE(text.toStdString());
            for (QChar c : text) EXPECT_LT(c.unicode(), 0x3000) << "still Japanese";
            const qsizetype amp = text.indexOf(QLatin1Char('&'));
            if (amp >= 0) {
                EXPECT_TRUE(keys.insert(text.at(amp + 1).toLower()).second) << "accelerator used twice";
            }
        }
    }
    EXPECT_EQ(titles, (QStringList{QStringLiteral("&File"), QStringLiteral("&Settings"), QStringLiteral("&Help")}));
}

TEST_F(EnglishMainWindowTest, MessagesOfTheWindowAndOfTheRulesBehindItAreEnglish) {
    Open();
    Type(514, "nothing-like-a-url");
    Type(516, box / "site.html");
    Click(520);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(shown[0].text, "The URL is not valid.");
    // The offers after a save come from texts kept outside the window.
    EXPECT_STREQ(platform::Tr(app::kWebArchiveOfferText), platform::EnglishOf(app::kWebArchiveOfferText));
    EXPECT_NE(platform::EnglishOf(app::kBlogOfferText), nullptr);
}

TEST_F(EnglishMainWindowTest, ProgressViewShowsEnglishWhileTheDescriptionLogKeepsJapanese) {
    NewJob(ModeNormal | qdxfile);
    job->SetStartUrl("https://www.example.jp/docs/index.html");
    job->SetSaveTarget(box / "docs.html");
    const std::string written = engine::BuildJobSummary(*job);
    const std::string shownSummary = engine::ShownJobSummary(*job);
    EXPECT_NE(written.find("【コンプリートするURL】"), std::string::npos);
    EXPECT_NE(shownSummary.find("[URL to save]\r\nhttps://www.example.jp/docs/index.html"), std::string::npos);
    EXPECT_NE(shownSummary.find("Update log (Qdx file): yes"), std::string::npos);
    // A fresh job has the result of a save that failed some files.
    EXPECT_NE(engine::CompletionText(job->ModeFlags(), false, job->ChosenSaveName(), job->Result()).find("コンプリート保存を終了しました"),
              std::string::npos);
    EXPECT_EQ(engine::ShownCompletionText(job->ModeFlags(), false, job->ChosenSaveName(), job->Result()),
              "The complete save of\r\n\r\n[docs.html]\r\n\r\nhas finished.\r\nBut some files could not be downloaded.");
}
