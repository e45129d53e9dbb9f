// Writing the tree: the declaration, then each element on its own line, indented by two
// blanks per level; a text stands between its tags on the element's line.
#include "xml/XmlDocument.h"

#include "platform/ShiftJisText.h"

namespace xml {

namespace {

class Writer {
public:
    explicit Writer(std::string& out) : m_out(out) {}

    void Element(const Node* e, int depth) {
        const std::string indent(static_cast<size_t>(depth) * 2, ' ');
        m_out += indent;
        m_out += '<';
        m_out += e->String();
        if (!e->FirstChild()) {
            m_out += " />\r\n";
            return;
        }
        bool open = true;  // the start tag still waits for its ">"
        bool endsWithText = false;
        for (const Node* c = e->FirstChild(); c; c = c->NextSibling()) {
            endsWithText = false;
            if (c->Kind() == NodeAttribute) {
                m_out += ' ';
                m_out += c->String();
                // Values are written as they were read; one read between single quotes
                // that holds a double quote keeps its single quotes.
                const std::string value = c->FirstChild() ? c->FirstChild()->String() : std::string();
                const char quote = value.find('"') == std::string::npos ? '"' : '\'';
                m_out += '=';
                m_out += quote;
                m_out += value;
                m_out += quote;
                if (!c->NextSibling()) {
                    m_out += '>';
                    open = false;
                }
            } else if (c->Kind() == NodeText) {
                if (open) m_out += '>';
                open = false;
                m_out += EscapeText(c->String());
                endsWithText = true;
            } else {
                if (open) m_out += ">\r\n";
                open = false;
                Element(c, depth + 1);
            }
        }
        if (!endsWithText) m_out += indent;
        m_out += "</";
        m_out += e->String();
        m_out += ">\r\n";
    }

private:
    std::string& m_out;
};

}  // namespace

std::string EscapeText(std::string_view text) { return platform::EscapeMarkup(text, true); }

std::string Document::ToText() const {
    std::string out = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n";
    Writer writer(out);
    for (const Node* n = m_top; n; n = n->NextSibling())
        if (n->Kind() == NodeElement) writer.Element(n, 0);
    return out;
}

}  // namespace xml
