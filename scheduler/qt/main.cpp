// QdXScheduler: runs a list of complete saves one after another.
#include <QApplication>

#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/QtText.h"
#include "scheduler/qt/ScheduleWindow.h"

int main(int argc, char** argv) {
    platformqt::ChooseHeadlessPlatformIfNoDisplay();
    QApplication app(argc, argv);
    // Only one word behind the program name counts ("ravevor"); anything else is ignored.
    const std::string word = argc > 1 ? argv[1] : "";
    schedulerqt::ScheduleWindow window(platform::ProgramFolder(), word, schedulerqt::DefaultSchedulerHooks());
    window.show();
    return app.exec();
}
