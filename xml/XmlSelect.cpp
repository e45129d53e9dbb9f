// Path queries over the tree.
#include <charconv>
#include <vector>

#include "xml/XmlDocument.h"

namespace xml {

namespace {

struct Step {
    std::string name;
    NodeKind kind = NodeElement;
    bool hasText = false;
    std::string text;
    int index = 0;  // 0: any; n: the n-th of that name
};

// Splits at "/" outside square brackets, so a predicate value may hold slashes.
std::vector<std::string_view> SplitSteps(std::string_view path) {
    std::vector<std::string_view> steps;
    size_t start = 0;
    bool inBracket = false;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || (path[i] == '/' && !inBracket)) {
            steps.push_back(path.substr(start, i - start));
            start = i + 1;
        } else if (path[i] == '[') {
            inBracket = true;
        } else if (path[i] == ']') {
            inBracket = false;
        }
    }
    return steps;
}

bool ParseStep(std::string_view text, Step& step) {
    const size_t bracket = text.find('[');
    std::string_view name = text.substr(0, bracket);
    if (!name.empty() && name[0] == '@') {
        step.kind = NodeAttribute;
        name.remove_prefix(1);
    }
    if (name.empty()) return false;
    step.name.assign(name);
    if (bracket == std::string_view::npos) return true;
    if (text.back() != ']') return false;
    std::string_view inner = text.substr(bracket + 1, text.size() - bracket - 2);
    constexpr std::string_view kTextOpen = "text()='";
    if (inner.substr(0, kTextOpen.size()) == kTextOpen) {
        if (inner.size() < kTextOpen.size() + 1 || inner.back() != '\'') return false;
        std::string value(inner.substr(kTextOpen.size(), inner.size() - kTextOpen.size() - 1));
        for (size_t at; (at = value.find("&apos;")) != std::string::npos;) value.replace(at, 6, "'");
        step.hasText = true;
        step.text = std::move(value);
        return true;
    }
    int n = 0;
    auto [end, ec] = std::from_chars(inner.data(), inner.data() + inner.size(), n);
    if (ec != std::errc() || end != inner.data() + inner.size() || n < 0) return false;
    step.index = n == 0 ? 1 : n;
    return true;
}

// The text a predicate compares: an element's text child, an attribute's value.
const std::string* PredicateText(const Node* node) {
    if (node->Kind() == NodeAttribute) return node->FirstChild() ? &node->FirstChild()->String() : nullptr;
    const Node* text = node->TextChild();
    return text ? &text->String() : nullptr;
}

// Finds the first node matching steps[i..] among `first` and its following siblings. Only
// steps after the first go back to try further candidates.
Node* Match(const std::vector<Step>& steps, size_t i, Node* first) {
    const Step& step = steps[i];
    int seen = 0;
    for (Node* c = first; c; c = c->NextSibling()) {
        if (c->Kind() != step.kind || c->String() != step.name) continue;
        if (step.index > 0 && ++seen != step.index) continue;
        if (step.hasText) {
            const std::string* text = PredicateText(c);
            if (!text || *text != step.text) continue;
        }
        if (i + 1 == steps.size()) return c;
        if (Node* found = Match(steps, i + 1, c->FirstChild())) return found;
        if (i == 0 || step.index > 0) return nullptr;
    }
    return nullptr;
}

}  // namespace

Node* Document::Select(std::string_view path) const {
    if (path == "getNodeSt()") return m_current;
    Node* start = nullptr;
    std::vector<std::string_view> texts;
    if (!path.empty() && path[0] == '/') {
        Node* top = m_current;
        while (top && top->Parent()) top = top->Parent();
        if (top == m_constructionRoot) top = m_top;
        while (top && top->PreviousSibling()) top = top->PreviousSibling();
        start = top;
        texts = SplitSteps(path.substr(1));
    } else {
        texts = SplitSteps(path);
        if (texts.empty()) return nullptr;
        if (texts[0] == ".") start = m_current ? m_current->FirstChild() : nullptr;
        else if (texts[0] == "..") start = m_current;
        else return nullptr;
        texts.erase(texts.begin());
        if (!texts.empty() && texts.back().empty()) texts.pop_back();  // "../" is ".."
        if (texts.empty()) return m_current;
    }
    std::vector<Step> steps(texts.size());
    for (size_t i = 0; i < texts.size(); ++i)
        if (!ParseStep(texts[i], steps[i])) return nullptr;
    if (steps.empty() || !start) return nullptr;
    return Match(steps, 0, start);
}

}  // namespace xml
