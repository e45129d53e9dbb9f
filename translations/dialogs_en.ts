<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>UiText</name>
    <message>
        <source>不明</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>有効なURLを指定してください。</source>
        <translation>Please enter a valid URL.</translation>
    </message>
    <message>
        <source>ページ解析エラー</source>
        <translation>Page Analysis Error</translation>
    </message>
    <message>
        <source>HTMLページ以外では、ページ解析は利用できません。</source>
        <translation>Page analysis works on HTML pages only.</translation>
    </message>
    <message>
        <source>URLの種類：</source>
        <translation>Kind of URL:</translation>
    </message>
    <message>
        <source>ＯＫ</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>[Error]一時ファイルを作成できません。<byte value="xd"/>
</source>
        <translation>[Error]Cannot create a temporary file.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>[Error]ページを取得できませんでした。<byte value="xd"/>
</source>
        <translation>[Error]Could not fetch the page.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>デフォルトに戻す</source>
        <translation>Restore Defaults</translation>
    </message>
    <message>
        <source>HELP</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>ドロップファイルの処理</source>
        <translation>Dropped files</translation>
    </message>
    <message>
        <source>以下のファイルに対する処理を選んでください。</source>
        <translation>Choose what to do with this file.</translation>
    </message>
    <message>
        <source>広告を削除する</source>
        <translation>Remove ads</translation>
    </message>
    <message>
        <source>関連するQdxファイルを開く。</source>
        <translation>Open the related .qdx file</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>関連するQdxファイルはありません。</source>
        <translation>There is no related .qdx file.</translation>
    </message>
    <message>
        <source>広告削除は済みです</source>
        <translation>Ads removed</translation>
    </message>
    <message>
        <source>広告は見つかりませんでした。</source>
        <translation>No ads found.</translation>
    </message>
    <message>
        <source>Sitrovaエラーログビューワー</source>
        <translation>Sitrova Error Log Viewer</translation>
    </message>
    <message>
        <source>エラーログ</source>
        <translation>Error log</translation>
    </message>
    <message>
        <source>DL失敗数：</source>
        <translation>Failed downloads:</translation>
    </message>
    <message>
        <source>-検索中-</source>
        <translation>-searching-</translation>
    </message>
    <message>
        <source>行</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>対象</source>
        <translation>Target</translation>
    </message>
    <message>
        <source>内容</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>項目を選択してください。</source>
        <translation>Select an entry.</translation>
    </message>
    <message>
        <source>ログファイル</source>
        <translation>Log file</translation>
    </message>
    <message>
        <source>%1  が開けません。</source>
        <translation>Cannot open %1.</translation>
    </message>
    <message>
        <source>ページ解析の詳細表示</source>
        <translation>Page Analysis Details</translation>
    </message>
    <message>
        <source>ユーザーへのコメント。</source>
        <translation>Notes for you:</translation>
    </message>
    <message>
        <source>推奨オプションを
利用する</source>
        <translation>Use the recommended
