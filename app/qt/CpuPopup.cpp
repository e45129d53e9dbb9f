#include "app/qt/CpuPopup.h"

#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "platform/qt/MessageBox.h"

namespace appqt {

int RunCpuPopup(QWidget* owner, int currentLevel) {
    if (platformqt::IsHeadless() && !owner) return currentLevel;
    QDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("QdxPopWinMini_CpuOccupation"));
    dialog.setWindowTitle(QStringLiteral("Cpu占有率を指定して下さい。"));
    dialog.resize(320, 160);
    auto* grid = new QGridLayout(&dialog);
    // Position 110 - L keeps the top of the bar at 100.
    auto* bar = new QSlider(Qt::Vertical, &dialog);
    bar->setObjectName(QStringLiteral("trackbar"));
    bar->setRange(10, 100);
    bar->setInvertedAppearance(true);
    bar->setValue(110 - std::clamp(currentLevel, 10, 100));
    grid->addWidget(bar, 0, 0, 4, 1);
    auto* edit = new QLineEdit(&dialog);
    edit->setObjectName(QStringLiteral("level"));
    edit->setReadOnly(true);
    auto show = [bar, edit] { edit->setText(QString::number(110 - bar->value())); };
    show();
    QObject::connect(bar, &QSlider::valueChanged, &dialog, show);
    const struct { const char* name; int level; } levels[] = {{"最大", 100}, {"最適", 80}, {"軽い", 40}, {"最小", 10}};
    int row = 0;
    for (const auto& l : levels) {
        auto* radio = new QRadioButton(QString::fromUtf8(l.name), &dialog);
        const int level = l.level;
        QObject::connect(radio, &QRadioButton::clicked, &dialog, [bar, level] { bar->setValue(110 - level); });
        grid->addWidget(radio, row++, 1);
    }
    grid->addWidget(new QLabel(QStringLiteral("Cpu占有率："), &dialog), 0, 2);
    grid->addWidget(edit, 1, 2);
    auto* decide = new QPushButton(QStringLiteral("決定"), &dialog);
    decide->setDefault(true);
    QObject::connect(decide, &QPushButton::clicked, &dialog, &QDialog::accept);
    grid->addWidget(decide, 3, 2);
    if (dialog.exec() != QDialog::Accepted) return currentLevel;
    return 110 - bar->value();
}

}  // namespace appqt
