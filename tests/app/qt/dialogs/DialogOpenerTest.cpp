#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "app/qt/dialogs/DialogOpener.h"
#include "app/qt/dialogs/SettingsDialogs.h"
#include "engine/SaveJob.h"
#include "platform/qt/QtText.h"
#include "records/Settings.h"
#include "tests/app/qt/dialogs/DialogTestKit.h"

using dialogtest::DialogTest;
using testsupport::Sandbox;

namespace {

class DialogOpener : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        job.SetProgramFolder(programFolder);
    }

    // Opens `name` and, once it runs, hands the dialog to `act`; a dialog the action leaves
    // open is closed after a while so that no test can hang.
    int OpenAndAct(const std::string& name, std::function<void(QDialog*)> act, const appqt::DialogArgs& args = {}) {
        QTimer::singleShot(0, [act] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(dialog);
        });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] {
            ADD_FAILURE() << "dialog still open";
            if (QWidget* w = QApplication::activeModalWidget()) w->close();
        });
        guard.start(10000);
        return appqt::OpenDialog(name, nullptr, job, args);
    }

    engine::SaveJob job;
};

struct TableRow {
    const char* name;
    const char* title;
    int width, height;
};
const TableRow kTable[] = {
    {"VersionInfo", "バージョン情報", 360, 180},
    {"InitializeSiteDL", "サイト保存の環境編集", 460, 380},
    {"InitializeSrsFile", "連番保存の環境編集", 480, 360},
    {"InitializeExtReg", "Qdxファイルの環境編集", 480, 360},
    {"OutDomainSelectDlg", "外部ドメインのページタイトル一覧を取得中･･･", 520, 420},
    {"DropHtmlCutAdv", "ドロップファイルの処理", 400, 300},
    {"AnalysisLit", "ページ解析エラー", 360, 240},
    {"AnalysisStd", "ページ解析の詳細表示", 480, 340},
    {"InitializeOther", "その他の環境設定", 480, 360},
    {"ErrorLogViewer", "Sitrovaエラーログビューワー", 480, 480},
};

TEST_F(DialogOpener, EveryDialogHasTheTitleAndSizeOfTheTable) {
    for (const TableRow& row : kTable) {
        std::unique_ptr<QDialog> d(appqt::CreateDialogByName(row.name, nullptr, job, {}));
        ASSERT_NE(d, nullptr) << row.name;
        EXPECT_EQ(platformqt::FromQ(d->windowTitle()), row.title);
        EXPECT_EQ(d->objectName().toStdString(), row.name);
        EXPECT_GE(d->width(), row.width) << row.name;
        EXPECT_GE(d->height(), row.height) << row.name;
        const bool resizable = d->minimumSize() != d->maximumSize();
        EXPECT_EQ(resizable, std::string(row.name) == "ErrorLogViewer") << row.name;
    }
}

TEST_F(DialogOpener, TheCloseBoxEndsEveryDialogWithZero) {
    for (const TableRow& row : kTable) {
        EXPECT_EQ(OpenAndAct(row.name, [](QDialog* d) { d->close(); }), 0) << row.name;
    }
    EXPECT_EQ(IniBytes(), "<none>");
}

TEST_F(DialogOpener, OkEndsWithOneAndCancelWithZero) {
    auto click = [](int id) {
        return [id](QDialog* d) { d->findChild<QPushButton*>(QStringLiteral("ctl%1").arg(id))->click(); };
    };
    EXPECT_EQ(OpenAndAct("InitializeOther", click(1116)), 0);
    EXPECT_EQ(IniBytes(), "<none>");
    EXPECT_EQ(OpenAndAct("InitializeSrsFile", click(1065)), 1);
    EXPECT_EQ(OpenAndAct("InitializeSiteDL", click(1039)), 1);
    EXPECT_EQ(records::ReadBlogCutOff(job.IniPath()), 5);
    EXPECT_EQ(records::ReadSeriesError(job.IniPath()).retryCount, 3);
}

TEST_F(DialogOpener, ADialogOfTheSameNameIsNotOpenedTwice) {
    int second = 0, other = 0;
    const int result = OpenAndAct("VersionInfo", [&](QDialog* d) {
        second = appqt::OpenDialog("VersionInfo", d, job);
        other = appqt::OpenDialog("QdxComment", d, job);  // a different name still opens
        d->findChild<QPushButton*>(QStringLiteral("close"))->click();
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(second, -1);
    EXPECT_EQ(other, 0);
    // Once closed, it opens again.
    EXPECT_EQ(OpenAndAct("VersionInfo", [](QDialog* d) { d->close(); }), 0);
}

TEST_F(DialogOpener, UnknownNamesAndTheIndexedLinkWindowReturnAtOnce) {
    for (const char* name : {"", "NoSuchDialog", "QdxLinkAction", "versioninfo"}) {
        EXPECT_FALSE(appqt::IsDialogName(name)) << name;
        EXPECT_EQ(appqt::OpenDialog(name, nullptr, job), -1) << name;
    }
}

TEST_F(DialogOpener, RecordDialogsAreRunByTheSavedSiteWindows) {
    // Without a display the record windows end at once with 0 (nothing changed).
    for (const char* name : {"QdxComment", "QdxLinkAdd", "QdxLinkDel"}) {
        EXPECT_TRUE(appqt::IsDialogName(name));
        EXPECT_EQ(appqt::CreateDialogByName(name, nullptr, job, {}), nullptr);
        EXPECT_EQ(appqt::OpenDialog(name, nullptr, job), 0) << name;
        EXPECT_EQ(appqt::OpenDialog(name, nullptr, job), 0) << name << " again";
    }
}

TEST_F(DialogOpener, HelpButtonsTellWhenTheHelpCannotBeOpened) {
    struct Case {
        std::function<QDialog*()> make;
        int helpId;
    };
    const Case cases[] = {
        {[&] { return appqt::CreateSiteSaveSettingsDialog(nullptr, ini, programFolder); }, 1042},
        {[&] { return appqt::CreateSerialSettingsDialog(nullptr, ini, programFolder); }, 1072},
        {[&] { return appqt::CreateQdxFileSettingsDialog(nullptr, ini, programFolder); }, 1083},
        {[&] { return appqt::CreateOtherSettingsDialog(nullptr, ini, programFolder); }, 1119},
    };
    for (const Case& c : cases) {
        std::unique_ptr<QDialog> d(c.make());
        testing::internal::CaptureStderr();
        Click(d.get(), c.helpId);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("[Sitrova] "), std::string::npos) << c.helpId << ": " << said;
        EXPECT_NE(said.find("  が開けません。"), std::string::npos) << c.helpId << ": " << said;
        EXPECT_EQ(d->result(), 0);
    }
}

}  // namespace
