// "サイト保存の環境編集": the default options of a complete save (DefMode) and the blog depth
// correction (BlogCutOff).
#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/qt/dialogs/DialogKit.h"
#include "app/qt/dialogs/SettingsDialogs.h"
#include "records/Settings.h"

namespace appqt {

namespace {

constexpr uint32_t kBitDataFolder = 0x100;
constexpr uint32_t kBitUpdateLog = 0x200;
constexpr uint32_t kBitExternalOn = 0x10;
constexpr uint32_t kBitExternalSelect = 0x20;
constexpr uint32_t kBitNoIndexCompletion = 0x4000;  // the check box shows the completion, so inverted
constexpr uint32_t kBitCloseWithoutAsking = records::kDefModeCloseWhenDone;
constexpr uint32_t kBitOpenWhenDone = records::kDefModeOpenWhenDone;
constexpr uint32_t kBitPhpAsHtml = 0x80000;
constexpr uint32_t kBitPreview = 0x100000;
constexpr uint32_t kBitNoRetry = 0x800000;
constexpr uint32_t kBitNo404Check = 0x1000000;  // inverted like 0x4000

struct SiteSaveControls {
    QCheckBox* dataFolder = nullptr;      // 1031
    QCheckBox* updateLog = nullptr;       // 1032
    QRadioButton* extOff = nullptr;       // 1033
    QRadioButton* extOn = nullptr;        // 1034
    QRadioButton* extSelect = nullptr;    // 1035
    QCheckBox* indexCompletion = nullptr; // 1036
    QCheckBox* openWhenDone = nullptr;    // 1037
    QCheckBox* closeNoAsk = nullptr;      // 1038
    QCheckBox* phpAsHtml = nullptr;       // 1044
    QCheckBox* preview = nullptr;         // 1045
    QCheckBox* noRetry = nullptr;         // 1046
    QCheckBox* notFound404 = nullptr;     // 1047
    QCheckBox* blogDepth = nullptr;       // 1049
};

// "終了時にファイルを開く" only makes sense when the window closes by itself.
void CoupleOpenWhenDone(const SiteSaveControls& c, bool clearWhenOff) {
    const bool on = c.closeNoAsk->isChecked();
    if (!on && clearWhenOff) c.openWhenDone->setChecked(false);
    c.openWhenDone->setEnabled(on);
}

void ShowDefMode(const SiteSaveControls& c, uint32_t mode) {
    c.dataFolder->setChecked(mode & kBitDataFolder);
    c.updateLog->setChecked(mode & kBitUpdateLog);
    // 0x10 wins over 0x20 when both are set: the crawl follows such links without asking.
    if (mode & kBitExternalOn)
        c.extOn->setChecked(true);
    else if (mode & kBitExternalSelect)
        c.extSelect->setChecked(true);
    else
        c.extOff->setChecked(true);
    c.indexCompletion->setChecked(!(mode & kBitNoIndexCompletion));
    c.closeNoAsk->setChecked(mode & kBitCloseWithoutAsking);
    c.openWhenDone->setChecked(mode & kBitOpenWhenDone);
    c.phpAsHtml->setChecked(mode & kBitPhpAsHtml);
    c.preview->setChecked(mode & kBitPreview);
    c.noRetry->setChecked(mode & kBitNoRetry);
    c.notFound404->setChecked(!(mode & kBitNo404Check));
    // Opening the dialog must not change a stored setting, so the box keeps its state here.
    CoupleOpenWhenDone(c, false);
}

uint32_t DialogBits(const SiteSaveControls& c) {
    uint32_t bits = 0;
    if (c.dataFolder->isChecked()) bits |= kBitDataFolder;
    if (c.updateLog->isChecked()) bits |= kBitUpdateLog;
    if (c.extOn->isChecked()) bits |= kBitExternalOn;
    if (c.extSelect->isChecked()) bits |= kBitExternalSelect;
    if (!c.indexCompletion->isChecked()) bits |= kBitNoIndexCompletion;
    if (c.closeNoAsk->isChecked()) bits |= kBitCloseWithoutAsking;
    if (c.openWhenDone->isChecked()) bits |= kBitOpenWhenDone;
    if (c.phpAsHtml->isChecked()) bits |= kBitPhpAsHtml;
    if (c.preview->isChecked()) bits |= kBitPreview;
    if (c.noRetry->isChecked()) bits |= kBitNoRetry;
    if (!c.notFound404->isChecked()) bits |= kBitNo404Check;
    return bits;
}

QGroupBox* SaveFormGroup(QDialog* d, SiteSaveControls& c) {
    ColumnGroup group(d, 1028, QT_TRANSLATE_NOOP("UiText", "保存形式"));
    c.dataFolder = group.Check(1031, QT_TRANSLATE_NOOP("UiText", "データフォルダ"));
    c.updateLog = group.Check(1032, QT_TRANSLATE_NOOP("UiText", "更新ログ（*.qdx）"));
    return group.Group();
}

QGroupBox* ExternalGroup(QDialog* d, SiteSaveControls& c) {
    QGroupBox* group = NewGroup(d, 1029, QT_TRANSLATE_NOOP("UiText", "外部パスの処理"));
    auto* box = new QHBoxLayout(group);
    box->addWidget(c.extOff = NewRadio(group, 1033, QT_TRANSLATE_NOOP("UiText", "無効")));
    box->addWidget(c.extOn = NewRadio(group, 1034, QT_TRANSLATE_NOOP("UiText", "有効")));
    box->addWidget(c.extSelect = NewRadio(group, 1035, QT_TRANSLATE_NOOP("UiText", "選択")));
    return group;
}

QGroupBox* StartEndGroup(QDialog* d, SiteSaveControls& c) {
    ColumnGroup group(d, 1030, QT_TRANSLATE_NOOP("UiText", "起動と終了時の処理"));
    c.indexCompletion = group.Check(1036, QT_TRANSLATE_NOOP("UiText", "index.html省略補正"));
    c.closeNoAsk = group.Check(1038, QT_TRANSLATE_NOOP("UiText", "終了時は確認せずに閉じる"));
    c.openWhenDone = group.Check(1037, QT_TRANSLATE_NOOP("UiText", "終了時にファイルを開く"));
    return group.Group();
}

QGroupBox* FileGroup(QDialog* d, SiteSaveControls& c) {
    ColumnGroup group(d, 1043, QT_TRANSLATE_NOOP("UiText", "特定ファイルの処理"));
    c.phpAsHtml = group.Check(1044, QT_TRANSLATE_NOOP("UiText", "Php/Asp/SHtmlページをHtmlページとして扱う"));
    c.preview = group.Check(1045, QT_TRANSLATE_NOOP("UiText", "ページプレビューを利用する"));
    c.noRetry = group.Check(1046, QT_TRANSLATE_NOOP("UiText", "DL失敗時は再試行しない"));
    // The 404 check's text runs over two lines of the one box (its second line is 1048's text).
    c.notFound404 =
        group.Check(1047, QT_TRANSLATE_NOOP("UiText", "タイトルに「404」を含むページを\nNotFoundとして扱う"));
    c.blogDepth = group.Check(1049, QT_TRANSLATE_NOOP("UiText", "ブログでは追跡深度を補正する(実験的)"));
    group.Stretch();
    return group.Group();
}

}  // namespace

QDialog* CreateSiteSaveSettingsDialog(QWidget* owner, const std::string& iniPath, const std::string& programFolder) {
    QDialog* d = NewDialog(owner, "InitializeSiteDL", QT_TRANSLATE_NOOP("UiText", "サイト保存の環境編集"));
    auto c = SiteSaveControls{};
    auto* grid = new QGridLayout(d);
    grid->addWidget(SaveFormGroup(d, c), 0, 0);
    grid->addWidget(ExternalGroup(d, c), 1, 0);
    grid->addWidget(StartEndGroup(d, c), 2, 0);
    grid->addWidget(FileGroup(d, c), 0, 1, 3, 1);

    const auto save = [c, iniPath](std::string& error) {
        return records::SaveSiteSaveSettings(iniPath, DialogBits(c), c.blogDepth->isChecked(), &error);
    };
    const auto showDefaults = [c] { ShowDefMode(c, records::kDefModeDefault); };
    grid->addLayout(NewSettingsButtons(d, {.ok = 1039, .cancel = 1040, .help = 1042, .defaults = 1041}, programFolder,
                                       "/2008320105935576.htm", save, showDefaults),
                    3, 0, 1, 2);

    ShowDefMode(c, records::ReadDefMode(iniPath));
    c.blogDepth->setChecked(records::ReadBlogCutOff(iniPath) != records::kBlogCutOffUnlimited);

    QObject::connect(c.closeNoAsk, &QCheckBox::clicked, d, [c] { CoupleOpenWhenDone(c, true); });
    FinishDialog(d, 460, 380);
    return d;
}

}  // namespace appqt
