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
    // the .qdx association in "Qdxファイルの環境編集" (app/shell/AssociationTexts.cpp)
    {"Qdxファイル（*.qdx）は別のアプリケーションに関連付けられています。\r\n"
     "これを解除して、このアプリケーションに関連付けることができます。",
     "Qdx files (*.qdx) are associated with another application.\r\n"
     "You can remove that association and associate them with this application."},
    {"Qdxファイル（*.qdx）は現在[%1]に関連付けられています。\r\n"
     "これを解除して、このアプリケーションに関連付けることができます。",
     "Qdx files (*.qdx) are now associated with [%1].\r\n"
     "You can remove that association and associate them with this application."},
    {"Qdxファイル（*.qdx）は、\r\nこのアプリケーションに関連付けられています。",
     "Qdx files (*.qdx) are associated\r\nwith this application."},
    {"Qdxファイル（*.qdx）を、\r\nこのアプリケーションに関連付けることができます。",
     "You can associate Qdx files (*.qdx)\r\nwith this application."},
    {"*.qdx の関連付けを解除する", "Remove the *.qdx association"},
    {"関連付けを行う", "Associate"},
    {"拡張子登録／削除時になんらかのエラーが発生しました。\r\n\r\n"
     "※本ソフトを「管理者として実行」することで\r\n"
     "   解決する場合があります。\r\n"
     "　「管理者として実行」モードで、本ソフトを再起動しますか？\r\n"
     "   (起動時に、確認ダイアログが別途ポップアップします)\r\n\r\n"
     "--- [エラー詳細] ---\r\n",
     "An error occurred while registering or removing the file type.\r\n\r\n"
     "* Running this program as administrator\r\n"
     "   may solve it.\r\n"
     "  Restart this program as administrator?\r\n"
     "   (A confirmation dialog pops up when it starts.)\r\n\r\n"
     "--- [Error details] ---\r\n"},
    {"(拡張子キー内容の書き込みに失敗)\r\n", "(could not write the extension key's contents)\r\n"},
    {"(拡張子キーの作成に失敗)\r\n", "(could not create the extension key)\r\n"},
    {"(ファイルタイプキーの書き込みに失敗)\r\n", "(could not write the file type key)\r\n"},
    {"(ファイルタイプキーの作成に失敗)\r\n", "(could not create the file type key)\r\n"},
    {"(拡張子キー内容の削除に失敗)\r\n", "(could not delete the extension key's contents)\r\n"},
    {"(ファイルタイプキーの実行コマンド削除に失敗)\r\n", "(could not delete the file type key's open command)\r\n"},
    {"(ファイルタプキーにアクセスできない)\r\n", "(cannot access the file type key)\r\n"},
    {"(ファイルタイプキーのExplorerコマンド削除に失敗)\r\n",
     "(could not delete the file type key's Explorer command)\r\n"},
    {"(ファイルタイプキーの削除に失敗)\r\n", "(could not delete the file type key)\r\n"},
    {"(拡張子キーのExplorer用の内容削除に失敗)\r\n", "(could not delete the extension key's Explorer contents)\r\n"},
    {"(拡張子キーの削除に失敗)\r\n", "(could not delete the extension key)\r\n"},
    // help pages (app/shell/Help.cpp)
    {"%1  が開けません。", "Cannot open %1."},
    // what the page analysis says about a URL that is no HTML page (app/UrlHandlers.cpp,
    // and the input view's file kinds it shows, app/InputTexts.cpp)
    {"AlbumFetcherで、このアルバムの写真をまとめて保存できます。\r\n",
     "AlbumFetcher can save all the photos of this album at once.\r\n"},
    {"AlbumFetcherで写真を保存する", "Save the photos with AlbumFetcher"},
    {"フォトアルバム", "Photo album"},
    {"フォトアルバムの写真一覧のページです。\r\n", "This page lists the photos of a photo album.\r\n"},
    {"保存先のパスを入力してから、もう一度お試しください。\r\n", "Enter the save location, then try again.\r\n"},
    {"閉じる", "Close"},
    {"AlbumFetcherを起動できませんでした。\r\n（%1）\r\n", "Could not start AlbumFetcher.\r\n(%1)\r\n"},
    {"このページから、動画本体のみを保存することができます。\r\n",
     "You can save just the video itself from this page.\r\n"},
    {"動画本体のパスをURLにセットする", "Put the video's address in the URL"},
    {"動画本体のパスの取得に失敗しました。\r\n", "Could not find the video's address.\r\n"},
    {"YouTubeサイト", "YouTube site"},
    {"YouTube のページです。\r\n動画本体のURLを解析中･･･\r\n",
     "This is a YouTube page.\r\nLooking for the video's address...\r\n"},
    {"不明", "Unknown"},
    {"有効なURLを指定してください。", "Please enter a valid URL."},
    {"このファイル単体、\r\nもしくは連番ファイルを保存できます。",
     "You can save this file alone\r\nor as one of serially numbered files."},
    {"動的に生成されるWebページなので、サイト保存は行えません。\r\n"
     "このファイル単体、もしくは連番ファイルを保存できます。",
     "This web page is generated on request, so the site cannot be saved.\r\n"
     "You can save this file alone or as one of serially numbered files."},
    {"フラッシュファイル", "Flash file"},
    {"音ファイル", "Sound file"},
    {"動画ファイル", "Video file"},
    {"画像ファイル", "Picture file"},
    {"Cgiファイル", "CGI file"},
    {"Php/ASP.NETファイル", "PHP/ASP.NET file"},
    // why a settings dialog could not write the settings file (platform/ProfileFile.cpp)
    {"設定ファイルに書けない文字があります: %1", "The settings file cannot hold this character: %1"},
    {"設定ファイルに書けないキー名です: %1", "This key name cannot be written to the settings file: %1"},
    {"設定ファイルに改行を含む値は書けません: %1", "The settings file cannot hold a value with a line break: %1"},
    {"設定ファイルをロックできません: %1", "Cannot lock the settings file: %1"},
    {"設定ファイルが他のプロセスにロックされています: %1", "Another process has locked the settings file: %1"},
    {"設定ファイルに書けないセクション名です: %1", "This section name cannot be written to the settings file: %1"},
    {"設定ファイルを読めません: %1", "Cannot read the settings file: %1"},
    {"設定ファイルを書き込めません: %1", "Cannot write the settings file: %1"},
    // the named save options on the "Web" settings page (engine/NamedOptions.cpp, shown by
    // engine/qt/NamedOptionsForm.cpp)
    {"参照...", "Browse..."},
    {"クッキーファイル（cookies.txt 形式）", "Cookie file (cookies.txt format)"},
    {"robots.txt を無視する", "Ignore robots.txt"},
    {"同じホストへのリクエスト間隔（ミリ秒）", "Interval between requests to one host (ms)"},
    {"リクエスト間隔をランダムに変える（±50%）", "Vary the request interval at random (±50%)"},
    {"旧版を残す更新の回数（0 で残さない）", "Updates that keep old versions (0: keep none)"},
    {"認証情報ファイル（netrc 形式）", "Credentials file (netrc format)"},
    {"プロキシ（http://ホスト:ポート、socks5h://ホスト:ポート）", "Proxy (http://host:port, socks5h://host:port)"},
    {"プロキシを通さないホスト（カンマ区切り）", "Hosts reached without the proxy (comma-separated)"},
    {"プロキシの認証情報ファイル（netrc 形式）", "Proxy credentials file (netrc format)"},
    {"自己署名の証明書を受け入れる（証明書を検証しない）", "Accept self-signed certificates (no certificate check)"},
    {"サイトマップ（sitemap.xml）に載っているページも保存する", "Also save the pages listed in the sitemap (sitemap.xml)"},
    {"WARCファイル（ウェブアーカイブ）にも記録する", "Also record into a WARC file (web archive)"},
    {"WARCをWACZパッケージにもまとめる", "Also pack the WARC into a WACZ package"},
    {"スクリプト実行後のページを保存", "Save pages as they are after their scripts ran"},
    {"スクリプト実行後のページにスクリプトを残す", "Keep the scripts in pages saved after their scripts ran"},

    // --- records, update check, saved-site view and file downloads (records/, download/, rerevu/)

    // --- scheduler, catalogue and album downloader (scheduler/, suite/, albumfetcher/)

    // --- the closing entry: keep it last
    {"", ""},
};

const size_t kEnglishTextCount = sizeof kEnglishTexts / sizeof kEnglishTexts[0];

}  // namespace platform
