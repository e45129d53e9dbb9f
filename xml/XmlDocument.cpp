#include "xml/XmlDocument.h"

#include "platform/Codepage.h"
#include "platform/FileUtil.h"
#include "platform/UiText.h"

#include <vector>

namespace xml {

std::string_view Node::Name() const { return m_kind == NodeText ? std::string_view("#text") : m_string; }

std::string_view Node::Value() const { return m_kind == NodeText ? std::string_view(m_string) : std::string_view(); }

Node* Node::TextChild() const {
    for (Node* c = m_firstChild; c; c = c->m_next)
        if (c->m_kind == NodeText) return c;
    return nullptr;
}

Document::Document() {
    m_constructionRoot = NewNode(NodeElement, "crt_root");
    m_current = m_constructionRoot;
}

Document::~Document() = default;

Node* Document::NewNode(NodeKind kind, std::string_view text) {
    auto node = std::make_unique<Node>();
    node->m_kind = kind;
    node->m_string.assign(text);
    Node* raw = node.get();
    m_nodes.emplace(raw, std::move(node));
    return raw;
}

void Document::FreeSubtree(Node* node) {
    // Iterative, so that a deep tree cannot exhaust the stack.
    std::vector<Node*> pending{node};
    while (!pending.empty()) {
        Node* n = pending.back();
        pending.pop_back();
        for (Node* c = n->m_firstChild; c; c = c->m_next) pending.push_back(c);
        if (m_current == n) m_current = m_constructionRoot;
        if (m_top == n) m_top = nullptr;
        m_nodes.erase(n);
    }
}

void Document::ClearTree() {
    for (auto it = m_nodes.begin(); it != m_nodes.end();) {
        if (it->first == m_constructionRoot) {
            ++it;
        } else {
            it = m_nodes.erase(it);
        }
    }
    m_constructionRoot->m_firstChild = nullptr;
    m_top = nullptr;
    m_current = m_constructionRoot;
}

int Document::LoadFile(const std::string& path, std::string* error) {
    std::string bytes;
    if (!platform::ReadWholeFile(path, bytes)) {
        if (error) *error = platform::Tr("ファイルを読み込めません。");
        return XmlFailed;
    }
    std::string text, why;
    if (!FileBytesToText(bytes, text, why)) {
        if (error) *error = why;
        return XmlFailed;
    }
    return Parse(text, error) ? XmlOk : XmlFailed;
}

const std::string* Document::SetText(Node* text, std::string_view value) {
    if (!text || text->m_kind != NodeText) return nullptr;
    text->m_string.assign(value);
    return &text->m_string;
}

void Document::Remove(Node* node) {
    if (!node || node == m_constructionRoot || !m_nodes.count(node)) return;
    if (node->m_previous) node->m_previous->m_next = node->m_next;
    else if (node->m_parent && node->m_parent->m_firstChild == node) node->m_parent->m_firstChild = node->m_next;
    if (node->m_next) node->m_next->m_previous = node->m_previous;
    if (m_top == node) m_top = node->m_next;
    node->m_previous = node->m_next = nullptr;
    FreeSubtree(node);
}

Node* Document::CreateElement(std::string_view name) { return NewNode(NodeElement, name); }

Node* Document::CreateText(std::string_view text) { return NewNode(NodeText, text); }

Node* Document::Copy(const Node* source, Node* parent) {
    Node* copy = NewNode(source->m_kind, source->m_string);
    copy->m_parent = parent;
    Node* last = nullptr;
    for (const Node* c = source->m_firstChild; c; c = c->m_next) {
        Node* childCopy = Copy(c, copy);
        childCopy->m_previous = last;
        if (last) last->m_next = childCopy;
        else copy->m_firstChild = childCopy;
        last = childCopy;
    }
    return copy;
}

Node* Document::AppendChild(Node* parent, const Node* child) {
    if (!parent || !child || parent->m_kind != NodeElement) return nullptr;
    Node* copy = Copy(child, parent);
    Node* last = parent->m_firstChild;
    while (last && last->m_next) last = last->m_next;
    if (last) {
        last->m_next = copy;
        copy->m_previous = last;
    } else {
        parent->m_firstChild = copy;
    }
    return copy;
}

int Document::SaveFile(const std::string& path, std::string* error) const {
    std::string bytes;
    size_t bad = 0;
    const std::string text = ToText();
    if (platform::Utf8ToCp932(text, bytes, &bad) != platform::CodepageOk) {
        if (error) *error = platform::TrArgs("Shift-JIS で書けない文字があります：%1", {platform::DescribeUnmappable(text, bad)});
        return XmlFailed;
    }
    if (!platform::WriteFileReplacing(path, bytes)) {
        if (error) *error = platform::Tr("ファイルを書き込めません。");
        return XmlFailed;
    }
    return XmlOk;
}

}  // namespace xml
