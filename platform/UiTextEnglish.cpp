// The English of the texts that reach the user outside the windows (see platform/UiText.h).
// Keys are the Japanese texts exactly as the call sites write them; "%1" … stand for the
// values TrArgs fills in. Keep the sections: each holds one part of the suite.
#include "platform/UiText.h"

namespace platform {

const UiTextPair kEnglishTexts[] = {
    // --- program start and usage (platform/, every program's --help and --version)
    {"終了コード:\n"
     "  0  指定どおりに終わりました。\n"
     "  1  終わりましたが、失敗したファイルがあります（または途中で止められました）。\n"
     "  2  引数が正しくないか、実行できない仕事です（画面がなく、することもない場合も）。\n"
     "  3  ネットワークの失敗: 開始ページやファイルを取得できず、何も保存していません。\n"
     "  4  ディスクの失敗: 保存先に書き込めません。\n"
     "  5  別の保存が同じ保存先を使っています。\n"
     "  6  Suite のプログラム、ライブラリ、ファイルが見つからないか、起動できません。\n",
     "Exit codes:\n"
     "  0  Finished as asked.\n"
     "  1  Finished, but some files failed (or the work was stopped part way).\n"
     "  2  The arguments are wrong, or the job cannot run (also: no display and nothing to do).\n"
     "  3  Network failure: the start page or file could not be fetched; nothing was saved.\n"
     "  4  Disk failure: the save location cannot be written to.\n"
     "  5  Another save is using the same save location.\n"
     "  6  A program, library or file of the suite is missing or cannot be started.\n"},
    {"画面がないため、ウィンドウを開けません。",
     "No display: cannot open a window."},
    {"使い方: QdXScheduler\n"
     "  コンプリート保存の予定表を開き、並べた保存を順に Sitrova で行います。予定表は\n"
     "  ウィンドウで操作するため、画面が必要です（画面のない環境では SitrovaCui /some や\n"
     "  Sitrova SomeComplete,... を使ってください）。\n"
     "  -h, --help  この使い方を表示します。    --version  バージョンを表示します。\n",
     "Usage: QdXScheduler\n"
     "  Opens the scheduler of complete saves and has Sitrova make the listed saves one after\n"
     "  another. The scheduler is worked in its window and needs a display (without a display,\n"
     "  use SitrovaCui /some or Sitrova SomeComplete,...).\n"
     "  -h, --help  Shows this usage.    --version  Shows the version.\n"},
    {"使い方: QdxSuite [QDX Qdxファイル | FILE URL 保存したファイル | SITE ...]\n"
     "  引数なし: 保存したサイトとファイルの一覧を開きます（画面が必要です）。\n"
     "  QDX  Qdxファイルを一覧に登録します（相対パスは作業フォルダから見たパスです）。\n"
     "  FILE 保存したファイルとそのURLを一覧に登録します。\n"
     "  SITE 受け付けますが、何もしません。\n"
     "  -h, --help  この使い方を表示します。    --version  バージョンを表示します。\n",
     "Usage: QdxSuite [QDX qdx-file | FILE URL saved-file | SITE ...]\n"
     "  No arguments: opens the catalogue of saved sites and files (needs a display).\n"
     "  QDX  Adds a Qdx file to the catalogue (a relative path is taken from the working folder).\n"
     "  FILE Adds a saved file and its URL to the catalogue.\n"
     "  SITE Accepted, but does nothing.\n"
     "  -h, --help  Shows this usage.    --version  Shows the version.\n"},
    {"使い方: AlbumFetcher [アルバムのURL [保存先フォルダ [auto]]]\n"
     "  アルバムの写真を、保存先フォルダに保存します。auto を付けると、操作なしで保存を始め、\n"
     "  終わると終了します。画面のない環境では auto が必要です。\n"
     "  -h, --help  この使い方を表示します。    --version  バージョンを表示します。\n",
     "Usage: AlbumFetcher [album-URL [save-folder [auto]]]\n"
     "  Saves the photos of an album into the save folder. With auto, the save starts without\n"
     "  any input and the program ends when it is done. Without a display, auto is required.\n"
     "  -h, --help  Shows this usage.    --version  Shows the version.\n"},
    {"Qdxファイルが見つかりません: %1",
     "Qdx file not found: %1"},
    {"登録の種類は QDX、FILE、SITE のどれかです: %1",
     "The kind of registration must be QDX, FILE or SITE: %1"},

    // --- the console tool (cui/)
    {"\n"
     "SitrovaCui オプション [ファイルパス] [Url]\n"
     "Sitrova をコマンドラインから利用するためのコマンド。\n"
     "\n"
     "オプションは以下のものが指定できます。\n"
     "\n"
     "/?　　　　このコマンドの使い方を表示します。\n"
     "\n"
     "/readme   SitrovaのReadMeファイルを表示します。\n"
     "\n"
     "/cut　　　'ファイルパス'に指定したQdxファイルに対応する保存済み\n"
     "          HTMLファイルから広告を削除します。\n"
     "\n"
     "/url　　　'URL'（コンプリート保存するサイト）と'ファイルパス'（保存先）を\n"
     "          指定した状態でSitrovaを起動します。\n"
     "\n"
     "/some     'ファイルパス'に指定したXMLファイルに従い、コンプリート保存を、\n"
     "          もしくは単体／連番保存を、行います。動作中のユーザ入力は\n"
     "          一切不要です\n"
     "\n"
     "/template オプション'/some'で指定するXMLファイルの雛形ファイルを\n"
     "          'ファイルパス'に指定したファイルに書き出します。\n"
     "          ファイルが存在する場合には失敗します。\n"
     "\n"
     "/version  SitrovaCuiのバージョン情報を表示します。\n"
     "/v\n"
     "\n",
     "\n"
     "SitrovaCui option [file-path] [Url]\n"
     "A command for using Sitrova from the command line.\n"
     "\n"
     "The following options can be given.\n"
     "\n"
     "/?        Shows how to use this command.\n"
     "\n"
     "/readme   Shows Sitrova's ReadMe file.\n"
     "\n"
     "/cut      Removes advertisements from the saved HTML files of the\n"
     "          Qdx file given as 'file-path'.\n"
     "\n"
     "/url      Starts Sitrova with 'URL' (the site for the complete save)\n"
     "          and 'file-path' (the save location) filled in.\n"
     "\n"
     "/some     Makes a complete save, or a file save or serial save, as\n"
     "          the XML file given as 'file-path' describes. No user input\n"
     "          is needed while it runs.\n"
     "\n"
     "/template Writes a template of the XML file that the option '/some'\n"
     "          takes to the file given as 'file-path'.\n"
     "          Fails when the file already exists.\n"
     "\n"
     "/version  Shows the version of SitrovaCui.\n"
     "/v\n"
     "\n"},
    {"'%1' の形式が正しくありません。",
     "'%1' is not in the right format."},
    {"Sitrova を起動できませんでした（%1）。",
     "Could not start Sitrova (%1)."},
    {"Sitrova が異常終了しました（終了コード %1）。",
     "Sitrova ended abnormally (exit code %1)."},
    {"%1が見つかりません。",
     "%1 not found."},
    {"指定されたファイルは、QDXファイルでは在りません。",
     "The file given is not a QDX file."},
    {"ファイルパスが不正です。",
     "The file path is not valid."},
    {"'%1' の広告削除は終わりませんでした（終了コード %2）。",
     "The ad removal of '%1' did not finish (exit code %2)."},
    {"'%1' は既に存在するため、テンプレートファイルを出力できません。",
     "'%1' already exists, so the template file cannot be written."},
    {"'%1' にテンプレートファイルを書き込めません。",
     "Cannot write the template file to '%1'."},
    {"'%1' が存在しません。",
     "'%1' does not exist."},
    {"'%1' を読み込めません。",
     "Cannot read '%1'."},
    {"'%1' の保存は指定どおりに終わりませんでした（終了コード %2）。",
     "The save of '%1' did not finish as asked (exit code %2)."},
    {"'%1' の url または save に、Sitrova に渡せない文字（\"、改行）があります。",
     "The url or save of '%1' holds characters that cannot be passed to Sitrova (\", line breaks)."},
    {"'%1' の lanklimit または sleepcpulevel に、Sitrova に渡せない文字があります。",
     "The lanklimit or sleepcpulevel of '%1' holds characters that cannot be passed to Sitrova."},
    {"'%1': <weboptions> の <%2> はこの版の知らない設定のため、使わずに保存します。",
     "'%1': <%2> in <weboptions> is a setting this version does not know; saving without it."},
    {"ファイルが指定されていません。",
     "No file given."},
    {"オプションが指定されていません（使い方: SitrovaCui /?）。",
     "No option given (usage: SitrovaCui /?)."},
    // The XML files the tools read (parameter files, the catalogue): why one cannot be read
    {"ファイルを読み込めません。",
     "Cannot read the file."},
    {"Shift-JIS で書けない文字があります：%1",
     "The text holds a character that Shift-JIS cannot hold: %1"},
    {"ファイルを書き込めません。",
     "Cannot write the file."},
    {"UTF-16 のファイルは読めません。Shift-JIS か UTF-8 で保存してください。",
     "UTF-16 files cannot be read. Save the file in Shift-JIS or UTF-8."},
    {"宣言された文字コード %1 には対応していません（Shift-JIS か UTF-8）。",
     "The declared encoding %1 is not supported (use Shift-JIS or UTF-8)."},
    {"UTF-8 として読めないバイトがあります（%1 バイト目）。",
     "A byte cannot be read as UTF-8 (byte %1)."},
    {"Shift-JIS として読めないバイトがあります（%1 バイト目）。",
     "A byte cannot be read as Shift-JIS (byte %1)."},
    {"閉じられていない処理命令があります。",
     "A processing instruction is not closed."},
    {"閉じられていないコメントがあります。",
     "A comment is not closed."},
    {"閉じられていない宣言があります。",
     "A declaration is not closed."},
    {"要素 <%1> が閉じられていません。",
     "The element <%1> is not closed."},
    {"要素がありません。",
     "There is no element."},
    {"閉じられていない CDATA セクションがあります。",
     "A CDATA section is not closed."},
    {"タグが閉じられていません。",
     "A tag is not closed."},
    {"要素名がありません。",
     "An element name is missing."},
    {"要素の入れ子が深すぎます。",
     "The elements are nested too deeply."},
    {"属性 %1 の値が引用符で囲まれていません。",
     "The value of the attribute %1 is not in quotes."},
    {"属性 %1 の値が閉じられていません。",
     "The value of the attribute %1 is not closed."},
    {"対応する開始タグのない終了タグがあります。",
     "An end tag has no matching start tag."},
    {"終了タグが要素 <%1> と一致しません。",
     "An end tag does not match the element <%1>."},
    {"終了タグが閉じられていません。",
     "An end tag is not closed."},

    // --- Sitrova's command line, start and unattended messages (app/ start-up and exit)
    {"使い方: Sitrova [引数]\n"
     "  （引数なし）                  入力画面を開きます。\n"
     "  ファイル.qdx                  保存済みサイトを開きます（更新チェック）。\n"
     "  SomeComplete,\"URL\",\"保存先\",\"オプション値\",\"上位階層の上限値\",\"CPU占有率(1～4)\"\n"
     "                                コンプリート保存を、操作なしで行います。\n"
     "  SomeWarc,\"WARCファイル\",\"URL\",\"保存先\"\n"
     "                                Webアーカイブ（.warc, .warc.gz, .wacz）からコンプリート保存を行います。\n"
     "                                続けてオプション値、上位階層の上限値、CPU占有率も指定できます。\n"
     "  SomeSeries,\"URL\",\"保存先\"      単体／連番保存を、操作なしで行います。\n"
     "  PresetUrl,\"URL\",\"保存先\"       URLと保存先を入れた入力画面を開きます。\n"
     "  advertisement,\"ファイル.qdx\"   保存済みサイトから広告を削除します。\n"
     "  --名前=値 を引数の前に置くと、その保存だけの設定になります（Sitrov.ini の [WebOptions] より優先）:\n",
     "Usage: Sitrova [arguments]\n"
     "  (no arguments)                Opens the input window.\n"
     "  file.qdx                      Opens a saved site (update check).\n"
     "  SomeComplete,\"URL\",\"save-path\",\"options\",\"upper-limit\",\"cpu-level(1-4)\"\n"
     "                                Makes a complete save without any input.\n"
     "  SomeWarc,\"WARC-file\",\"URL\",\"save-path\"\n"
     "                                Makes a complete save from a web archive (.warc, .warc.gz, .wacz).\n"
     "                                Options, upper limit and CPU level may follow.\n"
     "  SomeSeries,\"URL\",\"save-path\"  Makes a file save or serial save without any input.\n"
     "  PresetUrl,\"URL\",\"save-path\"   Opens the input window with the URL and save location filled in.\n"
     "  advertisement,\"file.qdx\"      Removes advertisements from a saved site.\n"
     "  Put the options below before the arguments to set them for this save only (they take\n"
     "  precedence over [WebOptions] in Sitrov.ini):\n"},
    {"  -h, --help                    この使い方を表示します。\n"
     "  --version                     バージョンを表示します。\n"
     "保存先は絶対パス（/ で始まるパス）で指定します。画面のない環境では、保存などの仕事を\n"
     "引数で指定してください（QT_QPA_PLATFORM を指定すれば、その画面で入力画面を開きます）。\n",
     "  -h, --help                    Shows this usage.\n"
     "  --version                     Shows the version.\n"
     "Give the save location as an absolute path (starting with /). Without a display, give the\n"
     "job (a save, for instance) as arguments (with QT_QPA_PLATFORM set, the input window opens\n"
     "on that platform).\n"},
    {"  --%1=値",
     "  --%1=value"},
    {"不明なオプションです: --%1",
     "Unknown option: --%1"},
    {"%1 の値が正しくありません（%2）。",
     "The value of %1 is not valid (%2)."},
    {"改行を含めることはできません",
     "it cannot contain line breaks"},
    {"/ で始まる絶対パスを指定してください",
     "give an absolute path starting with /"},
    {"0 か 1 を指定してください",
     "give 0 or 1"},
    {"%1～%2 の整数を指定してください",
     "give a whole number from %1 to %2"},
    {"URLは http:// または https:// で始まるWebページのアドレスを指定してください: %1",
     "Give as URL the address of a web page, starting with http:// or https://: %1"},
    {"保存先は、/ で始まるファイルのフルパスで指定してください: %1",
     "Give the save location as the full path of a file, starting with /: %1"},
    {"SomeWarc には、WARCファイル、URL、保存先の3項目が必要です。",
     "SomeWarc needs three fields: WARC file, URL and save location."},
    {"WARCファイルが見つかりません: %1",
     "WARC file not found: %1"},
    {"SomeComplete には、URL、保存先、オプション値、上位階層の上限値、CPU占有率の5項目が必要です。",
     "SomeComplete needs five fields: URL, save location, options, upper level limit and CPU level."},
    {"SomeSeries には、URLと保存先の2項目が必要です。",
     "SomeSeries needs two fields: URL and save location."},
    {"保存先が指定されていません。",
     "No save location given."},
    {"画面がないため、入力画面を開けません。",
     "No display: cannot open the input window."},
    {"画面の部品を読み込めません: %1",
     "Cannot load the window components: %1"},
    {"画面の部品 %1 に %2 がありません。",
     "The window components %1 lack %2."},
    {"保存を終えましたが、ダウンロードに失敗したファイルがあります（エラーログに記録しました）。",
     "The save has finished, but some files failed to download (listed in the error log)."},
    {"ファイルを取得できませんでした: %1",
     "Could not fetch the file: %1"},
    {"開始ページを取得できず、何も保存していません: %1",
     "Could not fetch the start page; nothing was saved: %1"},
    {"保存先「%1」には、別のSitrovaが保存を続けています。\r\n"
     "同じ保存先へは同時に保存できません。その保存が終わってから、もう一度実行してください。",
     "Another Sitrova is still saving into the save location \"%1\".\r\n"
     "Two saves cannot go to the same save location at once. Try again when that save has finished."},
    {"説明ログに書けない文字があります: %1",
     "The description log cannot hold a character: %1"},
    {"説明ログを書き込めません: %1",
     "Cannot write the description log: %1"},
    {"Webアーカイブを読めません: %1",
     "Cannot read the web archive: %1"},
    {"Webアーカイブに読めないレコードがありました（%1 件、保存ログに記録しました）: %2",
     "The web archive had records that could not be read (%1, listed in the save log): %2"},
    {"同じ名前のファイルがあります: %1",
     "A file of the same name is in the way: %1"},
    {"%1 に書き込めません: %2",
     "Cannot write to %1: %2"},
    {"作成に失敗しました",
     "creation failed"},
    {"保存先のパスが長すぎます（パス全体で%1バイトまでです）: %2",
     "The save location's path is too long (at most %1 bytes in all): %2"},
    {"保存先の名前が長すぎます（フォルダ名やファイル名は1つ%1バイトまでです）: %2",
     "A name in the save location is too long (at most %1 bytes for each folder or file name): %2"},
    {"記録ファイルに書けない文字 %1 が含まれています: %2",
     "The record files cannot hold the character %1 in: %2"},
    {"保存先にはファイル名を指定してください（フォルダが指定されています）: %1",
     "Give a file name as the save location (a folder was given): %1"},
    {"保存先フォルダを作成できません: %1（%2）",
     "Cannot create the save folder: %1 (%2)"},
    {"保存先フォルダに書き込めません: %1（%2）",
     "Cannot write to the save folder: %1 (%2)"},
    {"%1 を作成できません。",
     "Cannot create %1."},
    {"%1 に同じ保存名のジョブが多すぎます。",
     "%1 holds too many jobs of the same save name."},
    {"%1 を書き込めません。",
     "Cannot write %1."},
    {"%1 に必要な要素がありません。",
     "%1 lacks elements it needs."},
    {"既にバッチ処理が実行中です。\r\n"
     "※新規実行は、既存処理が完了するまでお待ちください。",
     "A batch is already running.\r\n"
     "Wait until it has finished before starting a new one."},
    {"処理すべきバッチはありませんでした。",
     "There was no batch job to run."},
    {"バッチ処理を開始できませんでした。",
     "Could not start the batch."},
    {"バッチ処理を開始しました。",
     "The batch has started."},
    // The help of each named option in the usage (engine/NamedOptions.cpp)
    {"保存の初めに読むクッキーファイル（Netscape の cookies.txt 形式）",
     "Cookie file read at the start of the save (Netscape cookies.txt format)"},
    {"サイトの robots.txt が禁じるページやファイルも取得する",
     "Also fetch the pages and files that the site's robots.txt forbids"},
    {"同じホストへのリクエストの間に置く最短の間隔（ミリ秒、0～60000）",
     "Shortest interval between requests to the same host (milliseconds, 0-60000)"},
    {"リクエスト間隔を毎回 ±50% の範囲でランダムに変える",
     "Vary the request interval at random within +/-50% each time"},
    {"更新で置き換えたページやファイルの旧版を _history に残す更新の回数（0～1000、0 で残さない）",
     "Number of updates for which the old versions of replaced pages and files are kept in _history (0-1000, 0 keeps none)"},
    {"HTTP の Basic／Digest 認証に使うログイン情報のファイル（netrc 形式: machine ホスト login 名前 password パスワード）",
     "File of login details for HTTP Basic/Digest authentication (netrc format: machine host login name password password)"},
    {"すべてのリクエストを通すプロキシ（空なら環境変数 http_proxy・https_proxy・no_proxy に従う）",
     "Proxy for every request (empty: follow the environment variables http_proxy, https_proxy, no_proxy)"},
    {"proxy を指定したときに直接つなぐホスト（カンマ区切り。環境変数 no_proxy の代わり）",
     "Hosts reached directly when proxy is given (comma-separated; instead of the environment variable no_proxy)"},
    {"プロキシのログイン情報のファイル（netrc 形式。プロキシのホスト名の machine 行か default 行を使う）",
     "File of the proxy's login details (netrc format; the machine line of the proxy's host name or the default line is used)"},
    {"サーバーの証明書を検証しない（自己署名の証明書のサイト用。この保存だけに指定してください）",
     "Do not verify the server's certificate (for sites with self-signed certificates; give it for this save only)"},
    {"開始ページのホストの sitemap.xml と robots.txt が示すサイトマップに載っているページも辿る（保存の範囲は変わらない）",
     "Also follow the pages listed in the sitemap.xml of the start page's host and in the sitemaps its robots.txt names (the scope of the save stays the same)"},
    {"保存中のすべての HTTP のやり取りを、保存先の <名前>.warc.gz（索引 <名前>.cdxj）に記録する",
     "Record every HTTP exchange of the save in <name>.warc.gz (index <name>.cdxj) in the save folder"},
    {"warc を指定したとき、WARC と索引を <名前>.wacz（ブラウザで再生できるパッケージ）にもまとめる",
     "With warc, also pack the WARC and its index into <name>.wacz (a package that browsers can replay)"},
    {"各ページをブラウザーエンジン（SitrovaRender、Qt WebEngine）で開き、スクリプトが作った内容とページが読み込んだファイルを保存する",
     "Open each page in a browser engine (SitrovaRender, Qt WebEngine) and save the content its scripts made and the files the page loaded"},
    {"render で保存したページからスクリプトを取り除かずに残す（既定では取り除く）",
     "Keep the scripts in the pages saved with render (by default they are removed)"},

    // --- texts the main window and the save's progress view show (app/, engine/)
    {"%1分%2秒",
     "%1 min %2 s"},
    {"%1秒",
     "%1 s"},
    {"--分--秒",
     "-- min -- s"},
    {"予想残り時間：%1　／　経過時間：%2",
     "Time left: %1  /  Elapsed: %2"},
    {"保存済み%1個 ／ 発見済み%2個　･･･%3％終了（CPU %4）\r\n%5",
     "%1 saved / %2 found  ... %3% done (CPU %4)\r\n%5"},
    {"最大",
     "Maximum"},
    {"最適",
     "Optimal"},
    {"軽い",
     "Light"},
    {"最小",
     "Minimum"},
    {"【%1】\r\n\r\nの更新調査を終了しました。\r\n",
     "The update check of\r\n\r\n[%1]\r\n\r\nhas finished.\r\n"},
    {"更新されたページは存在しません。",
     "No page has been updated."},
    {"更新されたページのコンプリート保存に成功しました。",
     "The updated pages were saved completely."},
    {"しかし更新チェック、もしくはコンプリート保存に失敗したページが存在します。",
     "But the update check or the complete save failed for some pages."},
    {"【%1】\r\n\r\nのコンプリート保存を終了しました。\r\n",
     "The complete save of\r\n\r\n[%1]\r\n\r\nhas finished.\r\n"},
    {"※強制変換しましたが、コンプリートに失敗した可能性もあります。\r\n接続がオフラインの可能性もあります。",
     "* The pages were force-converted, but the complete save may have failed.\r\nThe connection may be offline."},
    {"しかし、ダウンロードに失敗したファイルが存在します。",
     "But some files could not be downloaded."},
    {"【コンプリートするURL】\r\n",
     "[URL to save]\r\n"},
    {"\r\n【保存先のフルパス】\r\n",
     "\r\n[Save location (full path)]\r\n"},
    {"\r\n\r\n上位階層の上限値：",
     "\r\n\r\nUpper level limit: "},
    {"強制変換：yes（Agent利用）\r\n",
     "Force convert: yes (use agent)\r\n"},
    {"強制変換：yes\r\n",
     "Force convert: yes\r\n"},
    {"強制変換：no\r\n",
     "Force convert: no\r\n"},
    {"Alias補正：yes\r\n",
     "Alias correction: yes\r\n"},
    {"Alias補正：no\r\n",
     "Alias correction: no\r\n"},
    {"データフォルダ作成：yes\r\n",
     "Data folder: yes\r\n"},
    {"データフォルダ作成：no\r\n",
     "Data folder: no\r\n"},
    {"更新ログ（Qdxファイル）作成：yes\r\n",
     "Update log (Qdx file): yes\r\n"},
    {"更新ログ作成：no\r\n",
     "Update log: no\r\n"},
    {"外部パスの処理：有効\r\n",
     "Outside links: on\r\n"},
    {"外部パスの処理：選択\r\n",
     "Outside links: choose\r\n"},
    {"外部パスの処理：無効\r\n",
     "Outside links: off\r\n"},
    {"【ファイルURL】\r\n",
     "[File URL]\r\n"},
    {"\r\n\r\n【保存先フルパス】\r\n",
     "\r\n\r\n[Save location (full path)]\r\n"},
    {"処理済HTMLファイル数\r\n%1 ／ %2\r\n･･･ %3％終了",
     "HTML files done\r\n%1 / %2\r\n... %3% done"},
    {"削除しました",
     "Removed"},
    {"見つかりません",
     "Not found"},
    {"Qdxファイルを開けませんでした。\r\n%1",
     "Could not open the Qdx file.\r\n%1"},
    {"以下のQdxファイルは実体が存在しなかったので、削除しました。\r\n\r\n",
     "The following Qdx files were deleted, as their saved sites no longer exist.\r\n\r\n"},
    {"\r\nまた、次のエラーが発生しました。\r\n",
     "\r\nThese errors also occurred:\r\n"},
    {"\r\n次のエラーが発生しました。\r\n",
     "\r\nThese errors occurred:\r\n"},
    {"URLが正しくありません。",
     "The URL is not valid."},
    {"指定されたURLからは保存できません（予約デバイス名が含まれています）。",
     "Cannot save from this URL (it contains a reserved device name)."},
    {"上位階層の指定が不正です。",
     "The upper level limit is not valid."},
    {"保存先が正しくありません。",
     "The save location is not valid."},
    {"指定されたフォルダを作成できませんでした。",
     "Could not create the folder."},
    {"保存ファイル名が指定されていません。",
     "No file name to save as was given."},
    {"保存名に使用できない文字が含まれています。",
     "The save name contains characters that cannot be used."},
    {"保存先のパスが長すぎます。フォルダ名やファイル名は1つ%1バイトまで、パス全体では%2バイトまでです。",
     "The save location's path is too long. Each folder or file name may have at most %1 bytes, the whole path at most %2 bytes."},
    {"このファイル単体、\r\nもしくは連番ファイルを保存できます。",
     "This file can be saved on its own\r\nor as a serial save."},
    {"動的に生成されるWebページなので、サイト保存は行えません。\r\nこのファイル単体、もしくは連番ファイルを保存できます。",
     "This web page is generated dynamically, so the site cannot be saved.\r\nThis file can be saved on its own or as a serial save."},
    {"不明",
     "Unknown"},
    {"有効なURLを指定してください。",
     "Enter a valid URL."},
    {"フラッシュファイル",
     "Flash file"},
    {"音ファイル",
     "Sound file"},
    {"動画ファイル",
     "Video file"},
    {"画像ファイル",
     "Picture file"},
    {"Cgiファイル",
     "CGI file"},
    {"Php/ASP.NETファイル",
     "PHP/ASP.NET file"},
    {"ページタイトル不明",
     "page title unknown"},
    {"■最大上位階層：%1\r\n▽上位階層へのリンクとなるのは以下のページです。\r\n",
     "■Highest upper level: %1\r\n▽These pages link to upper levels:\r\n"},
    {"◆要Agentオプション。\r\n",
     "◆Needs the agent option.\r\n"},
    {"◆要Alias補正オプション。\r\n",
     "◆Needs the alias fix option.\r\n"},
    {"◇外部パス オプションの『選択』を推奨。\r\n\r\n",
     "◇\"Choose\" is recommended for outside links.\r\n\r\n"},
    {"■メインと思われる画像。\r\n",
     "■Probable main picture:\r\n"},
    {"■メインと思われるフラッシュ。\r\n",
     "■Probable main Flash file:\r\n"},
    {"■メインと思われる動画。\r\n",
     "■Probable main video:\r\n"},
    {"■メインと思われる音声。\r\n",
     "■Probable main sound:\r\n"},
    {"○フレームページです。\r\n",
     "○This is a frame page.\r\n"},
    {"【%1】の詳細\r\n",
     "Details of [%1]\r\n"},
    {"特記事項無し。\r\n",
     "Nothing to note.\r\n"},
    {"■外部ドメイン。\r\n以下の外部ドメインへのリンクが多数(%1個)。\r\n",
     "■Outside domain.\r\nMany links (%1) to this outside domain:\r\n"},
    {"\r\n□解析終了。\r\n\r\n\r\n",
     "\r\n□Analysis finished.\r\n\r\n\r\n"},
    {"特記事項無し。",
     "Nothing to note."},
    {"\r\n\r\n※詳細については、\r\n下の「解析詳細情報」をクリックしてください。",
     "\r\n\r\n* For details,\r\nclick \"Analysis details\" below."},
    {"目的範囲の保存のための、上位階層の上限値の推奨値は 0 です。",
     "To save just the part you want, an upper level limit of 0 is recommended."},
    {"サイトの全てを保存するには、上位階層の上限値に %1 を指定してください。\r\n",
     "To save the whole site, set the upper level limit to %1.\r\n"},
    {"\r\n\r\n※下記のオブジェクトURL一覧には\r\n　フレーム全体で最も大きな画像、フラッシュ等が示されます。",
     "\r\n\r\n* The object URLs below show the largest picture, Flash file\r\n  and so on of all the frames."},
    {"上記に示されたオプションの指定を推奨します。",
     "The options shown above are recommended."},
    {"オプションを指定する必要は特にありません。",
     "No options are needed."},
    {"[ 絵 ]",
     "[ Picture ]"},
    {"AlbumFetcherで、このアルバムの写真をまとめて保存できます。\r\n",
     "AlbumFetcher can save all the photos of this album at once.\r\n"},
    {"AlbumFetcherで写真を保存する",
     "Save the photos with AlbumFetcher"},
    {"フォトアルバム",
     "Photo album"},
    {"フォトアルバムの写真一覧のページです。\r\n",
     "This is the photo list page of a photo album.\r\n"},
    {"保存先のパスを入力してから、もう一度お試しください。\r\n",
     "Enter the save location, then try again.\r\n"},
    {"閉じる",
     "Close"},
    {"AlbumFetcherを起動できませんでした。\r\n（%1）\r\n",
     "Could not start AlbumFetcher.\r\n(%1)\r\n"},
    {"このページから、動画本体のみを保存することができます。\r\n",
     "The video itself can be saved from this page.\r\n"},
    {"動画本体のパスをURLにセットする",
     "Set the video's address as the URL"},
    {"動画本体のパスの取得に失敗しました。\r\n",
     "Could not get the video's address.\r\n"},
    {"YouTubeサイト",
     "YouTube site"},
    {"YouTube のページです。\r\n動画本体のURLを解析中･･･\r\n",
     "This is a YouTube page.\r\nLooking for the video's URL...\r\n"},
    {"Internet Archive から保存したファイル群を、\r\nローカルコンピューターで快適に開くためには、\r\n「バナー広告等削除」の実施をお勧めします。\r\n\r\n広告等削除を実行しますか？",
     "To open the files saved from the Internet Archive comfortably on this computer,\r\nremoving the banner ads is recommended.\r\n\r\nRun the ad removal now?"},
    {"アメーバブログから保存したファイル群を、\r\nローカルコンピューターで快適に開くためには、\r\n「バナー広告等削除」の実施をお勧めします。\r\n\r\n広告等削除を実行しますか？",
     "To open the files saved from Ameba Blog comfortably on this computer,\r\nremoving the banner ads is recommended.\r\n\r\nRun the ad removal now?"},

    // The captions of the named options, as the options form shows them (engine/qt).
    {"クッキーファイル（cookies.txt 形式）",
     "Cookie file (cookies.txt format)"},
    {"robots.txt を無視する",
     "Ignore robots.txt"},
    {"同じホストへのリクエスト間隔（ミリ秒）",
     "Interval between requests to one host (ms)"},
    {"リクエスト間隔をランダムに変える（±50%）",
     "Vary the request interval at random (±50%)"},
    {"旧版を残す更新の回数（0 で残さない）",
     "Updates that keep old versions (0: keep none)"},
    {"認証情報ファイル（netrc 形式）",
     "Credentials file (netrc format)"},
    {"プロキシ（http://ホスト:ポート、socks5h://ホスト:ポート）",
     "Proxy (http://host:port, socks5h://host:port)"},
    {"プロキシを通さないホスト（カンマ区切り）",
     "Hosts reached without the proxy (comma-separated)"},
    {"プロキシの認証情報ファイル（netrc 形式）",
     "Proxy credentials file (netrc format)"},
    {"自己署名の証明書を受け入れる（証明書を検証しない）",
     "Accept self-signed certificates (do not verify certificates)"},
    {"サイトマップ（sitemap.xml）に載っているページも保存する",
     "Also save the pages listed in the sitemap (sitemap.xml)"},
    {"WARCファイル（ウェブアーカイブ）にも記録する",
     "Also record into a WARC file (web archive)"},
    {"WARCをWACZパッケージにもまとめる",
     "Also pack the WARC into a WACZ package"},
    {"スクリプト実行後のページを保存",
     "Save pages as they are after their scripts ran"},
    {"スクリプト実行後のページにスクリプトを残す",
     "Keep the scripts in pages saved after their scripts ran"},

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
    {"タイトル取得に失敗しました（KvLibQ4.dllをロードできない）。", "Could not get the title (KvLibQ4.dll could not be loaded)."},
    {"タイトル取得に失敗しました（KvLibQ4.dll内の関数が呼び出せない）。",
     "Could not get the title (a function in KvLibQ4.dll could not be called)."},
    {"タイトル取得に失敗しました（ページアクセスに失敗）。", "Could not get the title (the page could not be read)."},
    {"CPU占有率：%1", "CPU usage: %1"},
    {"登録する値が空です。", "The value to register is empty."},
    {"Shift-JIS で保存できない文字を含むため登録しません: %1", "Not registered: it holds a character Shift-JIS cannot store: %1"},
    {"ファイルが大きすぎます。", "The file is too large."},
    {"文書要素が qdxsuite ではありません。", "The document element is not qdxsuite."},
    {"カタログファイル %1 が壊れています（%2）。空のカタログで始めます。",
     "The catalogue file %1 is damaged (%2). Starting with an empty catalogue."},
    {"壊れたファイルは %1 として残しました。", "The damaged file was kept as %1."},
    {"壊れたファイルを退避できませんでした。", "The damaged file could not be moved aside."},
    {"カタログファイル %1 をロックできません（%2）。", "Cannot lock the catalogue file %1 (%2)."},
    {"指定したファイルが見つかりませんでした。", "The file was not found."},
    {"指定したファイルが関連付けられていませんでした。", "No application is associated with the file."},
    {"OS がファイルへのアクセスを拒否しました。", "The system denied access to the file."},
    {"システム リソースが足りません。", "Not enough system resources."},
    {"【コメントは登録されていません】", "[No comment]"},
    {"関連リンク", "Related links"},
    {"【登録がありません】", "[None]"},
    {"　%1", "  %1"},
    {"　※外部リンクファイル：有り", "  * Outside-domain link list: yes"},
    {"URLの取得に失敗しました。", "Could not get the URL."},
    {"%1 新%2 変%3 同%4 消%5 失%6", "%1 N%2 C%3 U%4 G%5 F%6"},
    {"%1年%2月%3日　%4:%5", "%1-%2-%3 %4:%5"},
    {"保存先のパスは無効です（予約デバイス名が含まれています）。", "The save path is not valid (it contains a reserved device name)."},

    // --- the closing entry: keep it last
    {"", ""},
};

const size_t kEnglishTextCount = sizeof kEnglishTexts / sizeof kEnglishTexts[0];

}  // namespace platform
