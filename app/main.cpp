#include "app/SitrovaMain.h"

int main(int argc, char** argv) { return app::SitrovaMain(argc, argv); }
