#include "engine/RenderMessage.h"

#include <charconv>

namespace engine {

namespace {

// Big enough for any page and its serialised DOM; a length beyond it is a broken stream.
constexpr size_t kMaxFieldBytes = size_t{512} << 20;

}  // namespace

std::string EncodeRenderMessage(const RenderFields& fields) {
    std::string out;
    for (const auto& [name, value] : fields) {
        if (name == "end") continue;
        out += name + " " + std::to_string(value.size()) + "\n";
        out += value;
        out += '\n';
    }
    out += "end 0\n\n";
    return out;
}

int TakeRenderMessage(std::string& buffer, RenderFields& fields) {
    RenderFields taken;
    size_t at = 0;
    while (true) {
        const size_t lineEnd = buffer.find('\n', at);
        if (lineEnd == std::string::npos) return buffer.size() - at > 300 ? RenderMessageBroken : RenderMessageIncomplete;
        const size_t space = buffer.find(' ', at);
        if (space == std::string::npos || space > lineEnd || space == at) return RenderMessageBroken;
        size_t length = 0;
        const char* first = buffer.data() + space + 1;
        const char* last = buffer.data() + lineEnd;
        const auto [end, ec] = std::from_chars(first, last, length);
        if (ec != std::errc() || end != last || length > kMaxFieldBytes) return RenderMessageBroken;
        if (buffer.size() < lineEnd + 1 + length + 1) return RenderMessageIncomplete;
        if (buffer[lineEnd + 1 + length] != '\n') return RenderMessageBroken;
        std::string name = buffer.substr(at, space - at);
        if (name == "end") {
            buffer.erase(0, lineEnd + 2 + length);
            fields = std::move(taken);
            return RenderMessageComplete;
        }
        taken[std::move(name)] = buffer.substr(lineEnd + 1, length);
        at = lineEnd + 2 + length;
    }
}

}  // namespace engine
