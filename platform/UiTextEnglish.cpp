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

    // --- settings dialogs (app/shell/ and what the dialogs take from app/)

    // --- records, update check, saved-site view and file downloads (records/, download/, rerevu/)

    // --- scheduler, catalogue and album downloader (scheduler/, suite/, albumfetcher/)

    // --- the closing entry: keep it last
    {"", ""},
};

const size_t kEnglishTextCount = sizeof kEnglishTexts / sizeof kEnglishTexts[0];

}  // namespace platform
