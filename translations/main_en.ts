<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>UiText</name>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>結果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Sitrova - [広告削除終了]</source>
        <translation>Sitrova - [ad removal finished]</translation>
    </message>
    <message>
        <source>ページの情報</source>
        <translation>Page information</translation>
    </message>
    <message>
        <source>解析詳細情報</source>
        <translation>Analysis details</translation>
    </message>
    <message>
        <source>解析中</source>
        <translation>Analysing</translation>
    </message>
    <message>
        <source>解析中･･･</source>
        <translation>Analysing...</translation>
    </message>
    <message>
        <source>解析中･･････</source>
        <translation>Analysing......</translation>
    </message>
    <message>
        <source>解析中･････････</source>
        <translation>Analysing.........</translation>
    </message>
    <message>
        <source>Cpu占有率を指定して下さい。</source>
        <translation>Set the CPU usage</translation>
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
        <source>Cpu占有率：</source>
        <translation>CPU usage:</translation>
    </message>
    <message>
        <source>決定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>指定されたフォルダは存在しません。<byte value="xd"/>
作成しますか？</source>
        <translation>The folder does not exist.<byte value="xd"/>
Create it?</translation>
    </message>
    <message>
        <source>バッチ処理を追加できませんでした。<byte value="xd"/>
<byte value="xd"/>
保存名を変更してリトライしてみてください。</source>
        <translation>Could not add the batch job.<byte value="xd"/>
<byte value="xd"/>
Change the save name and try again.</translation>
    </message>
    <message>
        <source>保存先の履歴を全て消去しますか？</source>
        <translation>Clear the whole save location history?</translation>
    </message>
    <message>
        <source>保存先の履歴を消去できませんでした（%1）。</source>
        <translation>Could not clear the save location history (%1).</translation>
    </message>
    <message>
        <source>設定が変更されました</source>
        <translation>Settings changed</translation>
    </message>
    <message>
        <source>変更された設定は、Sitrovaを再起動後に有効になります。<byte value="xd"/>
今すぐ再起動しますか？</source>
        <translation>The changed settings take effect when Sitrova restarts.<byte value="xd"/>
