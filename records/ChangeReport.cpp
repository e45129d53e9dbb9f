#include "records/ChangeReport.h"

#include <array>

#include "platform/Clock.h"
#include "platform/FileUtil.h"
#include "platform/FolderList.h"
#include "records/KeptVersions.h"
#include "records/PageVisibleText.h"
#include "records/TextDiff.h"

namespace records {

namespace {

struct Section {
    const char* status;
    const char* heading;
    const char* anchor;
};

// In the order the report shows them; the unchanged come last and folded, being the most.
constexpr std::array<Section, 5> kSections = {{
    {history::kChanged, "変更", "changed"},
    {history::kNew, "新規", "new"},
    {history::kGone, "消滅", "gone"},
    {history::kFailed, "失敗", "failed"},
    {history::kUnchanged, "変更なし", "unchanged"},
}};

constexpr const char* kStyle =
    "body{font-family:sans-serif;margin:1.5em;color:#222;line-height:1.45}"
    "h1{font-size:1.5em;margin:0 0 .3em}h2{font-size:1.15em;border-bottom:1px solid #ccc;margin-top:1.6em}"
    "table.counts{border-collapse:collapse;margin:.8em 0}"
    "table.counts th,table.counts td{border:1px solid #bbb;padding:.25em .8em;text-align:center}"
    "table.counts th{background:#f0f0f0}ul.entries{padding-left:1.2em}ul.entries li{margin:.35em 0}"
    ".kind{font-size:.8em;color:#fff;background:#777;border-radius:3px;padding:0 .35em;margin-right:.4em}"
    ".url{color:#666;font-size:.85em;margin-left:.5em;word-break:break-all}"
    ".note{color:#8a5a00;font-size:.9em;margin:.3em 0}"
    "h3{font-size:1em;margin:1.4em 0 .2em}a.difflink{margin:0 .3em 0 .8em;font-weight:bold}"
    "table.diff{border-collapse:collapse;width:100%;font-family:monospace;font-size:.9em;margin:.4em 0 1em}"
    "table.diff td{padding:.1em .4em;vertical-align:top;white-space:pre-wrap;word-break:break-all}"
    "table.diff td.sign{width:1em;color:#888}tr.del{background:#fff0f0}tr.ins{background:#efffef}"
    "tr.gap td{color:#999;text-align:center}del{background:#ffb8b8;text-decoration:line-through}"
    "ins{background:#a8f0a8;text-decoration:none}";

std::string Digits(const std::string& text) {
    std::string out;
    for (const char c : text)
        if (c >= '0' && c <= '9') out += c;
    return out;
}

// A relative path as a link target: every byte but the unreserved ones and "/" escaped.
std::string HrefOf(const std::string& path) {
    static const char* kHex = "0123456789ABCDEF";
    std::string out;
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~' || c == '/') {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

// A path of the index that stays inside the data folder.
bool InsideFolder(const std::string& path) {
    if (path.empty() || path[0] == '/') return false;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        if (path.compare(start, end - start, "..") == 0 && end - start == 2) return false;
        start = end + 1;
    }
    return true;
}

// A link to the copy when it is there, else the path as text.
std::string LinkTo(const std::string& folder, const std::string& path, const std::string& text) {
    if (InsideFolder(path) && platform::IsRegularFile(folder + path))
        return "<a href=\"" + HrefOf(path) + "\">" + EscapeHtml(text) + "</a>";
    return EscapeHtml(text);
}

std::string KeptPathOf(const HistoryRun& run, const std::string& path) {
    if (run.versions.empty()) return {};
    return std::string(kKeptVersionsFolder) + "/" + run.versions + "/" + path;
}

// What a changed page's entry says of its text: a link to its comparison with the version
// the run kept (the comparison itself goes to `diffs`), or why there is none.
std::string PageDiff(const std::string& folder, const HistoryRun& run, const HistoryEntry& entry, size_t number,
                     std::string& diffs) {
    const std::string kept = KeptPathOf(run, entry.path);
    if (kept.empty() || !InsideFolder(entry.path) || !platform::IsRegularFile(folder + kept))
        return "<p class=\"note\">以前の版が残されていないため、差分は表示できません（history-runs=0 で旧版を残さない設定か、旧版を残せませんでした）。</p>\n";
    const std::string keptLink = "<p class=\"note\">旧版: " + LinkTo(folder, kept, kept) + "</p>\n";
    std::string before, after;
    if (!platform::ReadWholeFile(folder + kept, before, kMaxComparedPageBytes + 1) ||
        !platform::ReadWholeFile(folder + entry.path, after, kMaxComparedPageBytes + 1))
        return keptLink + "<p class=\"note\">ページを読めないため、差分は表示できません。</p>\n";
    const bool large = before.size() > kMaxComparedPageBytes || after.size() > kMaxComparedPageBytes;
    if (before.size() > kMaxComparedPageBytes) before.resize(kMaxComparedPageBytes);
    if (after.size() > kMaxComparedPageBytes) after.resize(kMaxComparedPageBytes);
    const TextDiffHtml diff = DiffTextAsHtml(PageVisibleText(before), PageVisibleText(after));
    if (diff.html.empty())
        return keptLink + "<p class=\"note\">表示される文章に違いはありません（タグや属性だけが変わりました）。</p>\n";
    const std::string anchor = "diff-" + std::to_string(number);
    diffs += "<div class=\"diff\" id=\"" + anchor + "\">\n<h3>" + LinkTo(folder, entry.path, entry.path) +
             " <span class=\"url\">" + EscapeHtml(entry.url) + "</span></h3>\n" + keptLink + diff.html;
    if (large || diff.cut)
        diffs += "<p class=\"note\">ページが大きいため、差分は途中までです（先頭 " + std::to_string(kMaxDiffLines) +
                 " 行、" + std::to_string(kMaxDiffRows) + " 行分の違いまで）。</p>\n";
    diffs += "</div>\n";
    return "<a class=\"difflink\" href=\"#" + anchor + "\">差分</a>（-" + std::to_string(diff.removed) + " +" +
           std::to_string(diff.added) + " 行）\n" + keptLink;
}

std::string ResultText(int result) {
    switch (result) {
    case 2: return "更新されたページは存在しません。";
    case 4: return "更新されたページのコンプリート保存に成功しました。";
    case 8: return "確認または保存できなかったページがあります。";
    default: return {};
    }
}

std::string CountsTable(const std::vector<HistoryEntry>& entries) {
    size_t pages[5] = {}, files[5] = {};
    for (const HistoryEntry& e : entries)
        for (size_t i = 0; i < kSections.size(); ++i)
            if (e.status == kSections[i].status) ++(e.page ? pages : files)[i];
    std::string html = "<table class=\"counts\">\n<tr><th></th>";
    for (const Section& s : kSections) html += std::string("<th><a href=\"#") + s.anchor + "\">" + s.heading + "</a></th>";
    html += "</tr>\n";
    auto row = [&](const char* name, const size_t* counts) {
        html += std::string("<tr class=\"") + name + "\"><th>" + (counts == pages ? "ページ" : "ファイル") + "</th>";
        for (size_t i = 0; i < kSections.size(); ++i)
            html += "<td class=\"" + std::string(kSections[i].anchor) + "\">" + std::to_string(counts[i]) + "</td>";
        html += "</tr>\n";
    };
    row("pages", pages);
    row("files", files);
    return html + "</table>\n";
}

std::string EntryItem(const std::string& folder, const HistoryRun& run, const HistoryEntry& e, size_t& diffed,
                      std::string& diffs) {
    std::string html = "<li><span class=\"kind\">";
    html += e.page ? "ページ" : "ファイル";
    html += "</span>" + LinkTo(folder, e.path, e.path) + "<span class=\"url\">" + EscapeHtml(e.url) + "</span>\n";
    if (e.status == history::kGone) html += "<p class=\"note\">サーバーにありません。保存済みのコピーは削除せず残してあります。</p>\n";
    if (e.status == history::kChanged && e.page) {
        if (diffed < kMaxDiffedPages) {
            html += PageDiff(folder, run, e, ++diffed, diffs);
        } else {
            html += "<p class=\"note\">変更されたページが多いため、差分は省略しました。</p>\n";
        }
    } else if (e.status == history::kChanged) {
        const std::string kept = KeptPathOf(run, e.path);
        if (!kept.empty() && InsideFolder(e.path) && platform::IsRegularFile(folder + kept))
            html += "<p class=\"note\">旧版: " + LinkTo(folder, kept, kept) + "</p>\n";
    }
    return html + "</li>\n";
}

}  // namespace

std::string ChangeReportName(int64_t ended) {
    const std::string text = platform::LocalDateTimeText(ended);  // "2026/12/07 9:05:03"
    const size_t blank = text.find(' ');
    std::string time = Digits(blank == std::string::npos ? std::string() : text.substr(blank + 1));
    while (time.size() < 6) time.insert(0, "0");
    return std::string(kChangeReportPrefix) + Digits(text.substr(0, blank)) + "-" + time + kChangeReportSuffix;
}

std::string ChangeReportHtml(const std::string& folder, const HistoryRun& run,
                             const std::vector<HistoryEntry>& entries) {
    const std::string when = platform::LocalDateTimeText(run.ended > 0 ? run.ended : run.started);
    std::string html = "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n<title>更新レポート " +
                       EscapeHtml(when) + "</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n";
    html += "<h1>更新レポート</h1>\n<p>更新チェック: " + EscapeHtml(platform::LocalDateTimeText(run.started)) + " 〜 " +
            EscapeHtml(when) + "</p>\n";
    if (const std::string result = ResultText(run.result); !result.empty()) html += "<p>" + result + "</p>\n";
    html += CountsTable(entries);
    size_t diffed = 0;
    std::string diffs;
    for (const Section& s : kSections) {
        std::vector<const HistoryEntry*> listed;
        for (const HistoryEntry& e : entries)
            if (e.status == s.status) listed.push_back(&e);
        const bool folded = s.status == std::string(history::kUnchanged);
        html += std::string("<h2 id=\"") + s.anchor + "\">" + s.heading + "（" + std::to_string(listed.size()) + "）</h2>\n";
        if (listed.empty()) {
            html += "<p class=\"note\">ありません。</p>\n";
            continue;
        }
        if (folded) html += "<details><summary>一覧を開く</summary>\n";
        html += "<ul class=\"entries\">\n";
        for (size_t i = 0; i < listed.size() && i < kMaxListedEntries; ++i)
            html += EntryItem(folder, run, *listed[i], diffed, diffs);
        html += "</ul>\n";
        if (listed.size() > kMaxListedEntries)
            html += "<p class=\"note\">ほか " + std::to_string(listed.size() - kMaxListedEntries) + " 件</p>\n";
        if (folded) html += "</details>\n";
    }
    // The comparisons come after the lists, each reached from its page's "差分" link.
    if (!diffs.empty()) html += "<h2 id=\"diffs\">差分</h2>\n" + diffs;
    return html + "</body>\n</html>\n";
}

int WriteChangeReport(const std::string& folder, const HistoryRun& run, const std::vector<HistoryEntry>& entries,
                      std::string& path, std::string* error) {
    path = folder + ChangeReportName(run.ended > 0 ? run.ended : run.started);
    // Written whole under a temporary name first: a report cut short never takes the name.
    if (platform::WriteFileReplacing(path, ChangeReportHtml(folder, run, entries), platform::Durability::Fast)) return 1;
    if (error) *error = "更新レポートを書き込めません: " + path;
    return 0;
}

std::string NewestChangeReport(const std::string& folder) {
    const std::string prefix = kChangeReportPrefix;
    const std::string suffix = kChangeReportSuffix;
    std::string newest;
    for (const platform::FolderEntry& entry : platform::ListFolder(folder)) {
        const std::string& name = entry.name;
        if (!entry.isFile || name.size() <= prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        // The names carry the date and time in digits: the greatest is the newest.
        if (name > newest) newest = name;
    }
    if (newest.empty()) return {};
    return (folder.empty() || folder.back() == '/' ? folder : folder + "/") + newest;
}

}  // namespace records
