// The English of the texts that reach the user outside the windows (see platform/UiText.h).
// Keys are the Japanese texts exactly as the call sites write them; "%1" … stand for the
// values TrArgs fills in. Keep the sections: each holds one part of the suite.
#include "platform/UiText.h"

namespace platform {

const UiTextPair kEnglishTexts[] = {
    // --- program start and usage (platform/, every program's --help and --version)

    // --- the console tool (cui/)

    // --- Sitrova's command line, start and unattended messages (app/ start-up and exit)

    // --- texts the main window and the save's progress view show (app/, engine/)

    // --- settings dialogs (app/shell/ and what the dialogs take from app/)

    // --- records, update check, saved-site view and file downloads (records/, download/, rerevu/)

    // --- scheduler, catalogue and album downloader (scheduler/, suite/, albumfetcher/)

    // --- the closing entry: keep it last
    {"", ""},
};

const size_t kEnglishTextCount = sizeof kEnglishTexts / sizeof kEnglishTexts[0];

}  // namespace platform
