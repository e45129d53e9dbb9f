<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>UiText</name>
    <message>
        <source>コンプリート保存スケジュールの追加</source>
        <translation>Add Complete Save Job</translation>
    </message>
    <message>
        <source>オプション≫</source>
        <translation>Options ≫</translation>
    </message>
    <message>
        <source>≪オプション</source>
        <translation>≪ Options</translation>
    </message>
    <message>
        <source>ページ名取得</source>
        <translation>Get page title</translation>
    </message>
    <message>
        <source>参照</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>ＯＫ</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>上位階層の上限値：</source>
        <translation>Upper level limit:</translation>
    </message>
    <message>
        <source>強制変換</source>
        <translation>Force convert</translation>
    </message>
    <message>
        <source>Alias補整</source>
        <translation>Alias correction</translation>
    </message>
    <message>
        <source>Agent利用</source>
        <translation>Use agent</translation>
    </message>
    <message>
        <source>データフォルダ</source>
        <translation>Data folder</translation>
    </message>
    <message>
        <source>更新ログ</source>
        <translation>Update log</translation>
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
        <source>選択（※利用不可）</source>
        <translation>Select (not available)</translation>
    </message>
    <message>
        <source>追跡リンク選択（※利用不可）</source>
        <translation>Choose links to follow (not available)</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>Web の設定...</source>
        <translation>Web settings...</translation>
    </message>
    <message>
        <source>コンプリートするURL</source>
        <translation>URL to save</translation>
    </message>
    <message>
        <source>保存先のフルパス</source>
        <translation>Save location (full path)</translation>
    </message>
    <message>
        <source>URLが指定されていません。</source>
        <translation>No URL has been given.</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>URLが正しくありません。</source>
        <translation>The URL is not valid.</translation>
    </message>
    <message>
        <source>保存パスが正しくありません。</source>
        <translation>The save path is not valid.</translation>
    </message>
    <message>
        <source>Web の設定（このジョブ）</source>
        <translation>Web Settings (This Job)</translation>
    </message>
    <message>
        <source>（Sitrov.ini の設定のまま）</source>
        <translation>(as set in Sitrov.ini)</translation>
    </message>
    <message>
        <source>スケジュールの追加</source>
        <translation>Add job</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>状態</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>保存ファイル名</source>
        <translation>Saved as</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>スケジューラを閉じる</source>
        <translation>Close Scheduler</translation>
    </message>
    <message>
        <source>Sitrova Scheduler を終了する</source>
        <translation>Exit Sitrova Scheduler</translation>
    </message>
    <message>
        <source>ヘルプ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>Version Information</translation>
    </message>
    <message>
        <source>現在は追加できません。</source>
        <translation>Jobs cannot be added right now.</translation>
    </message>
    <message>
        <source>スケジュールはもう追加できません。</source>
        <translation>No more jobs can be added.</translation>
    </message>
    <message>
        <source>実行中／実行済みの項目は変更できません。</source>
        <translation>A job that is running or has run cannot be changed.</translation>
    </message>
    <message>
        <source>スケジュールの実行に失敗しました。</source>
        <translation>Could not run the jobs.</translation>
    </message>
    <message>
        <source>待機中</source>
        <translation>Waiting</translation>
    </message>
    <message>
        <source>実行済み</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>実行中</source>
        <translation>Running</translation>
    </message>
    <message>
        <source>スケジュールは全て終了しました。</source>
        <translation>All jobs have finished.</translation>
    </message>
    <message>
        <source>スケジュールが実行中です。強制終了しますか？</source>
        <translation>Jobs are running. Quit anyway?</translation>
    </message>
    <message>
        <source>操作に失敗しました。</source>
        <translation>The operation failed.</translation>
    </message>
    <message>
        <source>CPU占有率</source>
        <translation>CPU Usage</translation>
    </message>
    <message>
        <source>最大</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>最適</source>
        <translation>Optimal</translation>
    </message>
    <message>
        <source>軽い</source>
        <translation>Light</translation>
    </message>
    <message>
        <source>最小</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>Sitrovaスケジューラー</source>
        <translation>Sitrova Scheduler</translation>
    </message>
    <message>
        <source>コンプリート保存を順番に実行します。</source>
        <translation>Runs complete saves one after another.</translation>
    </message>
    <message>
        <source>Qdxファイル名</source>
        <translation>Qdx file name</translation>
    </message>
    <message>
        <source>上位フォルダ名</source>
        <translation>Parent folder</translation>
    </message>
    <message>
        <source>最終更新日</source>
        <translation>Last updated</translation>
    </message>
    <message>
        <source>参照回数</source>
        <translation>Opened</translation>
    </message>
    <message>
        <source>コメント</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>フルパス</source>
        <translation>Full path</translation>
    </message>
    <message>
        <source>検索</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>最終更新チェック</source>
        <translation>Last update check</translation>
    </message>
    <message>
        <source>まだ更新チェックをしていません</source>
        <translation>No update check yet</translation>
    </message>
    <message>
        <source>新規・変更・変更なし・消滅・失敗の数</source>
        <translation>Pages new (N), changed (C), unchanged (U), gone (G), failed (F)</translation>
    </message>
    <message>
        <source>Qdxファイルを開く(&amp;I)</source>
        <translation>Open Qdx &amp;File</translation>
    </message>
    <message>
        <source>コンプリートURLを開く(&amp;P)</source>
        <translation>Open Start &amp;URL</translation>
    </message>
    <message>
        <source>保存したHTMLファイルを開く(&amp;O)</source>
        <translation>Open Saved &amp;HTML File</translation>
    </message>
    <message>
        <source>更新レポートを開く(&amp;R)</source>
        <translation>Open Change &amp;Report</translation>
    </message>
    <message>
        <source>ファイルが開けません</source>
        <translation>Cannot open the file</translation>
    </message>
    <message>
        <source>URLの取得に失敗しました。</source>
        <translation>Could not get the URL.</translation>
    </message>
    <message>
        <source>システム リソースが足りません。</source>
        <translation>Not enough system resources.</translation>
    </message>
    <message>
        <source>保存した単体／連番ファイル名</source>
        <translation>File name (file or serial save)</translation>
    </message>
    <message>
        <source>フォルダパス</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>保存日</source>
        <translation>Saved on</translation>
    </message>
    <message>
        <source>保存元URL</source>
        <translation>Source URL</translation>
    </message>
    <message>
        <source>&#x3000;ファイルサイズ：%1</source>
        <translation>  File size: %1</translation>
    </message>
    <message>
        <source>（表示できません）</source>
        <translation>(cannot be shown)</translation>
    </message>
    <message>
        <source>ファイルのURLを開く(&amp;P)</source>
        <translation>Open File &amp;URL</translation>
    </message>
    <message>
        <source>保存したファイルを開く(&amp;O)</source>
        <translation>&amp;Open Saved File</translation>
    </message>
    <message>
        <source>保存した“フォルダ”を開く(&amp;D)</source>
        <translation>Open Saved &amp;Folder</translation>
    </message>
    <message>
        <source>指定したファイルが見つかりませんでした。</source>
        <translation>The file was not found.</translation>
    </message>
    <message>
        <source>指定したパスが見つかりませんでした。</source>
        <translation>The path was not found.</translation>
    </message>
    <message>
        <source>Qdxファイル</source>
        <translation>Qdx files</translation>
    </message>
    <message>
        <source>保存したファイル(単体／連番)</source>
        <translation>Saved files (file/serial save)</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Sitrova を起動(&amp;O)</source>
        <translation>&amp;Start Sitrova</translation>
    </message>
    <message>
        <source>検索(&amp;S)</source>
        <translation>&amp;Search</translation>
    </message>
    <message>
        <source>最近変更されたサイト(&amp;R)...</source>
        <translation>&amp;Recently Changed Sites...</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>バージョン(&amp;V)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>%1 日以内に更新で変わったサイト: %2 件</source>
        <translation>Sites an update changed in the last %1 days: %2</translation>
    </message>
    <message>
        <source>最近変更されたサイト</source>
        <translation>Recently Changed Sites</translation>
    </message>
    <message>
        <source>何日以内に更新で変わったサイトを表示しますか:</source>
        <translation>Show the sites an update changed in the last (days):</translation>
    </message>
    <message>
        <source>起動に失敗しました。</source>
        <translation>Could not start the program.</translation>
    </message>
    <message>
        <source>Sitrova Suite
