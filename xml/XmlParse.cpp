// Building the tree from text. The scanner reads the suite's own documents: start tags with
// double- or single-quoted attributes, end tags that must name the open element, empty
// elements written "/>" with or without blanks before the slash, texts, CDATA sections,
// comments and declarations (which produce no nodes). Text is kept only where it stands alone
// between a start tag and its end tag; text beside child elements is dropped.
#include <cstdint>
#include <vector>

#include "platform/ByteString.h"
#include "platform/UiText.h"
#include "xml/XmlDocument.h"

namespace xml {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool EndsName(char c) { return IsBlank(c) || c == '=' || c == '>' || c == '/'; }

std::string_view Trim(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    return text.substr(b, e - b);
}

// "&#65;" or "&#x41;" at the start of `text`: its length, with the character in `code`; 0
// when it is no reference to a character that text may hold.
size_t CharacterReference(std::string_view text, uint32_t& code) {
    if (!text.starts_with("&#")) return 0;
    size_t p = 2;
    const bool hex = p < text.size() && (text[p] == 'x' || text[p] == 'X');
    if (hex) ++p;
    const size_t digitsFrom = p;
    code = 0;
    for (; p < text.size() && text[p] != ';'; ++p) {
        const char c = text[p];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return 0;
        code = code * (hex ? 16 : 10) + static_cast<uint32_t>(digit);
        if (code > 0x10FFFF) return 0;
    }
    if (p == digitsFrom || p >= text.size()) return 0;
    if (code == 0 || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return p + 1;
}

}  // namespace

std::string DecodeEntities(std::string_view text) {
    static constexpr struct {
        std::string_view entity;
        char c;
    } kEntities[] = {{"&amp;", '&'}, {"&gt;", '>'}, {"&lt;", '<'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        bool decoded = false;
        if (text[i] == '&') {
            uint32_t code = 0;
            if (const size_t length = CharacterReference(text.substr(i), code)) {
                platform::AppendUtf8(out, code);
                i += length;
                continue;
            }
            for (const auto& e : kEntities) {
                if (text.substr(i, e.entity.size()) == e.entity) {
                    out += e.c;
                    i += e.entity.size();
                    decoded = true;
                    break;
                }
            }
        }
        if (!decoded) out += text[i++];
    }
    return out;
}

// One pass over the text; fails at the first thing it cannot take, without reading past
// the end of the text.
class Parser {
public:
    Parser(Document& doc, std::string_view text) : m_doc(doc), m_text(text) {}

    bool Run(std::string& error) {
        while (m_pos < m_text.size()) {
            const size_t lt = m_text.find('<', m_pos);
            if (lt == std::string_view::npos) break;
            NoteText(lt);
            m_pos = lt;
            const std::string_view rest = m_text.substr(lt);
            bool ok;
            if (rest.substr(0, 2) == "<?") ok = SkipPast("?>", platform::Tr("閉じられていない処理命令があります。"), error);
            else if (rest.substr(0, 9) == "<![CDATA[") ok = Cdata(error);
            else if (rest.substr(0, 4) == "<!--") ok = SkipPast("-->", platform::Tr("閉じられていないコメントがあります。"), error);
            else if (rest.substr(0, 2) == "<!") ok = SkipPast(">", platform::Tr("閉じられていない宣言があります。"), error);
            else if (rest.substr(0, 2) == "</") ok = EndTag(error);
            else ok = StartTag(error);
            if (!ok) return false;
        }
        if (!m_open.empty()) {
            error = platform::TrArgs("要素 <%1> が閉じられていません。", {m_open.back().element->String()});
            return false;
        }
        if (!m_doc.m_top) {
            error = platform::Tr("要素がありません。");
            return false;
        }
        return true;
    }

private:
    struct Open {
        Node* element;
        Node* lastChild;
        bool textPossible;  // no child element so far: text may still be kept
        std::string text;   // pieces of text seen so far, decoded, comments left out
        size_t textFrom;
    };

    // Remembers the text between the last mark and `upTo` for the innermost open element.
    void NoteText(size_t upTo) {
        if (m_open.empty() || !m_open.back().textPossible) return;
        Open& o = m_open.back();
        if (upTo > o.textFrom) o.text += DecodeEntities(m_text.substr(o.textFrom, upTo - o.textFrom));
        o.textFrom = upTo;
    }

    // A CDATA section is text taken as it stands, "&" and "<" included.
    bool Cdata(std::string& error) {
        const size_t from = m_pos + 9;
        const size_t end = m_text.find("]]>", from);
        if (end == std::string_view::npos) {
            error = platform::Tr("閉じられていない CDATA セクションがあります。");
            return false;
        }
        if (!m_open.empty() && m_open.back().textPossible) m_open.back().text.append(m_text.substr(from, end - from));
        m_pos = end + 3;
        if (!m_open.empty()) m_open.back().textFrom = m_pos;
        return true;
    }

    bool SkipPast(std::string_view end, const char* message, std::string& error) {
        const size_t at = m_text.find(end, m_pos + 2);
        if (at == std::string_view::npos) {
            error = message;
            return false;
        }
        m_pos = at + end.size();
        if (!m_open.empty()) m_open.back().textFrom = m_pos;
        return true;
    }

    void Link(Node* node) {
        if (m_open.empty()) {
            node->m_previous = m_topLast;
            if (m_topLast) m_topLast->m_next = node;
            else m_doc.m_top = node;
            m_topLast = node;
            return;
        }
        Open& o = m_open.back();
        node->m_parent = o.element;
        node->m_previous = o.lastChild;
        if (o.lastChild) o.lastChild->m_next = node;
        else o.element->m_firstChild = node;
        o.lastChild = node;
    }

    bool StartTag(std::string& error) {
        size_t p = m_pos + 1;
        const size_t nameStart = p;
        while (p < m_text.size() && !EndsName(m_text[p])) ++p;
        if (p == nameStart || p >= m_text.size()) {
            error = p >= m_text.size() ? platform::Tr("タグが閉じられていません。") : platform::Tr("要素名がありません。");
            return false;
        }
        if (static_cast<int>(m_open.size()) >= Document::kMaxDepth) {
            error = platform::Tr("要素の入れ子が深すぎます。");
            return false;
        }
        if (!m_open.empty()) {
            m_open.back().textPossible = false;
            m_open.back().text.clear();
        }
        Node* element = m_doc.NewNode(NodeElement, m_text.substr(nameStart, p - nameStart));
        Link(element);
        m_open.push_back({element, nullptr, true, {}, 0});
        // Attributes, then ">" or "/>".
        for (;;) {
            while (p < m_text.size() && IsBlank(m_text[p])) ++p;
            if (p >= m_text.size()) break;
            if (m_text[p] == '>') {
                m_pos = p + 1;
                m_open.back().textFrom = m_pos;
                return true;
            }
            if (m_text.substr(p, 2) == "/>") {
                m_pos = p + 2;
                Close();
                return true;
            }
            if (!Attribute(p, error)) return false;
        }
        error = platform::Tr("タグが閉じられていません。");
        return false;
    }

    bool Attribute(size_t& p, std::string& error) {
        const size_t nameStart = p;
        while (p < m_text.size() && !EndsName(m_text[p])) ++p;
        if (p == nameStart) {
            // A stray "=" or "/": not an attribute; step over it.
            ++p;
            return true;
        }
        const std::string_view name = m_text.substr(nameStart, p - nameStart);
        size_t q = p;
        while (q < m_text.size() && IsBlank(m_text[q])) ++q;
        if (q >= m_text.size() || m_text[q] != '=') return true;  // a word without a value is ignored
        ++q;
        while (q < m_text.size() && IsBlank(m_text[q])) ++q;
        if (q >= m_text.size() || (m_text[q] != '"' && m_text[q] != '\'')) {
            error = platform::TrArgs("属性 %1 の値が引用符で囲まれていません。", {name});
            return false;
        }
        const size_t close = m_text.find(m_text[q], q + 1);
        if (close == std::string_view::npos) {
            error = platform::TrArgs("属性 %1 の値が閉じられていません。", {name});
            return false;
        }
        Node* attribute = m_doc.NewNode(NodeAttribute, name);
        Node* value = m_doc.NewNode(NodeAttribute, m_text.substr(q + 1, close - q - 1));
        value->m_parent = attribute;
        attribute->m_firstChild = value;
        Link(attribute);
        p = close + 1;
        return true;
    }

    bool EndTag(std::string& error) {
        if (m_open.empty()) {
            error = platform::Tr("対応する開始タグのない終了タグがあります。");
            return false;
        }
        const std::string& name = m_open.back().element->String();
        const std::string_view after = m_text.substr(m_pos + 2);
        if (after.substr(0, name.size()) != name ||
            (after.size() > name.size() && after[name.size()] != '>' && !IsBlank(after[name.size()]))) {
            error = platform::TrArgs("終了タグが要素 <%1> と一致しません。", {name});
            return false;
        }
        const size_t gt = m_text.find('>', m_pos + 2 + name.size());
        if (gt == std::string_view::npos) {
            error = platform::Tr("終了タグが閉じられていません。");
            return false;
        }
        Open& o = m_open.back();
        if (o.textPossible) {
            const std::string_view text = Trim(o.text);
            if (!text.empty()) {
                Node* node = m_doc.NewNode(NodeText, text);
                Link(node);
            }
        }
        m_pos = gt + 1;
        Close();
        return true;
    }

    void Close() {
        m_open.pop_back();
        if (!m_open.empty()) m_open.back().textFrom = m_pos;
    }

    Document& m_doc;
    std::string_view m_text;
    size_t m_pos = 0;
    std::vector<Open> m_open;
    Node* m_topLast = nullptr;
};

bool Document::Parse(std::string_view text, std::string* error) {
    ClearTree();
    std::string why;
    Parser parser(*this, text);
    if (!parser.Run(why)) {
        ClearTree();
        if (error) *error = why;
        return false;
    }
    m_constructionRoot->m_firstChild = nullptr;
    m_current = m_top;
    return true;
}

}  // namespace xml
