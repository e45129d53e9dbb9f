#include "cui/ElementLookup.h"

#include <algorithm>
#include <vector>

#include "platform/ByteString.h"
#include "platform/FileUtil.h"
#include "platform/UiText.h"

namespace cui {

namespace {

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

// The step's element among the elements inside `context` (all of the document when null),
// in document order.
const xml::Node* FindStep(const xml::Document& doc, const xml::Node* context, const LookupStep& step) {
    long long skip = step.skip;
    std::vector<const xml::Node*> pending;
    if (context) {
        for (const xml::Node* c = context->FirstChild(); c; c = c->NextSibling()) pending.push_back(c);
    } else {
        for (const xml::Node* n = doc.Top(); n; n = n->NextSibling()) pending.push_back(n);
    }
    std::reverse(pending.begin(), pending.end());
    while (!pending.empty()) {
        const xml::Node* node = pending.back();
        pending.pop_back();
        if (node->Kind() != xml::NodeElement) continue;
        if (platform::EqualsI(node->Name(), step.name) && skip-- == 0) return node;
        const size_t at = pending.size();
        for (const xml::Node* c = node->FirstChild(); c; c = c->NextSibling()) pending.push_back(c);
        std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(at), pending.end());
    }
    return nullptr;
}

}  // namespace

int ReadParamFile(const std::string& path, xml::Document& doc, std::string& reason) {
    std::string bytes;
    if (!platform::ReadWholeFile(path, bytes)) {
        reason = platform::Tr("ファイルを読み込めません。");
        return ParamUnreadable;
    }
    std::string text;
    if (!xml::FileBytesToText(bytes, text, reason) || !doc.Parse(text, &reason)) return ParamMalformed;
    return ParamReadOk;
}

const xml::Node* FindElement(const xml::Document& doc, std::string_view path) {
    if (!path.empty() && path[0] == '/') path.remove_prefix(1);
    if (path.empty()) return nullptr;
    const xml::Node* context = nullptr;
    while (!path.empty()) {
        const size_t slash = path.find('/');
        LookupStep step;
        if (!ParseStep(path.substr(0, slash), step)) return nullptr;
        context = FindStep(doc, context, step);
        if (!context) return nullptr;
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    }
    return context;
}

std::string ElementValue(const xml::Node* element) {
    const xml::Node* text = element ? element->TextChild() : nullptr;
    return text ? text->String() : std::string();
}

bool LookUpValue(const xml::Document& doc, std::string_view path, std::string& value) {
    const xml::Node* element = FindElement(doc, path);
    if (!element) return false;
    value = ElementValue(element);
    return true;
}

}  // namespace cui