Sitrova で保存したサイトとファイルの一覧</source>
        <translation>Sitrova Suite
The catalogue of sites and files saved with Sitrova</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>カタログを保存できませんでした。
%1</source>
        <translation>Could not save the catalogue.
%1</translation>
    </message>
    <message>
        <source>取得中</source>
        <translation>Downloading</translation>
    </message>
    <message>
        <source>保存済み</source>
        <translation>Saved</translation>
    </message>
    <message>
        <source>取得失敗</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;V)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>AlbumFetcher<byte value="xd"/>
フォトアルバムの写真を保存します。<byte value="xd"/>
Sitrova Suite</source>
        <translation>AlbumFetcher<byte value="xd"/>
Saves the photos of a photo album.<byte value="xd"/>
Sitrova Suite</translation>
    </message>
    <message>
        <source>保存先フォルダ</source>
        <translation>Save folder</translation>
    </message>
    <message>
        <source>ダウンロード開始</source>
        <translation>Start Download</translation>
    </message>
    <message>
        <source>ファイルサイズ</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>ダウンロードが終了しました。<byte value="xd"/>
保存したフォルダを開きますか？</source>
        <translation>The download has finished.<byte value="xd"/>
Open the save folder?</translation>
    </message>
    <message>
        <source>保存先フォルダを作成できません: %1</source>
        <translation>Cannot create the save folder: %1</translation>
    </message>
    <message>
        <source>写真の取得に失敗しました。<byte value="xd"/>
URLが不正である可能性があります。<byte value="xd"/>
<byte value="xd"/>
終了します。</source>
        <translation>Could not download the photos.<byte value="xd"/>
The URL may be wrong.<byte value="xd"/>
<byte value="xd"/>
AlbumFetcher will now close.</translation>
    </message>
    <message>
        <source>強制終了しますか？</source>
        <translation>Quit anyway?</translation>
    </message>
</context>
</TS>
