// The suite's own small XML document: a tree of elements, attributes and texts held by one
// document, simple path queries, edits, and the indented Shift-JIS text the programs write.
// It reads the documents the suite itself writes (parameter files, the catalogue) and the
// same documents edited by hand (comments, CDATA sections, character references), not
// arbitrary XML: no DTDs, no entities beyond the five named ones.
//
// Strings in the tree are UTF-8. Files are written in Shift-JIS; they are read as Shift-JIS
// unless they start with a UTF-8 byte-order mark or declare encoding="UTF-8".
//
// Usage:
//   xml::Document doc;
//   if (doc.LoadFile(path) != 1) ...;
//   xml::Node* url = doc.Select("/qdxsome:document/url");
//   if (url && url->FirstChild()) doc.SetText(url->FirstChild(), "https://example.org/");
//   xml::Node* entry = doc.CreateElement("entry");
//   doc.AppendChild(entry, doc.CreateText("text"));
//   doc.AppendChild(doc.Select("/catalogue"), entry);   // appends a copy
//   if (doc.SaveFile(path) != 1) ...;
//
// Nodes belong to their document: callers never free them. A node pointer becomes invalid
// when the tree is replaced (Parse, LoadFile), when a subtree holding it is removed, or when
// the document is destroyed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace xml {

enum NodeKind : int32_t { NodeElement = 1, NodeAttribute = 2, NodeText = 3 };

// One element, attribute or text. An element's children list starts with its attributes
// (they are read first) and goes on with its child elements and texts. An attribute has one
// child of kind NodeAttribute holding its value.
class Node {
public:
    NodeKind Kind() const { return m_kind; }
    // Element or attribute name; "#text" for a text.
    std::string_view Name() const;
    // The text of a text node (entities decoded); empty for other kinds.
    std::string_view Value() const;
    // The raw string: a name, an attribute value, or a text.
    const std::string& String() const { return m_string; }

    Node* Parent() const { return m_parent; }
    Node* FirstChild() const { return m_firstChild; }
    Node* PreviousSibling() const { return m_previous; }
    Node* NextSibling() const { return m_next; }
    // An element's first text child (attributes and elements skipped), or null.
    Node* TextChild() const;

private:
    friend class Document;
    friend class Parser;
    NodeKind m_kind = NodeElement;
    Node* m_previous = nullptr;
    Node* m_next = nullptr;
    Node* m_firstChild = nullptr;
    Node* m_parent = nullptr;
    std::string m_string;
};

enum XmlResult : int { XmlFailed = 0, XmlOk = 1 };

class Document {
public:
    // Elements nested deeper than this make a parse fail instead of going on.
    static constexpr int kMaxDepth = 256;

    Document();
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Reads a file (Shift-JIS, or UTF-8 as above) and parses it. On failure the document keeps what it held and
    // `error` (when given) says why.
    [[nodiscard]] int LoadFile(const std::string& path, std::string* error = nullptr);

    // Replaces the tree by the one built from UTF-8 `text`. True when a complete tree was
    // built; on failure nothing is loaded (the old tree is gone either way).
    [[nodiscard]] bool Parse(std::string_view text, std::string* error = nullptr);

    // Evaluates a path: "/a/b/c" from the top element, "./b/c" among the children of the
    // current node, "../b/c" from the current node and its following siblings. A step is a
    // name or "@name" (an attribute), optionally with "[text()='value']" ("&apos;" stands
    // for a quote) or "[n]" (the n-th of that name, from 1). When a later step finds
    // nothing, the search goes back and tries the next match of the step before (never of
    // the first step). "getNodeSt()" returns the current node. Null when nothing matches.
    Node* Select(std::string_view path) const;

    // Replaces the text of a text node; returns the stored text, or null (nothing changed)
    // when `text` is not a text node.
    const std::string* SetText(Node* text, std::string_view value);

    // Unlinks a node and frees its whole subtree.
    void Remove(Node* node);

    // New nodes of this document, not yet in the tree.
    Node* CreateElement(std::string_view name);
    Node* CreateText(std::string_view text);

    // Links a copy of `child` and its subtree as the last child of `parent`; returns the copy.
    // Null when parent is null or not an element.
    Node* AppendChild(Node* parent, const Node* child);

    // The declaration and the tree as indented text (UTF-8, CR LF).
    std::string ToText() const;
    // Writes ToText() as Shift-JIS. 0 when a character has no Shift-JIS code or the file
    // cannot be written; the file is then left as it was.
    [[nodiscard]] int SaveFile(const std::string& path, std::string* error = nullptr) const;

    // The top element of the loaded tree (null when none) and the node queries start from.
    Node* Top() const { return m_top; }
    Node* Current() const { return m_current; }
    void SetCurrent(Node* node) { m_current = node ? node : m_constructionRoot; }

private:
    Node* NewNode(NodeKind kind, std::string_view text);
    void FreeSubtree(Node* node);
    void ClearTree();
    Node* Copy(const Node* source, Node* parent);
    friend class Parser;

    std::unordered_map<const Node*, std::unique_ptr<Node>> m_nodes;
    Node* m_constructionRoot = nullptr;
    Node* m_top = nullptr;
    Node* m_current = nullptr;
};

// The five named entities and character references ("&#65;", "&#x41;") decoded; other "&"
// sequences stay as they stand.
std::string DecodeEntities(std::string_view text);

// A file's bytes as UTF-8 text: UTF-8 after a byte-order mark or when the declaration names
// UTF-8, otherwise Shift-JIS (also when nothing is declared). False with the reason when the
// bytes are not of that encoding or another encoding is declared.
bool FileBytesToText(std::string_view bytes, std::string& text, std::string& error);
// The offset of the first byte that does not belong to well-formed UTF-8, or npos.
size_t FirstBadUtf8(std::string_view text);
// "&", "<", ">", double and single quote written as entities.
std::string EscapeText(std::string_view text);

}  // namespace xml
