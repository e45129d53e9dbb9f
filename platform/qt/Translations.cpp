#include <QCoreApplication>
#include <QString>
#include <QTranslator>
#include <cstdio>

#include "platform/UiLanguage.h"
#include "platform/qt/UiText.h"

namespace platformqt {

int InstallTranslations(const std::string& programFolder) {
    if (!platform::InEnglish()) return 1;
    auto* translator = new QTranslator(QCoreApplication::instance());
    const std::string file = programFolder + "/" + kEnglishTranslationFile;
    if (!translator->load(QString::fromStdString(file))) {
        std::fprintf(stderr, "Sitrova: the English window texts (%s) are missing; windows stay Japanese.\n",
                     file.c_str());
        delete translator;
        return 0;
    }
    QCoreApplication::installTranslator(translator);
    return 1;
}

}  // namespace platformqt
