// AlbumFetcher: saves the photos of one online album into a folder.
#include <QApplication>

#include "albumfetcher/qt/AlbumWindow.h"
#include "platform/HttpClient.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBox.h"

int main(int argc, char** argv) {
    platformqt::ChooseHeadlessPlatformIfNoDisplay();
    platform::HttpGlobalInit();
    QApplication application(argc, argv);
    std::vector<std::string> args;
    for (int i = 1; i < argc && args.size() < 3; ++i) args.emplace_back(argv[i]);
    albumqt::AlbumWindow window(args, platform::ProgramFolder(), albumqt::DefaultAlbumHooks());
    window.show();
    (void)application.exec();
    return 0;
}
