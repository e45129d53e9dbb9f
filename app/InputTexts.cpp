// The texts the input view makes from outside input: page titles, shortcut files, the
// restart argument.
#include "app/InputRules.h"

#include <initializer_list>

#include "engine/UrlModel.h"
#include "platform/ByteString.h"
#include "platform/UiText.h"
#include "records/PageTitleFetch.h"

namespace app {

namespace {

// File names on this system hold at most 255 bytes; the name keeps room for ".html".
constexpr size_t kTitleNameBytes = 200;
constexpr std::string_view kBadNameChars = "\\/:,;*?<>|\"";

// Cuts UTF-8 text to at most `bytes` without splitting a character.
std::string CutUtf8(std::string text, size_t bytes) {
    if (text.size() <= bytes) return text;
    size_t end = bytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.resize(end);
    return text;
}

std::string DecodeBasicEntities(std::string_view text) {
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}, {"&apos;", '\''}};
    std::string out;
    for (size_t i = 0; i < text.size();) {
        bool decoded = false;
        if (text[i] == '&') {
            for (const auto& [name, ch] : kEntities) {
                if (platform::StartsWithI(text.substr(i), name)) {
                    out += ch;
                    i += name.size();
                    decoded = true;
                    break;
                }
            }
        }
        if (!decoded) out += text[i++];
    }
    return out;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::string NameFromTitle(std::string_view title) {
    std::string name = DecodeBasicEntities(title);
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || kBadNameChars.find(c) != std::string_view::npos) c = '_';
    // Blanks at the ends, and the ideographic blank (U+3000), are not part of a title.
    constexpr std::string_view kWideBlank = "\xE3\x80\x80";
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        while (!name.empty() && IsBlank(name.front())) name.erase(0, 1), trimmed = true;
        while (!name.empty() && IsBlank(name.back())) name.pop_back(), trimmed = true;
        if (name.rfind(kWideBlank, 0) == 0) name.erase(0, kWideBlank.size()), trimmed = true;
        if (name.size() >= kWideBlank.size() && name.compare(name.size() - kWideBlank.size(), kWideBlank.size(), kWideBlank) == 0)
            name.resize(name.size() - kWideBlank.size()), trimmed = true;
    }
    // A name of dots alone would name a folder, not a file.
    if (name.find_first_not_of('.') == std::string::npos) return {};
    return CutUtf8(std::move(name), kTitleNameBytes) + ".html";
}

bool ClassifyFileUrl(std::string_view url, std::string& kindText, std::string& message) {
    const std::string_view kFileMessage = platform::Tr("このファイル単体、\r\nもしくは連番ファイルを保存できます。");
    const std::string_view kDynamicMessage = platform::Tr(
        "動的に生成されるWebページなので、サイト保存は行えません。\r\n"
        "このファイル単体、もしくは連番ファイルを保存できます。");
    auto endsWithAny = [url](std::initializer_list<std::string_view> extensions) {
        for (std::string_view extension : extensions)
            if (platform::EndsWithI(url, extension)) return true;
        return false;
    };
    kindText = platform::Tr("不明");
    message = platform::Tr("有効なURLを指定してください。");
    if (engine::SchemeEnd(url) == std::string_view::npos) return false;
    struct Kind {
        bool matches;
        const char* text;
        std::string_view message;
    };
    const Kind kinds[] = {
        {endsWithAny({".swf"}), platform::Tr("フラッシュファイル"), kFileMessage},
        {endsWithAny({".mp3", ".mpa", ".wma", ".wav", ".mid"}), platform::Tr("音ファイル"), kFileMessage},
        {endsWithAny({".mpg", ".mpeg", ".avi", ".wmv", ".mov"}), platform::Tr("動画ファイル"), kFileMessage},
        {url.size() > 6 && endsWithAny({".jpg", ".jpeg", ".gif", ".png", ".bmp"}), platform::Tr("画像ファイル"), kFileMessage},
        {engine::IsCgiName(url), platform::Tr("Cgiファイル"), kDynamicMessage},
        {engine::IsDynamicName(url), platform::Tr("Php/ASP.NETファイル"), kDynamicMessage},
    };
    for (const Kind& kind : kinds) {
        if (!kind.matches) continue;
        kindText = kind.text;
        message = kind.message;
        return true;
    }
    return false;
}

std::string TitleAsUtf8(std::string_view bytes) { return records::TitleAsUtf8(bytes); }

std::string TitleReferer(std::string_view url) { return records::TitleReferer(url); }

std::string RestartArgument(const std::string& url, const std::string& savePath) {
    if (url.size() <= 7 || engine::SchemeEnd(url) == std::string::npos || savePath.empty()) return {};
    return "PresetUrl,\"" + url + "\",\"" + savePath + "\"";
}

std::string ShortcutUrl(std::string_view fileText) {
    size_t pos = 0;
    while (pos < fileText.size()) {
        size_t end = fileText.find('\n', pos);
        if (end == std::string_view::npos) end = fileText.size();
        std::string_view line = fileText.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (platform::StartsWithI(line, "URL=")) {
            line.remove_prefix(4);
            while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
            return std::string(line);
        }
        pos = end + 1;
    }
    return {};
}

}  // namespace app
