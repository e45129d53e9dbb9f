#include "cui/CuiCommands.h"

#include "platform/UiText.h"

namespace cui {

std::vector<std::string> UsageLines() {
    const std::string text = platform::Tr(
        "\n"
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
        "\n");
    std::vector<std::string> lines;
    // Each line ends with its "\n".
    for (size_t from = 0, end; (end = text.find('\n', from)) != std::string::npos; from = end + 1)
        lines.push_back(text.substr(from, end - from));
    return lines;
}

}  // namespace cui