Restart now?</translation>
    </message>
    <message>
        <source>Sitrova - 再起動中・・・</source>
        <translation>Sitrova - restarting...</translation>
    </message>
    <message>
        <source>Sitrovaを再起動できませんでした。</source>
        <translation>Could not restart Sitrova.</translation>
    </message>
    <message>
        <source>URLが設定されていません。</source>
        <translation>No URL has been entered.</translation>
    </message>
    <message>
        <source>URLが正しくありません。</source>
        <translation>The URL is not valid.</translation>
    </message>
    <message>
        <source>ページタイトルを取得中･･･</source>
        <translation>Getting the page title...</translation>
    </message>
    <message>
        <source>ページタイトルを取得中･･･ サーバーの応答を待機中･･･（%1秒）</source>
        <translation>Getting the page title... waiting for the server (%1 s)</translation>
    </message>
    <message>
        <source>タイトル取得に失敗しました（ページアクセスに失敗）。</source>
        <translation>Could not get the title (the page could not be read).</translation>
    </message>
    <message>
        <source>ドロップファイル内の広告を削除しました。</source>
        <translation>Removed the ads from the dropped file.</translation>
    </message>
    <message>
        <source>ドロップファイル内に広告は見つかりませんでした。</source>
        <translation>No ads were found in the dropped file.</translation>
    </message>
    <message>
        <source>Webアーカイブから保存するには、先にURLと保存先を入力してください。</source>
        <translation>To save from a web archive, enter the URL and the save location first.</translation>
    </message>
    <message>
        <source>ターゲットページの設定</source>
        <translation>Target page</translation>
    </message>
    <message>
        <source>詳細設定</source>
        <translation>Advanced settings</translation>
    </message>
    <message>
        <source>外部パスの処理</source>
        <translation>Outside links</translation>
    </message>
    <message>
        <source>コンプリートするURL</source>
        <translation>URL to save</translation>
    </message>
    <message>
        <source>？</source>
        <translation>?</translation>
    </message>
    <message>
        <source>保存先のフルパス</source>
        <translation>Save location (full path)</translation>
    </message>
    <message>
        <source>参照</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>ページ名取得</source>
        <translation>Get page title</translation>
    </message>
    <message>
        <source>ダウンロード</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>オプション≫</source>
        <translation>Options ≫</translation>
    </message>
    <message>
        <source>上位階層の上限値</source>
        <translation>Upper level limit</translation>
    </message>
    <message>
        <source>強制変換</source>
        <translation>Force convert</translation>
    </message>
    <message>
        <source>Alias補正</source>
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
        <source>更新ログ(*.qdx)</source>
        <translation>Update log (.qdx)</translation>
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
        <source>追跡リンク選択</source>
        <translation>Links to follow</translation>
    </message>
    <message>
        <source>CPU占有率：</source>
        <translation>CPU usage:</translation>
    </message>
    <message>
        <source>≪オプション</source>
        <translation>≪ Options</translation>
    </message>
    <message>
        <source>Qdxファイルを指定してください。</source>
        <translation>Choose a Qdx file</translation>
    </message>
    <message>
        <source>広告削除を行うQdxファイルを指定してください。</source>
        <translation>Choose the Qdx file for ad removal</translation>
    </message>
    <message>
        <source>バッチに追加できるのは、入力画面のジョブだけです。</source>
        <translation>Only a job of the input view can be added to the batch.</translation>
    </message>
    <message>
        <source>新規起動(&amp;N)</source>
        <translation>&amp;New Window</translation>
    </message>
    <message>
        <source>更新チェックファイル（*.qdx）を開く(&amp;O)</source>
        <translation>&amp;Open Update Check File (*.qdx)</translation>
    </message>
    <message>
        <source>バナー広告等を削除(&amp;D)</source>
        <translation>Remove Banner A&amp;ds</translation>
    </message>
    <message>
        <source>ダウンロード開始</source>
        <translation>Start Download</translation>
    </message>
    <message>
        <source>バッチに追加</source>
        <translation>Add to Batch</translation>
    </message>
    <message>
        <source>バッチを実行</source>
        <translation>Run Batch</translation>
    </message>
    <message>
        <source>スケジューラを起動(&amp;S)</source>
        <translation>Start &amp;Scheduler</translation>
    </message>
    <message>
        <source>管理ツール[QdxSuite] を起動(&amp;M)</source>
        <translation>Start &amp;Management Tool [QdxSuite]</translation>
    </message>
    <message>
        <source>Sitrova の終了(&amp;C)</source>
        <translation>E&amp;xit Sitrova</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>設定(&amp;O)</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>CPU占有率設定(&amp;C)</source>
        <translation>&amp;CPU Usage</translation>
    </message>
    <message>
        <source>保存先履歴消去(&amp;L)</source>
        <translation>C&amp;lear Save Location History</translation>
    </message>
    <message>
        <source>サイト保存の環境編集(&amp;S)</source>
        <translation>&amp;Site Save Settings</translation>
    </message>
    <message>
        <source>連番保存の環境編集(&amp;G)</source>
        <translation>Se&amp;rial Save Settings</translation>
    </message>
    <message>
        <source>Qdxファイルの環境編集(&amp;F)</source>
        <translation>Qdx &amp;File Settings</translation>
    </message>
    <message>
        <source>その他の環境編集</source>
        <translation>&amp;Other Settings</translation>
    </message>
    <message>
        <source>Web の環境編集(&amp;W)</source>
        <translation>&amp;Web Settings</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>ヘルプファイル(&amp;H)</source>
        <translation>&amp;Help File</translation>
    </message>
    <message>
        <source>What&apos;s Qdxファイル？(&amp;C)</source>
        <translation>What Is a &amp;Qdx File?</translation>
    </message>
    <message>
        <source>Read me ファイル(&amp;R)</source>
        <translation>&amp;Read Me File</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)</source>
        <translation>&amp;About Sitrova</translation>
    </message>
    <message>
        <source>（%1個のリンク）</source>
        <translation>(links: %1)</translation>
    </message>
    <message>
        <source>追跡リンク選択ダイアログ</source>
        <translation>Choose Links to Follow</translation>
    </message>
    <message>
        <source>【開始ページ】%1
2階層目から先は、チェックしたフォルダとその下のフォルダにあるページだけを追跡します。
どれもチェックしなければ、全てのリンクを追跡します。</source>
        <translation>[Start page] %1
From the second level on, only pages in the ticked folders and the folders below them are followed.
When none is ticked, every link is followed.</translation>
    </message>
    <message>
        <source>フォルダ／リンク</source>
        <translation>Folder / link</translation>
    </message>
    <message>
        <source>ページタイトル</source>
        <translation>Page title</translation>
    </message>
    <message>
        <source>開始ページのリンクを取得中･･･</source>
        <translation>Getting the start page&apos;s links...</translation>
    </message>
    <message>
        <source>全て選択</source>
        <translation>Select All</translation>
    </message>
    <message>
        <source>全て解除</source>
        <translation>Clear all</translation>
    </message>
    <message>
        <source>リンク %1個 ／ フォルダ %2個</source>
        <translation>Links: %1 / folders: %2</translation>
    </message>
    <message>
        <source>Qdxファイル (*.qdx)</source>
        <translation>Qdx files (*.qdx)</translation>
    </message>
    <message>
        <source>HTMLファイル (*.html *.htm);;すべてのファイル (*)</source>
        <translation>HTML files (*.html *.htm);;All files (*)</translation>
    </message>
    <message>
        <source>≪簡易</source>
        <translation>≪ Simple</translation>
    </message>
    <message>
        <source>詳細≫</source>
        <translation>Details ≫</translation>
    </message>
    <message>
        <source>強制終了します。<byte value="xd"/>
よろしいですか？</source>
        <translation>This stops the save.<byte value="xd"/>
Are you sure?</translation>
    </message>
    <message>
        <source>Sitrova - サイト保存を終了しました</source>
        <translation>Sitrova - site save finished</translation>
    </message>
    <message>
        <source>参照...</source>
        <translation>Browse...</translation>
    </message>
</context>
</TS>
