<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>UiText</name>
    <message>
        <source>コメント編集</source>
        <translation>Edit Comment</translation>
    </message>
    <message>
        <source>登録(Ctrl+S)</source>
        <translation>Save (Ctrl+S)</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Qdxファイルが開けません: %1</source>
        <translation>Cannot open the Qdx file: %1</translation>
    </message>
    <message>
        <source>Qdxファイル - 関連リンク</source>
        <translation>Qdx File - Related Link</translation>
    </message>
    <message>
        <source>詳細</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>指定されたファイルが見つかりません。</source>
        <translation>The file was not found.</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>関連リンクの登録</source>
        <translation>Add Related Link</translation>
    </message>
    <message>
        <source>■登録するリンク名</source>
        <translation>■ Link name</translation>
    </message>
    <message>
        <source>■登録するフルパス</source>
        <translation>■ Full path or URL</translation>
    </message>
    <message>
        <source>Webファイルは、ダウンロードして保存の後に登録する。</source>
        <translation>Download and save web files before adding them</translation>
    </message>
    <message>
        <source>追加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>リンク名を入力してください。</source>
        <translation>Enter a link name.</translation>
    </message>
    <message>
        <source>指定されたファイル／フォルダは存在しません。</source>
        <translation>The file or folder does not exist.</translation>
    </message>
    <message>
        <source>関連リンクはこれ以上登録できません。</source>
        <translation>No more related links can be added.</translation>
    </message>
    <message>
        <source>保存先のフォルダを作成できません: %1</source>
        <translation>Cannot create the save folder: %1</translation>
    </message>
    <message>
        <source>ファイルをダウンロードできませんでした。</source>
        <translation>The file could not be downloaded.</translation>
    </message>
    <message>
        <source>関連リンクの削除</source>
        <translation>Delete Related Links</translation>
    </message>
    <message>
        <source>削除する関連リンクをチェックしてください。</source>
        <translation>Tick the related links to delete.</translation>
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
        <source>削除する</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>関連リンクを削除できません: %1</source>
        <translation>Cannot delete the related links: %1</translation>
    </message>
    <message>
        <source>指定されたファイルが見つかりません。<byte value="xd"/>
%1</source>
        <translation>The file was not found.<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>保存したファイルを開く(&amp;O)</source>
        <translation>&amp;Open Saved File</translation>
    </message>
    <message>
        <source>コンプリートURLを開く(&amp;P)</source>
        <translation>Open Start &amp;URL</translation>
    </message>
    <message>
        <source>エラーログを開く(&amp;E)</source>
        <translation>Open &amp;Error Log</translation>
    </message>
    <message>
        <source>更新レポートを開く(&amp;R)</source>
        <translation>Open Change &amp;Report</translation>
    </message>
    <message>
        <source>更新をチェックする(&amp;I)</source>
        <translation>Run Update &amp;Check</translation>
    </message>
    <message>
        <source>Sitrova の新規起動(&amp;N)</source>
        <translation>Start &amp;New Sitrova</translation>
    </message>
    <message>
        <source>終了(&amp;C)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>ツール(&amp;T)</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>コメントの編集(&amp;C)</source>
        <translation>Edit &amp;Comment</translation>
    </message>
    <message>
        <source>バナー広告等削除を実行(&amp;D)</source>
        <translation>Run &amp;Ad Removal</translation>
    </message>
    <message>
        <source>Qdxファイルのフルパスをコピー(&amp;P)</source>
        <translation>Copy Qdx File &amp;Path</translation>
    </message>
    <message>
        <source>リンク(&amp;L)</source>
        <translation>&amp;Links</translation>
    </message>
    <message>
        <source>外部リンクファイル一覧を開く(&amp;O)</source>
        <translation>&amp;Open Outside-Domain Link List</translation>
    </message>
    <message>
        <source>関連ファイルの追加(&amp;A)</source>
        <translation>&amp;Add Related Link</translation>
    </message>
    <message>
        <source>関連ファイルの削除(&amp;D)</source>
        <translation>&amp;Delete Related Links</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>What&apos;s Qdxファイル？(&amp;C)</source>
        <translation>What Is a &amp;Qdx File?</translation>
    </message>
    <message>
        <source>Read me ファイル？(&amp;R)</source>
        <translation>&amp;Read Me</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)</source>
        <translation>&amp;About Sitrova</translation>
    </message>
    <message>
        <source>保存ファイルの詳細</source>
        <translation>Saved site details</translation>
    </message>
    <message>
        <source>コンプリートURL</source>
        <translation>Start URL</translation>
    </message>
    <message>
        <source>最終更新日</source>
        <translation>Last updated</translation>
    </message>
    <message>
        <source>総HTMLファイル数</source>
        <translation>Total HTML files</translation>
    </message>
    <message>
        <source>オプションの設定</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>≪Note≫</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>%1  が起動できません。</source>
        <translation>Cannot start %1.</translation>
    </message>
    <message>
        <source>「はい」を押すと保存フォルダを開きます。<byte value="xd"/>
