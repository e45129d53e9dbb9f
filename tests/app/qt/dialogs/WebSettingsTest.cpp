#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>

#include "app/qt/dialogs/SettingsDialogs.h"
#include "engine/SaveJob.h"
#include "tests/app/qt/dialogs/DialogTestKit.h"

using dialogtest::DialogTest;
using testsupport::Sandbox;

namespace {

class WebSettings : public DialogTest {};

TEST_F(WebSettings, EachNamedOptionHasAControlAndOkStoresThemForTheSettingsAndTheJob) {
    engine::SaveJob job;
    job.SetProgramFolder(programFolder);
    Sandbox::WriteFile(ini, "[WebOptions]\r\ncookie-file=/home/me/old.txt\r\n");
    std::unique_ptr<QDialog> d(appqt::CreateWebSettingsDialog(nullptr, job));
    auto* cookieFile = d->findChild<QLineEdit*>("opt-cookie-file");
    ASSERT_NE(cookieFile, nullptr);
    EXPECT_EQ(cookieFile->text().toStdString(), "/home/me/old.txt");
    Click(d.get(), 1204);  // back to the defaults
    EXPECT_EQ(cookieFile->text().toStdString(), "");
    cookieFile->setText(" /home/me/cookies.txt ");
    Click(d.get(), 1201);
    EXPECT_EQ(d->result(), 1);
    EXPECT_EQ(IniBytes(), "[WebOptions]\r\ncookie-file=/home/me/cookies.txt\r\nignore-robots=0\r\nwait-ms=0\r\nwait-random=0\r\n"
              "history-runs=5\r\ncredentials-file=\r\nproxy=\r\nno-proxy=\r\nproxy-credentials-file=\r\naccept-self-signed=0\r\nsitemaps=0\r\nwarc=0\r\nwacz=0\r\nrender=0\r\nrender-keep-scripts=0\r\n");
    EXPECT_EQ(job.Named().cookieFile, "/home/me/cookies.txt");
}

TEST_F(WebSettings, OkKeepsTheOptionsTheSaveWasGivenOnItsCommandLineUnlessChangedHere) {
    engine::SaveJob job;
    job.SetProgramFolder(programFolder);
    Sandbox::WriteFile(ini, "[WebOptions]\r\nwait-ms=100\r\n");
    engine::NamedOptions given;  // "Sitrova --sitemaps=1 --wait-ms=500 ..."
    given.sitemaps = true;
    given.waitMs = 500;
    job.SetNamed(given);
    std::unique_ptr<QDialog> d(appqt::CreateWebSettingsDialog(nullptr, job));
    EXPECT_EQ(d->findChild<QSpinBox*>("opt-wait-ms")->value(), 100);  // the page shows the settings file
    d->findChild<QCheckBox*>("opt-ignore-robots")->setChecked(true);
    d->findChild<QSpinBox*>("opt-wait-ms")->setValue(200);
    Click(d.get(), 1201);
    EXPECT_EQ(d->result(), 1);
    EXPECT_TRUE(job.Named().ignoreRobots);
    EXPECT_EQ(job.Named().waitMs, 200);
    EXPECT_TRUE(job.Named().sitemaps);
    EXPECT_NE(IniBytes().find("sitemaps=0\r\n"), std::string::npos);
}

}  // namespace
