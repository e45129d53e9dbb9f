// The CPU occupancy popup: a track bar from 10 to 100 with four named levels.
#pragma once

#include <QDialog>

class QSlider;

namespace appqt {

class CpuPopup : public QDialog {
public:
    CpuPopup(QWidget* owner, int currentLevel);
    // The level the bar shows (the one "決定" returns).
    int Level() const;

private:
    QSlider* m_bar = nullptr;
};

// Runs the popup modally over `owner`; returns the level chosen, or `currentLevel` when the
// popup was closed without "決定". Without a display nobody can choose: the level stays.
int RunCpuPopup(QWidget* owner, int currentLevel);

}  // namespace appqt