開かずに終了する場合は「いいえ」を押してください。</source>
        <translation>Click Yes to open the save folder.<byte value="xd"/>
Click No to finish without opening it.</translation>
    </message>
    <message>
        <source>URLのファイル名</source>
        <translation>File name in URL</translation>
    </message>
    <message>
        <source>保存ファイル名</source>
        <translation>Saved as</translation>
    </message>
    <message>
        <source>ファイルサイズ</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>連番ファイルが存在する可能性があります。<byte value="xd"/>
そちらもダウンロードしますか？<byte value="xd"/>
<byte value="xd"/>
※検出は誤差を含むため、単体ファイルであることが判っている場合には「いいえ」を選んでください。<byte value="xd"/>
そうでないとエラーファイルを延々とDLしてしまう可能性があります。</source>
        <translation>Serially numbered files may follow this one.<byte value="xd"/>
Download them too?<byte value="xd"/>
<byte value="xd"/>
* The detection can be wrong: if you know this is a single file, choose No.<byte value="xd"/>
Otherwise error pages may be downloaded without end.</translation>
    </message>
    <message>
        <source>URLが正しくありません。<byte value="xd"/>
設定しなおす場合は「再試行」を押してください。</source>
        <translation>The URL is not correct.<byte value="xd"/>
Click Retry to enter it again.</translation>
    </message>
    <message>
        <source>ファイルを保存できませんでした。<byte value="xd"/>
理由: %1</source>
        <translation>The file could not be saved.<byte value="xd"/>
Reason: %1</translation>
    </message>
    <message>
        <source>ダウンロードが終了しました。</source>
        <translation>The download has finished.</translation>
    </message>
    <message>
        <source>Sitrova - [連番ファイル保存中]</source>
        <translation>Sitrova - [Serial save running]</translation>
    </message>
    <message>
        <source>Sitrova - [連番ファイルの保存を終了]</source>
        <translation>Sitrova - [Serial save finished]</translation>
    </message>
    <message>
        <source>%1個の連番ファイルを保存しました。</source>
        <translation>Saved %1 serial files.</translation>
    </message>
    <message>
        <source>Error<byte value="xd"/>
連番ファイルの保存を中断しました。<byte value="xd"/>
理由: %1<byte value="xd"/>
中断までに%2個の連番ファイルを保存しました。</source>
        <translation>Error<byte value="xd"/>
The serial save was broken off.<byte value="xd"/>
Reason: %1<byte value="xd"/>
%2 serial files were saved before it stopped.</translation>
    </message>
    <message>
        <source>ページタイトルを取得中</source>
        <translation>Fetching Page Title</translation>
    </message>
    <message>
        <source>サーバーの応答を待機中･･･</source>
        <translation>Waiting for the server to answer...</translation>
    </message>
</context>
</TS>
