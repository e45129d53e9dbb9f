// QdXScheduler: runs a list of complete saves one after another.
#include <QApplication>

#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/QtText.h"
#include "scheduler/qt/ScheduleWindow.h"

int main(int argc, char** argv) {
    platformqt::ChooseHeadlessPlatformIfNoDisplay();
    QApplication app(argc, argv);
    // The text behind the program name counts only when it is the one word "ravevor".
    std::string word;
    for (int i = 1; i < argc; ++i) word += (i > 1 ? " " : "") + std::string(argv[i]);
    schedulerqt::ScheduleWindow window(platform::ProgramFolder(), word, schedulerqt::DefaultSchedulerHooks());
    window.show();
    return app.exec();
}
