#include "records/TextDiff.h"

#include <dtl/dtl.hpp>

#include <algorithm>
#include <cctype>
#include <vector>

namespace records {

namespace {

// Lines of context kept around each change.
constexpr size_t kContextLines = 2;
// Past this many words a changed line is marked whole: its words are not worth the time.
constexpr size_t kMaxWordsPerLine = 3000;

using Lines = std::vector<std::string>;

Lines SplitLines(const std::string& text, bool& cut) {
    Lines lines;
    size_t start = 0;
    while (start < text.size()) {
        if (lines.size() == kMaxDiffLines) {
            cut = true;
            break;
        }
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

size_t Utf8Length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead >> 5) == 0x6) return 2;
    if ((lead >> 4) == 0xE) return 3;
    if ((lead >> 3) == 0x1E) return 4;
    return 1;
}

bool IsWordByte(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Words: runs of ASCII letters and digits, runs of blanks, and each other character alone
// (Japanese text has no blanks between its words, so a character is the finest unit).
std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        size_t end = i + 1;
        if (IsWordByte(line[i])) {
            while (end < line.size() && IsWordByte(line[end])) ++end;
        } else if (line[i] == ' ') {
            while (end < line.size() && line[end] == ' ') ++end;
        } else {
            end = i + Utf8Length(static_cast<unsigned char>(line[i]));
            if (end > line.size()) end = line.size();
        }
        words.push_back(line.substr(i, end - i));
        i = end;
    }
    return words;
}

// Appends words, those marked `marked` inside <tag>; neighbours share one mark.
class MarkedLine {
public:
    explicit MarkedLine(const char* tag) : m_tag(tag) {}
    void Add(const std::string& word, bool marked) {
        if (marked != m_open) {
            m_html += marked ? std::string("<") + m_tag + ">" : std::string("</") + m_tag + ">";
            m_open = marked;
        }
        m_html += EscapeHtml(word);
    }
    std::string Take() {
        if (m_open) m_html += std::string("</") + m_tag + ">";
        m_open = false;
        return std::move(m_html);
    }

private:
    const char* m_tag;
    std::string m_html;
    bool m_open = false;
};

class RowWriter {
public:
    explicit RowWriter(TextDiffHtml& out) : m_out(out) {}

    bool Full() const { return m_rows >= kMaxDiffRows; }
    void Row(const char* kind, const char* sign, const std::string& cellHtml) {
        if (Full()) {
            m_out.cut = true;
            return;
        }
        ++m_rows;
        m_out.html += std::string("<tr class=\"") + kind + "\"><td class=\"sign\">" + sign + "</td><td>" + cellHtml +
                      "</td></tr>\n";
    }
    void Gap() { Row("gap", "", "…"); }
    void Context(const std::string& line) { Row("same", "", EscapeHtml(line)); }
    void Removed(const std::string& html) {
        ++m_out.removed;
        Row("del", "-", html);
    }
    void Added(const std::string& html) {
        ++m_out.added;
        Row("ins", "+", html);
    }

    // A line that became another: the two, their differing words marked.
    void Changed(const std::string& before, const std::string& after) {
        const std::vector<std::string> a = Words(before);
        const std::vector<std::string> b = Words(after);
        if (a.size() > kMaxWordsPerLine || b.size() > kMaxWordsPerLine) {
            Removed("<del>" + EscapeHtml(before) + "</del>");
            Added("<ins>" + EscapeHtml(after) + "</ins>");
            return;
        }
        dtl::Diff<std::string, std::vector<std::string>> diff(a, b);
        diff.compose();
        MarkedLine old("del");
        MarkedLine now("ins");
        for (const auto& [word, info] : diff.getSes().getSequence()) {
            if (info.type == dtl::SES_COMMON) {
                old.Add(word, false);
                now.Add(word, false);
            } else if (info.type == dtl::SES_DELETE) {
                old.Add(word, true);
            } else {
                now.Add(word, true);
            }
        }
        Removed(old.Take());
        Added(now.Take());
    }

private:
    TextDiffHtml& m_out;
    size_t m_rows = 0;
};

struct Step {
    int type;  // dtl's SES_ADD, SES_DELETE or SES_COMMON
    const std::string* line;
};

// One block of removed and added lines: those that pair up are shown as changed lines.
void WriteBlock(RowWriter& rows, const std::vector<const std::string*>& removed,
                const std::vector<const std::string*>& added) {
    const size_t paired = std::min(removed.size(), added.size());
    for (size_t k = 0; k < paired; ++k) rows.Changed(*removed[k], *added[k]);
    for (size_t k = paired; k < removed.size(); ++k) rows.Removed("<del>" + EscapeHtml(*removed[k]) + "</del>");
    for (size_t k = paired; k < added.size(); ++k) rows.Added("<ins>" + EscapeHtml(*added[k]) + "</ins>");
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

TextDiffHtml DiffTextAsHtml(const std::string& before, const std::string& after) {
    TextDiffHtml out;
    const Lines a = SplitLines(before, out.cut);
    const Lines b = SplitLines(after, out.cut);
    dtl::Diff<std::string, Lines> diff(a, b);
    diff.onHuge();
    diff.compose();
    if (diff.getEditDistance() == 0) return out;

    // The steps point into this copy of the edit script.
    const auto sequence = diff.getSes().getSequence();
    std::vector<Step> steps;
    for (const auto& [line, info] : sequence) steps.push_back({info.type, &line});
    // The common lines shown: those within the context of a change.
    std::vector<bool> shown(steps.size(), false);
    for (size_t i = 0; i < steps.size(); ++i) {
        if (steps[i].type == dtl::SES_COMMON) continue;
        const size_t from = i > kContextLines ? i - kContextLines : 0;
        for (size_t k = from; k < steps.size() && k <= i + kContextLines; ++k) shown[k] = true;
    }
    out.html = "<table class=\"diff\">\n";
    RowWriter rows(out);
    std::vector<const std::string*> removed, added;
    bool skipped = false;
    auto flush = [&] {
        WriteBlock(rows, removed, added);
        removed.clear();
        added.clear();
    };
    size_t i = 0;
    for (; i < steps.size() && !rows.Full(); ++i) {
        if (steps[i].type == dtl::SES_DELETE) {
            removed.push_back(steps[i].line);
        } else if (steps[i].type == dtl::SES_ADD) {
            added.push_back(steps[i].line);
        } else {
            flush();
            if (!shown[i]) {
                skipped = true;
                continue;
            }
            if (skipped && i > 0) rows.Gap();
            skipped = false;
            rows.Context(*steps[i].line);
        }
    }
    flush();
    if (i < steps.size()) out.cut = true;
    out.html += "</table>\n";
    return out;
}

}  // namespace records
