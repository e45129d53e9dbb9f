// The two small dialogs of the scheduler: the CPU level ("QdXSchdCpu") and the version
// information ("QdXSchdVer").
#pragma once

class QDialog;
class QWidget;

namespace schedulerqt {

enum CpuChoice : int { CpuLowest = 1024, CpuLight = 1025, CpuBalanced = 1026, CpuHighest = 1027 };

// OK: the id of the checked level, or 0 when none was checked; Cancel: 0.
int RunCpuDialog(QWidget* owner);
void RunVersionDialog(QWidget* owner);

// The dialogs themselves, for pictures and tests.
QDialog* MakeCpuDialog(QWidget* owner);
QDialog* MakeVersionDialog(QWidget* owner);

}  // namespace schedulerqt
