// The 26 small icons of the schedule list, drawn here: finished, running, and one for each
// combination of record file / data folder with agent, forced conversion and alias options.
#pragma once

#include <QIcon>

namespace schedulerqt {

// The icon at `index` (0..25) of the list's image list (names in scheduler::IconName).
QIcon ScheduleIcon(int index);
// The program's own icon ("QdXSchdIcon").
QIcon SchedulerIcon();

}  // namespace schedulerqt
