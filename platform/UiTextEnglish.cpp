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
    {"Qdx-Error:1\r\n指定されたファイルはサポートされていない形式です。", "Qdx-Error:1\r\nThe file is not in a supported format."},
    {"Qdx-Error:2\r\n指定されたファイルが開けません。", "Qdx-Error:2\r\nThe file cannot be opened."},
    {"Error:1\r\n指定されたファイルはサポートされていない形式です。", "Error:1\r\nThe file is not in a supported format."},
    {"Error:2\r\n指定されたファイルは実体が存在しません。", "Error:2\r\nThe file does not exist."},
    {"Error:3\r\n指定されたファイルは、他のプロセスが使用している可能性があるため、アクセスを中止しました。",
     "Error:3\r\nThe file may be in use by another process, so it was not read."},
    {"保存データのフォルダが見つかりません（名前の変更や移動をした場合は元に戻してください）: %1",
     "The folder of the saved data was not found (if you renamed or moved it, put it back): %1"},
    {"保存済みサイトのログファイルが見つかりません: %1", "The log file of the saved site was not found: %1"},
    {"デフォルト（変更無し）", "Defaults (unchanged)"},
    {"上位階層の上限： %1", "Upper level limit: %1"},
    {"上位階層の上限： 0 （Default）", "Upper level limit: 0 (default)"},
    {"Agent利用", "Use agent"},
    {"強制変換", "Forced conversion"},
    {"Alias補正", "Alias correction"},
    {"データフォルダ作成", "Create data folder"},
    {"更新チェックファイル（Qdxファイル）作成", "Create update check file (Qdx file)"},
    {"外部パスの処理：有効", "Outside domains: save all"},
    {"外部パスの処理：選択", "Outside domains: save selected"},
    {"外部パスの処理：無効", "Outside domains: off"},
    {"追跡リンク選択", "Choose links to follow"},
    {"【リンク名】\r\n%1\r\n\r\n【登録パス】\r\n%2", "[Link name]\r\n%1\r\n\r\n[Path]\r\n%2"},
    {"%1に Shift-JIS で書けない文字があります: %2", "%1 holds a character that Shift-JIS cannot store: %2"},
    {"関連リンク名", "The link name"},
    {"関連リンクのパス", "The link path"},
    {"コメント", "The comment"},
    {"関連リンクに「__[」で始まる見出しの文字列は登録できません。", "A related link cannot contain a heading that starts with \"__[\"."},
    {"関連リンク名またはパスが長すぎます（999バイトまで）。", "The link name or path is too long (999 bytes at most)."},
    {"関連リンクはこれ以上登録できません。", "No more related links can be added."},
    {"関連リンクを書き込めません: %1", "Cannot write the related link: %1"},
    {"コメントに「__[」で始まる見出しの文字列は書けません。", "The comment cannot contain a heading that starts with \"__[\"."},
    {"コメントを書き込めません: %1", "Cannot write the comment: %1"},
    {"説明ログに書けない文字があります: %1", "The description log cannot hold a character: %1"},
    {"説明ログを書き込めません: %1", "Cannot write the description log: %1"},
    {"ファイルサイズは %1 です。", "The file size is %1."},
    {"[Error]ファイルサイズが取得できません。", "[Error]The file size is unknown."},
    {"[Error]ファイルサイズが取得できません。(File size is unknow because 503)",
     "[Error]The file size is unknown (the server answered 503)."},
    {"サーバーに接続しています･･･", "Connecting to the server..."},
    {"サーバーに接続しました。", "Connected to the server."},
    {"URLに接続しています･･･", "Opening the URL..."},
    {"URLに接続しました。", "Opened the URL."},
    {"ダウンロードしています･･･", "Downloading..."},
    {"[Error]何らかのエラーが発生しました。一定秒数待機後にリジュームを試みます･･･", "[Error]An error occurred. Resuming after a pause..."},
    {"ダウンロードに成功しました。", "Download succeeded."},
    {"[Error]サーバーが応答しません。(503 Service Temporarily Unavailable / Link Down) %1秒間待機後に再試行します･･･",
     "[Error]The server does not answer (503 Service Temporarily Unavailable / Link Down). Trying again in %1 seconds..."},
    {"[Error]指定されたファイルは存在しません。(404 Not Found.)", "[Error]The file does not exist (404 Not Found)."},
    {"[Error]ファイルを保存できませんでした。", "[Error]The file could not be saved."},
    {"[Error]連番ファイルの保存を中断しました。", "[Error]The serial save was broken off."},
    {"サイズ不明", "Size unknown"},
    {"応答無し", "No answer"},
    {"取得中", "Fetching"},
    {"接続中", "Connecting"},
    {"保存中", "Saving"},
    {"応答待機中", "Waiting for answer"},
    {"一時停止中", "Paused"},
    {"見つかりません", "Not found"},
    {"保存失敗", "Not saved"},
    {"待機中", "Waiting"},
    {"ファイルを保存できませんでした", "The file could not be saved"},
    {"接続が途中で切れました (%1)", "The connection broke off (%1)"},
    {"ネットワークエラー (%1)", "Network error (%1)"},
    {"リダイレクトが多すぎます (%1)", "Too many redirects (%1)"},
    {"ディスクの空き容量が足りません", "Not enough free disk space"},
    {"保存先に書き込めません（読み取り専用か、権限がありません）", "Cannot write to the save location (read-only, or no permission)"},
    {"ファイル名が長すぎます", "The file name is too long"},
    {"保存先のフォルダがありません", "The save folder does not exist"},
    {"ディスクに書き込めません", "Cannot write to the disk"},
    {"エラーページか、判定プラグインが拒否したファイルです", "An error page, or a file a check plug-in refused"},
    {"サーバーが混雑しています", "The server is busy"},
    {"ファイルが大きさの上限 (%1 MB, Sitrov.ini の [DownloadLimit] MaxFileSizeMB) を超えました",
     "The file exceeds the size limit (%1 MB, [DownloadLimit] MaxFileSizeMB in Sitrov.ini)"},
    {"ファイルが空です", "The file is empty"},
    {"!プラグイン規格エラー", "!Not a valid plug-in"},

    // --- scheduler, catalogue and album downloader (scheduler/, suite/, albumfetcher/)

    // --- the closing entry: keep it last
    {"", ""},
};

const size_t kEnglishTextCount = sizeof kEnglishTexts / sizeof kEnglishTexts[0];

}  // namespace platform
