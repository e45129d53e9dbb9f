#include "download/ChunkChecks.h"

#include <string>

#include "platform/ByteString.h"
#include "platform/Codepage.h"

namespace download {

namespace {

// Short chunks without a closing title are judged by their heading alone.
constexpr size_t kShortPage = 256;

// A Japanese mark as a page may hold it: Shift-JIS, the code of the hosts that send it, or
// UTF-8.
bool ContainsJapanese(std::string_view text, std::string_view utf8) {
    if (text.find(utf8) != std::string_view::npos) return true;
    std::string sjis;
    return platform::Utf8ToCp932(utf8, sjis) == platform::CodepageOk && text.find(sjis) != std::string_view::npos;
}

}  // namespace

bool IsNotFoundChunk(std::string_view chunk) {
    const size_t title = platform::FindI(chunk, "<title>");
    if (title == platform::npos) return false;
    const std::string_view rest = chunk.substr(title);
    return platform::ContainsI(rest, "not found") || rest.find("404") != std::string_view::npos;
}

bool IsServerBusyChunk(std::string_view chunk) {
    const size_t close = platform::FindI(chunk, "</title>");
    if (close != platform::npos) {
        const size_t open = platform::FindI(chunk, "<title>");
        const size_t from = open == platform::npos || open > close ? 0 : open;
        if (platform::ContainsI(chunk.substr(from, close - from), "503 Service Temporarily Unavailable")) return true;
    } else if (chunk.size() < kShortPage && platform::ContainsI(chunk, "<h1>Service Unavailable</h1>")) {
        return true;
    }
    return ContainsJapanese(chunk, "<b>エラー発生！<br>") && ContainsJapanese(chunk, "お使いの帯域が割り当て数値を超えました");
}

}  // namespace download
