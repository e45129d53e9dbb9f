// QdxSuite: the catalogue of saved sites and files.
#include "platform/ProgramFolder.h"
#include "suite/qt/SuiteMain.h"

int main(int argc, char** argv) { return suiteqt::RunSuite(argc, argv, platform::ProgramFolder()); }
