#include "cui/ElementLookup.h"

#include <algorithm>

#include "platform/ByteString.h"

namespace cui {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

struct LookupStep {
    std::string_view name;
    long long skip = 0;
};

bool ParseStep(std::string_view text, LookupStep& step) {
    const size_t bracket = text.find('[');
    step.name = text.substr(0, bracket);
    if (step.name.empty()) return false;
    if (bracket == std::string_view::npos) return true;
    std::string_view inner = text.substr(bracket + 1);
    if (inner.empty() || inner.back() != ']') return false;
    inner.remove_suffix(1);
    if (!inner.empty() && inner[0] == '@') return true;
    step.skip = platform::ParseDecimal(inner);
    if (step.skip < 0) step.skip = 0;
    return true;
}

// One step inside `context`; the element found becomes the next context.
bool FindStep(std::string_view context, const LookupStep& step, std::string_view& element) {
    const std::string open = "<" + std::string(step.name);
    size_t at = platform::FindI(context, open);
    for (long long n = 0; n < step.skip && at != std::string_view::npos; ++n)
        at = platform::FindI(context, open, at + 1);
    if (at == std::string_view::npos) return false;
    const size_t after = at + open.size();
    if (after >= context.size()) return false;
    const char next = context[after];
    size_t end;
    if (next == '/' || (IsBlank(next) && context.substr(after + 1, 2) == "/>")) {
        // "<name/>" or "<name />": empty, no end tag.
        const size_t slash = next == '/' ? after : after + 1;
        if (context.substr(slash, 2) != "/>") return false;
        end = slash + 2;
    } else if (next == '>' || IsBlank(next)) {
        const std::string close = "</" + std::string(step.name) + ">";
        const size_t closeAt = platform::FindI(context, close, after);
        if (closeAt == std::string_view::npos) return false;
        end = closeAt + close.size();
    } else {
        return false;
    }
    element = context.substr(at, end - at);
    return true;
}

}  // namespace

bool FindElement(std::string_view text, std::string_view path, std::string_view& element) {
    if (!path.empty() && path[0] == '/') path.remove_prefix(1);
    std::string_view context = text;
    bool found = false;
    while (!path.empty()) {
        const size_t slash = path.find('/');
        LookupStep step;
        if (!ParseStep(path.substr(0, slash), step)) return false;
        if (!FindStep(context, step, context)) return false;
        found = true;
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    }
    if (found) element = context;
    return found;
}

std::string ElementValue(std::string_view element, std::string_view name) {
    const size_t nameEnd = 1 + name.size();
    const size_t gt = element.find('>', std::min(nameEnd, element.size()));
    if (gt == std::string_view::npos || element.substr(0, gt + 1).ends_with("/>")) return {};
    size_t begin = gt + 1;
    const size_t close = platform::FindI(element, "</" + std::string(name), begin);
    size_t end = close == std::string_view::npos ? element.size() : close;
    while (begin < end && (element[begin] == '\r' || element[begin] == '\n')) ++begin;
    while (end > begin && (element[end - 1] == '\r' || element[end - 1] == '\n')) --end;
    return std::string(element.substr(begin, end - begin));
}

bool LookUpValue(std::string_view text, std::string_view path, std::string& value) {
    std::string_view element;
    if (!FindElement(text, path, element)) return false;
    std::string_view name = path.substr(path.rfind('/') + 1);
    name = name.substr(0, name.find('['));
    value = ElementValue(element, name);
    return true;
}

}  // namespace cui
