#include "app/qt/CpuPopup.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <algorithm>

#include "platform/qt/MessageBox.h"
#include "platform/qt/UiText.h"

namespace appqt {

CpuPopup::CpuPopup(QWidget* owner, int currentLevel) : QDialog(owner) {
    setObjectName(QStringLiteral("QdxPopWinMini_CpuOccupation"));
    setWindowTitle(UiText::tr("Cpu占有率を指定して下さい。"));
    resize(320, 160);
    auto* grid = new QGridLayout(this);
    // Position 110 - L keeps the top of the bar at 100.
    m_bar = new QSlider(Qt::Vertical, this);
    m_bar->setObjectName(QStringLiteral("trackbar"));
    m_bar->setRange(10, 100);
    m_bar->setInvertedAppearance(true);
    m_bar->setValue(110 - std::clamp(currentLevel, 10, 100));
    grid->addWidget(m_bar, 0, 0, 4, 1);
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("level"));
    edit->setReadOnly(true);
    auto show = [this, edit] { edit->setText(QString::number(Level())); };
    show();
    connect(m_bar, &QSlider::valueChanged, this, show);
    const struct {
        const char* name;
        int level;
    } levels[] = {{QT_TRANSLATE_NOOP("UiText", "最大"), 100},
                  {QT_TRANSLATE_NOOP("UiText", "最適"), 80},
                  {QT_TRANSLATE_NOOP("UiText", "軽い"), 40},
                  {QT_TRANSLATE_NOOP("UiText", "最小"), 10}};
    int row = 0;
    for (const auto& l : levels) {
        auto* radio = new QRadioButton(platformqt::Ui(l.name), this);
        const int level = l.level;
        connect(radio, &QRadioButton::clicked, this, [this, level] { m_bar->setValue(110 - level); });
        grid->addWidget(radio, row++, 1);
    }
    grid->addWidget(new QLabel(UiText::tr("Cpu占有率："), this), 0, 2);
    grid->addWidget(edit, 1, 2);
    auto* decide = new QPushButton(UiText::tr("決定"), this);
    decide->setObjectName(QStringLiteral("decide"));
    decide->setDefault(true);
    connect(decide, &QPushButton::clicked, this, &QDialog::accept);
    grid->addWidget(decide, 3, 2);
}

int CpuPopup::Level() const { return 110 - m_bar->value(); }

int RunCpuPopup(QWidget* owner, int currentLevel) {
    if (platformqt::IsHeadless()) return currentLevel;
    CpuPopup popup(owner, currentLevel);
    if (popup.exec() != QDialog::Accepted) return currentLevel;
    return popup.Level();
}

}  // namespace appqt
