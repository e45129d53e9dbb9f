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
    {"タイトル取得に失敗しました（KvLibQ4.dllをロードできない）。", "Could not get the title (KvLibQ4.dll could not be loaded)."},
    {"タイトル取得に失敗しました（KvLibQ4.dll内の関数が呼び出せない）。",
     "Could not get the title (a function in KvLibQ4.dll could not be called)."},
    {"タイトル取得に失敗しました（ページアクセスに失敗）。", "Could not get the title (the page could not be read)."},
    {"CPU占有率：%1", "CPU usage: %1"},
    {"最小", "Minimum"},
    {"軽い", "Light"},
    {"最適", "Optimal"},
    {"最大", "Maximum"},
    {"登録する値が空です。", "The value to register is empty."},
    {"Shift-JIS で保存できない文字を含むため登録しません: %1", "Not registered: it holds a character Shift-JIS cannot store: %1"},
    {"ファイルが大きすぎます。", "The file is too large."},
    {"文書要素が qdxsuite ではありません。", "The document element is not qdxsuite."},
    {"カタログファイル %1 が壊れています（%2）。空のカタログで始めます。",
     "The catalogue file %1 is damaged (%2). Starting with an empty catalogue."},
    {"壊れたファイルは %1 として残しました。", "The damaged file was kept as %1."},
    {"壊れたファイルを退避できませんでした。", "The damaged file could not be moved aside."},
    {"カタログファイル %1 をロックできません（%2）。", "Cannot lock the catalogue file %1 (%2)."},
    {"Qdxファイルが見つかりません: %1", "Qdx file not found: %1"},
    {"登録の種類は QDX、FILE、SITE のどれかです: %1", "The kind of registration must be QDX, FILE or SITE: %1"},
    {"指定したファイルが見つかりませんでした。", "The file was not found."},
    {"指定したファイルが関連付けられていませんでした。", "No application is associated with the file."},
    {"OS がファイルへのアクセスを拒否しました。", "The system denied access to the file."},
    {"システム リソースが足りません。", "Not enough system resources."},
    {"Qdx-Error:1\r\n指定されたファイルはサポートされていない形式です。",
     "Qdx-Error:1\r\nThe file is in a format that is not supported."},
    {"Qdx-Error:2\r\n指定されたファイルが開けません。", "Qdx-Error:2\r\nThe file cannot be opened."},
    {"【コメントは登録されていません】", "[No comment]"},
    {"関連リンク", "Related links"},
    {"【登録がありません】", "[None]"},
    {"　%1", "  %1"},
    {"　※外部リンクファイル：有り", "  * Outside-domain link list: yes"},
    {"URLの取得に失敗しました。", "Could not get the URL."},
    {"%1 新%2 変%3 同%4 消%5 失%6", "%1 N%2 C%3 U%4 G%5 F%6"},
    {"%1年%2月%3日　%4:%5", "%1-%2-%3 %4:%5"},
    {"保存先のパスは無効です（予約デバイス名が含まれています）。", "The save path is not valid (it contains a reserved device name)."},
    {"保存先が正しくありません。", "The save location is not valid."},
    {"保存名に使用できない文字が含まれています。", "The save name contains characters that cannot be used."},

    // --- the closing entry: keep it last
    {"", ""},
};

const size_t kEnglishTextCount = sizeof kEnglishTexts / sizeof kEnglishTexts[0];

}  // namespace platform
