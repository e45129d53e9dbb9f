#include "engine/NamedOptions.h"

#include <charconv>

#include "platform/UiText.h"

namespace engine {

namespace {

// A value travels as one line of a settings file and as one program argument.
bool StorableText(std::string_view text) { return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos; }

// Why a value was refused, naming the option: Japanese for a log, the user's language for the user.
int Refuse(const NamedOptionDescriptor& option, platform::UiLanguage language, const std::string& why,
           std::string* error) {
    if (error) *error = platform::TrArgs("%1 の値が正しくありません（%2）。", {option.name, why}, language);
    return NamedOptionRefused;
}

}  // namespace

const std::vector<NamedOptionDescriptor>& NamedOptionTable() {
    static const std::vector<NamedOptionDescriptor> table = {
        {"cookie-file", NamedOptionKind::Path, "クッキーファイル（cookies.txt 形式）",
         "保存の初めに読むクッキーファイル（Netscape の cookies.txt 形式）", &NamedOptions::cookieFile, 0, 0},
        {"ignore-robots", NamedOptionKind::Bool, "robots.txt を無視する",
         "サイトの robots.txt が禁じるページやファイルも取得する", &NamedOptions::ignoreRobots, 0, 0},
        {"wait-ms", NamedOptionKind::Integer, "同じホストへのリクエスト間隔（ミリ秒）",
         "同じホストへのリクエストの間に置く最短の間隔（ミリ秒、0～60000）", &NamedOptions::waitMs, 0, 60000},
        {"wait-random", NamedOptionKind::Bool, "リクエスト間隔をランダムに変える（±50%）",
         "リクエスト間隔を毎回 ±50% の範囲でランダムに変える", &NamedOptions::waitRandom, 0, 0},
        {"history-runs", NamedOptionKind::Integer, "旧版を残す更新の回数（0 で残さない）",
         "更新で置き換えたページやファイルの旧版を _history に残す更新の回数（0～1000、0 で残さない）",
         &NamedOptions::historyRuns, 0, 1000},
        {"credentials-file", NamedOptionKind::Path, "認証情報ファイル（netrc 形式）",
         "HTTP の Basic／Digest 認証に使うログイン情報のファイル（netrc 形式: machine ホスト login 名前 password パスワード）",
         &NamedOptions::credentialsFile, 0, 0},
        {"proxy", NamedOptionKind::Text, "プロキシ（http://ホスト:ポート、socks5h://ホスト:ポート）",
         "すべてのリクエストを通すプロキシ（空なら環境変数 http_proxy・https_proxy・no_proxy に従う）", &NamedOptions::proxy, 0, 0},
        {"no-proxy", NamedOptionKind::Text, "プロキシを通さないホスト（カンマ区切り）",
         "proxy を指定したときに直接つなぐホスト（カンマ区切り。環境変数 no_proxy の代わり）", &NamedOptions::noProxy, 0, 0},
        {"proxy-credentials-file", NamedOptionKind::Path, "プロキシの認証情報ファイル（netrc 形式）",
         "プロキシのログイン情報のファイル（netrc 形式。プロキシのホスト名の machine 行か default 行を使う）",
         &NamedOptions::proxyCredentialsFile, 0, 0},
        {"accept-self-signed", NamedOptionKind::Bool, "自己署名の証明書を受け入れる（証明書を検証しない）",
         "サーバーの証明書を検証しない（自己署名の証明書のサイト用。この保存だけに指定してください）",
         &NamedOptions::acceptSelfSigned, 0, 0},
        {"sitemaps", NamedOptionKind::Bool, "サイトマップ（sitemap.xml）に載っているページも保存する",
         "開始ページのホストの sitemap.xml と robots.txt が示すサイトマップに載っているページも辿る（保存の範囲は変わらない）",
         &NamedOptions::sitemaps, 0, 0},
        {"warc", NamedOptionKind::Bool, "WARCファイル（ウェブアーカイブ）にも記録する",
         "保存中のすべての HTTP のやり取りを、保存先の <名前>.warc.gz（索引 <名前>.cdxj）に記録する",
         &NamedOptions::warc, 0, 0},
        {"wacz", NamedOptionKind::Bool, "WARCをWACZパッケージにもまとめる",
         "warc を指定したとき、WARC と索引を <名前>.wacz（ブラウザで再生できるパッケージ）にもまとめる",
         &NamedOptions::wacz, 0, 0},
        {"render", NamedOptionKind::Bool, "スクリプト実行後のページを保存",
         "各ページをブラウザーエンジン（SitrovaRender、Qt WebEngine）で開き、スクリプトが作った内容とページが読み込んだファイルを保存する",
         &NamedOptions::render, 0, 0},
        {"render-keep-scripts", NamedOptionKind::Bool, "スクリプト実行後のページにスクリプトを残す",
         "render で保存したページからスクリプトを取り除かずに残す（既定では取り除く）", &NamedOptions::renderKeepScripts, 0, 0},
    };
    return table;
}

const NamedOptionDescriptor* FindNamedOption(std::string_view name) {
    for (const NamedOptionDescriptor& option : NamedOptionTable())
        if (name == option.name) return &option;
    return nullptr;
}

std::string NamedOptionText(const NamedOptions& options, const NamedOptionDescriptor& option) {
    if (auto text = std::get_if<std::string NamedOptions::*>(&option.field)) return options.**text;
    if (auto flag = std::get_if<bool NamedOptions::*>(&option.field)) return options.**flag ? "1" : "0";
    return std::to_string(options.*std::get<int64_t NamedOptions::*>(option.field));
}

int SetNamedOptionText(NamedOptions& options, const NamedOptionDescriptor& option, std::string_view text,
                       std::string* error, RefusalFor reader) {
    const platform::UiLanguage language =
        reader == RefusalFor::User ? platform::CurrentUiLanguage() : platform::UiLanguage::Japanese;
    auto refuse = [&](const std::string& why) { return Refuse(option, language, why, error); };
    if (!StorableText(text)) return refuse(platform::TrArgs("改行を含めることはできません", {}, language));
    if (auto field = std::get_if<std::string NamedOptions::*>(&option.field)) {
        if (option.kind == NamedOptionKind::Path && !text.empty() && text.front() != '/')
            return refuse(platform::TrArgs("/ で始まる絶対パスを指定してください", {}, language));
        options.**field = std::string(text);
        return NamedOptionSet;
    }
    if (auto field = std::get_if<bool NamedOptions::*>(&option.field)) {
        if (text != "0" && text != "1") return refuse(platform::TrArgs("0 か 1 を指定してください", {}, language));
        options.**field = text == "1";
        return NamedOptionSet;
    }
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < option.minimum ||
        value > option.maximum)
        return refuse(platform::TrArgs("%1～%2 の整数を指定してください",
                                       {std::to_string(option.minimum), std::to_string(option.maximum)}, language));
    options.*std::get<int64_t NamedOptions::*>(option.field) = value;
    return NamedOptionSet;
}

std::vector<std::string> NamedOptionArguments(const NamedOptions& options) {
    const NamedOptions defaults;
    std::vector<std::string> arguments;
    for (const NamedOptionDescriptor& option : NamedOptionTable()) {
        const std::string value = NamedOptionText(options, option);
        if (value != NamedOptionText(defaults, option)) arguments.push_back("--" + std::string(option.name) + "=" + value);
    }
    return arguments;
}

}  // namespace engine
