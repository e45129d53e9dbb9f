#include "platform/UiText.h"

#include <unordered_map>

#include "platform/UiLanguage.h"

namespace platform {

namespace {

const std::unordered_map<std::string_view, const char*>& EnglishIndex() {
    static const std::unordered_map<std::string_view, const char*> index = [] {
        std::unordered_map<std::string_view, const char*> built;
        built.reserve(kEnglishTextCount);
        for (size_t i = 0; i < kEnglishTextCount; ++i) built.emplace(kEnglishTexts[i].japanese, kEnglishTexts[i].english);
        return built;
    }();
    return index;
}

std::string Substitute(std::string_view pattern, std::initializer_list<std::string_view> args) {
    std::string out;
    out.reserve(pattern.size() + 32);
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size()) {
            const char next = pattern[i + 1];
            if (next == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (next >= '1' && next <= '9') {
                const size_t n = static_cast<size_t>(next - '1');
                if (n < args.size()) out.append(*(args.begin() + n));
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

}  // namespace

const char* EnglishOf(std::string_view japanese) {
    const auto& index = EnglishIndex();
    const auto found = index.find(japanese);
    return found == index.end() ? nullptr : found->second;
}

const char* Tr(const char* japanese) {
    if (!InEnglish()) return japanese;
    const char* english = EnglishOf(japanese);
    return english ? english : japanese;
}

std::string TrArgs(const char* japanese, std::initializer_list<std::string_view> args) {
    return Substitute(Tr(japanese), args);
}

std::string TrArgs(const char* japanese, std::initializer_list<std::string_view> args, UiLanguage language) {
    const char* english = language == UiLanguage::English ? EnglishOf(japanese) : nullptr;
    return Substitute(english ? english : japanese, args);
}

}  // namespace platform
