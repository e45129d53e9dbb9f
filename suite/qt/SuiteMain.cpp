#include "suite/qt/SuiteMain.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "platform/InstanceBlock.h"
#include "platform/qt/MessageBox.h"
#include "suite/Catalogue.h"
#include "suite/HandOver.h"
#include "suite/Registration.h"
#include "suite/qt/SuiteWindow.h"

namespace suiteqt {

int RegisterFromArguments(const std::vector<std::string>& args, const std::string& programFolder) {
    suite::Registration registration;
    if (!suite::RegistrationFromArguments(args, registration)) return 0;
    if (suite::SendHandOver(registration) == suite::HandOverDone) return 1;
    // Nobody running (or it did not answer): the file is changed under its lock.
    std::string message;
    const int written = suite::RegisterInFile(programFolder + "/" + suite::kCatalogueFileName, registration, &message);
    if (!message.empty()) std::fprintf(stderr, "QdxSuite: %s\n", message.c_str());
    (void)written;
    return 1;
}

int RunSuite(int argc, char** argv, const std::string& programFolder) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    if (args.size() >= 2) {
        (void)RegisterFromArguments(args, programFolder);
        return 0;
    }
    platform::InstanceBlock instance;
    if (instance.CreateAndRegister(suite::kInstanceName) == platform::InstanceBlock::OwnedElsewhere) return 0;

    platformqt::ChooseHeadlessPlatformIfNoDisplay();
    QApplication app(argc, argv);
    suite::Catalogue catalogue(programFolder + "/" + suite::kCatalogueFileName);
    SuiteWindow window(programFolder, catalogue, DefaultSuiteHooks(programFolder));
    window.show();
    QTimer front;
    QObject::connect(&front, &QTimer::timeout, &window, [&] {
        if (instance.TakeFrontRequest()) {
            window.showNormal();
            window.raise();
            window.activateWindow();
        }
    });
    front.start(500);
    const int code = app.exec();
    instance.Release();
    return code;
}

}  // namespace suiteqt