options</translation>
    </message>
    <message>
        <source>メインと思われるオブジェクトのURL一覧</source>
        <translation>URLs of what seem to be the main objects</translation>
    </message>
    <message>
        <source>見つかりません。</source>
        <translation>None found.</translation>
    </message>
    <message>
        <source>下記から選んでください。</source>
        <translation>Choose one below.</translation>
    </message>
    <message>
        <source>URLに設定する</source>
        <translation>Use as URL</translation>
    </message>
    <message>
        <source>自動</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>次回の起動時から有効になります。</source>
        <translation>Takes effect when Sitrova next starts.</translation>
    </message>
    <message>
        <source>その他の環境設定</source>
        <translation>Other Settings</translation>
    </message>
    <message>
        <source>HTMLファイルならば、常に広告削除を実行する。</source>
        <translation>Always remove ads from HTML files</translation>
    </message>
    <message>
        <source>広告削除の動作設定</source>
        <translation>Ad removal</translation>
    </message>
    <message>
        <source>終了時は確認せずに閉じる。</source>
        <translation>Close without asking when done</translation>
    </message>
    <message>
        <source>Internet Explorer への登録</source>
        <translation>Browser link menu</translation>
    </message>
    <message>
        <source>デスクトップのブラウザーのリンクメニューに登録します。</source>
        <translation>Adds an entry to the link menu of the desktop&apos;s browsers.</translation>
    </message>
    <message>
        <source>リンクを右クリック時に、「Sitrova で保存」を追加する。</source>
        <translation>Add &quot;Save with Sitrova&quot; to the menu of a right-clicked link</translation>
    </message>
    <message>
        <source>外部ドメインのページタイトル一覧を取得中･･･</source>
        <translation>Fetching the titles of pages in outside domains...</translation>
    </message>
    <message>
        <source>タイトル</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>全て選択</source>
        <translation>Select All</translation>
    </message>
    <message>
        <source>全て非選択</source>
        <translation>Select None</translation>
    </message>
    <message>
        <source>外部ドメインのページタイトル一覧</source>
        <translation>Titles of Pages in Outside Domains</translation>
    </message>
    <message>
        <source>拡張子の関連付け</source>
        <translation>File type association</translation>
    </message>
    <message>
        <source>HTMLファイルを開く方法</source>
        <translation>Opening HTML files</translation>
    </message>
    <message>
        <source>関連付けられた既定のアプリケーションを使う</source>
        <translation>Use the default application</translation>
    </message>
    <message>
        <source>参照</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>関連リンクへ登録時</source>
        <translation>Adding related links</translation>
    </message>
    <message>
        <source>Webファイルは、ダウンロードして保存の後に登録する。</source>
        <translation>Download and save web files before adding them</translation>
    </message>
    <message>
        <source>Qdxファイルの環境編集</source>
        <translation>Qdx File Settings</translation>
    </message>
    <message>
        <source>設定が正しくありません。</source>
        <translation>The settings are not valid.</translation>
    </message>
    <message>
        <source>ダウンロード中のエラー処理</source>
        <translation>Errors during a download</translation>
    </message>
    <message>
        <source>受信タイムアウト（エラー判定） ：</source>
        <translation>Receive timeout (then an error):</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>受信中エラー時のリトライ回数 ：</source>
        <translation>Retries after a receive error:</translation>
    </message>
    <message>
        <source>回</source>
        <translation>times</translation>
    </message>
    <message>
        <source>リトライまでの待機時間 ：</source>
        <translation>Wait before a retry:</translation>
    </message>
    <message>
        <source>終了時の処理</source>
        <translation>When finished</translation>
    </message>
    <message>
        <source>連番保存の終了通知後は、そのまま</source>
        <translation>After the serial save reports its end,</translation>
    </message>
    <message>
        <source>窓を閉じる</source>
        <translation>close the window</translation>
    </message>
    <message>
        <source>判定プラグイン</source>
        <translation>Check plug-ins</translation>
    </message>
    <message>
        <source>NotFound検出</source>
        <translation>NotFound detection</translation>
    </message>
    <message>
        <source>連番保存の環境編集</source>
        <translation>Serial Save Settings</translation>
    </message>
    <message>
        <source>保存形式</source>
        <translation>Save format</translation>
    </message>
    <message>
        <source>データフォルダ</source>
        <translation>Data folder</translation>
    </message>
    <message>
        <source>更新ログ（*.qdx）</source>
        <translation>Update log (*.qdx)</translation>
    </message>
    <message>
        <source>外部パスの処理</source>
        <translation>Outside links</translation>
    </message>
    <message>
        <source>無効</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>有効</source>
        <translation>On</translation>
    </message>
    <message>
        <source>選択</source>
        <translation>Choose</translation>
    </message>
    <message>
        <source>起動と終了時の処理</source>
        <translation>Start and end</translation>
    </message>
    <message>
        <source>index.html省略補正</source>
        <translation>Complete omitted index.html</translation>
    </message>
    <message>
        <source>終了時は確認せずに閉じる</source>
        <translation>Close without asking when done</translation>
    </message>
    <message>
        <source>終了時にファイルを開く</source>
        <translation>Open the file when done</translation>
    </message>
    <message>
        <source>特定ファイルの処理</source>
        <translation>Special files</translation>
    </message>
    <message>
        <source>Php/Asp/SHtmlページをHtmlページとして扱う</source>
        <translation>Treat PHP/ASP/SHTML pages as HTML pages</translation>
    </message>
    <message>
        <source>ページプレビューを利用する</source>
        <translation>Use the page preview</translation>
    </message>
    <message>
        <source>DL失敗時は再試行しない</source>
        <translation>Do not retry failed downloads</translation>
    </message>
    <message>
        <source>タイトルに「404」を含むページを
NotFoundとして扱う</source>
        <translation>Treat pages with &quot;404&quot; in the title
as not found</translation>
    </message>
    <message>
        <source>ブログでは追跡深度を補正する(実験的)</source>
        <translation>Correct the follow depth on blogs (experimental)</translation>
    </message>
    <message>
        <source>サイト保存の環境編集</source>
        <translation>Site Save Settings</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>Version Information</translation>
    </message>
    <message>
        <source>本ソフトウェアはフリーソフトウェアです。著作権は作者が保有しています。</source>
        <translation>This software is free software. Its copyright belongs to its author.</translation>
    </message>
    <message>
        <source>Web の環境設定</source>
        <translation>Web Settings</translation>
    </message>
</context>
</TS>
