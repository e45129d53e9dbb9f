// The one export of the window library that the Sitrova program loads beside itself.
#include "app/qt/SitrovaMain.h"

extern "C" __attribute__((visibility("default"))) int SitrovaWindowsMain(int argc, char** argv) {
    return appqt::SitrovaWindowsMain(argc, argv);
}
