#include "scheduler/qt/SchedulerDialogs.h"

#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <string>

#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"
#include "platform/Version.h"
#include "scheduler/qt/ScheduleIcons.h"

namespace schedulerqt {

using platformqt::ToQ;

QDialog* MakeCpuDialog(QWidget* owner) {
    auto* dialog = new QDialog(owner);
    dialog->setObjectName(QStringLiteral("QdXSchdCpu"));
    dialog->setWindowTitle(UiText::tr("CPU占有率"));
    auto* layout = new QVBoxLayout(dialog);
    auto* group = new QButtonGroup(dialog);
    group->setObjectName(QStringLiteral("levels"));
    const struct {
        const char* text;
        int id;
    } levels[] = {{QT_TRANSLATE_NOOP("UiText", "最大"), CpuHighest},
                  {QT_TRANSLATE_NOOP("UiText", "最適"), CpuBalanced},
                  {QT_TRANSLATE_NOOP("UiText", "軽い"), CpuLight},
                  {QT_TRANSLATE_NOOP("UiText", "最小"), CpuLowest}};
    for (const auto& level : levels) {
        auto* radio = new QRadioButton(UiText::tr(level.text), dialog);
        radio->setObjectName(QStringLiteral("level%1").arg(level.id));
        group->addButton(radio, level.id);
        layout->addWidget(radio);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, [dialog, group] {
        dialog->done(group->checkedId() > 0 ? group->checkedId() : 0);
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, [dialog] { dialog->done(0); });
    layout->addWidget(buttons);
    return dialog;
}

int RunCpuDialog(QWidget* owner) {
    QDialog* dialog = MakeCpuDialog(owner);
    const int result = dialog->exec();
    delete dialog;
    return result >= CpuLowest && result <= CpuHighest ? result : 0;
}

QDialog* MakeVersionDialog(QWidget* owner) {
    auto* dialog = new QDialog(owner);
    dialog->setObjectName(QStringLiteral("QdXSchdVer"));
    dialog->setWindowTitle(UiText::tr("バージョン情報"));
    auto* layout = new QVBoxLayout(dialog);
    auto* icon = new QLabel(dialog);
    icon->setPixmap(SchedulerIcon().pixmap(32, 32));
    layout->addWidget(icon);
    const QString version = ToQ(std::string("Version ") + platform::kSuiteVersion + " (Linux)");
    for (const QString& line : {UiText::tr("Sitrovaスケジューラー"), version, QStringLiteral("Sitrova project"),
                                UiText::tr("コンプリート保存を順番に実行します。")})
        layout->addWidget(new QLabel(line, dialog));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    layout->addWidget(buttons);
    return dialog;
}

void RunVersionDialog(QWidget* owner) {
    QDialog* dialog = MakeVersionDialog(owner);
    dialog->exec();
    delete dialog;
}

}  // namespace schedulerqt
