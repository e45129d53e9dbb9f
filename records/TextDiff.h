// The difference between two texts as a piece of HTML for the change report: the lines that
// differ with a little context, removed lines and added lines one under the other, and inside
// a changed line the words that changed marked (<del>, <ins>). Both texts come from pages, so
// every character of them is escaped.
#pragma once

#include <cstddef>
#include <string>

namespace records {

// Lines compared at most from each text; a larger page is compared up to there.
constexpr size_t kMaxDiffLines = 4000;
// Rows of difference shown at most.
constexpr size_t kMaxDiffRows = 600;

struct TextDiffHtml {
    std::string html;    // a <table class="diff">, or "" when the texts are the same
    bool cut = false;    // the texts or the rows were cut at the limits above
    size_t removed = 0;  // lines removed and added (changed lines count in both)
    size_t added = 0;
};

// `before` and `after` are UTF-8 text, one line per "\n".
TextDiffHtml DiffTextAsHtml(const std::string& before, const std::string& after);

// "&", "<", ">", '"' and "'" written as references.
std::string EscapeHtml(std::string_view text);

}  // namespace records
