#include "cui/CuiCommands.h"

namespace cui {

const std::vector<std::string>& UsageLines() {
    static const std::vector<std::string> lines = {
        "",
        "SitrovaCui オプション [ファイルパス] [Url]",
        "Sitrova をコマンドラインから利用するためのコマンド。",
        "",
        "オプションは以下のものが指定できます。",
        "",
        "/?　　　　このコマンドの使い方を表示します。",
        "",
        "/readme   SitrovaのReadMeファイルを表示します。",
        "",
        "/cut　　　'ファイルパス'に指定したQdxファイルに対応する保存済み",
        "          HTMLファイルから広告を削除します。",
        "",
        "/url　　　'URL'（コンプリート保存するサイト）と'ファイルパス'（保存先）を",
        "          指定した状態でSitrovaを起動します。",
        "",
        "/some     'ファイルパス'に指定したXMLファイルに従い、コンプリート保存を、",
        "          もしくは単体／連番保存を、行います。動作中のユーザ入力は",
        "          一切不要です",
        "",
        "/template オプション'/some'で指定するXMLファイルの雛形ファイルを",
        "          'ファイルパス'に指定したファイルに書き出します。",
        "          ファイルが存在する場合には失敗します。",
        "",
        "/version  SitrovaCuiのバージョン情報を表示します。",
        "/v",
        "",
    };
    return lines;
}

}  // namespace cui
