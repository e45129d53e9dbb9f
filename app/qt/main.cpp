#include "app/qt/SitrovaMain.h"

int main(int argc, char** argv) { return appqt::SitrovaMain(argc, argv); }
