// The CPU occupancy popup: a track bar from 10 to 100 with four named levels.
#pragma once

class QWidget;

namespace appqt {

// Runs the popup modally over `owner`; returns the level chosen, or `currentLevel` when the
// popup was closed without "決定".
int RunCpuPopup(QWidget* owner, int currentLevel);

}  // namespace appqt
