#include "rerevu/PageTitles.h"

#include "engine/Fetcher.h"
#include "platform/ByteString.h"
#include "records/PageTitleFetch.h"

namespace rerevu {

namespace {

constexpr size_t npos = std::string_view::npos;

// The site names itself in its title tag on every page; such a title is no work's name.
bool IsSiteOwnTitle(std::string_view title) {
    return title.find("漫画館") != npos || title.find("\x96\x9f\x89\xe6\x8a\xd9") != npos ||  // also in Shift-JIS
           title.find(".com") != npos || title.find("MANGAKAN") != npos;
}

// The work's title on the site's pages follows this rule line, up to the page's first table.
constexpr std::string_view kTitleRule = "<HR width=\"90%\" size=\"5\">\n ";

int FetchHead(const std::string& url, const std::string& headers, size_t bytes, const std::atomic<bool>* stop,
              std::string& head) {
    records::TitleHeadRequest request;
    request.url = url;
    request.extraHeaders = headers;
    request.bytes = bytes;
    request.timeoutSec = kTitleTimeoutSec;
    std::function<bool()> stopRequested;
    if (stop) stopRequested = [stop] { return stop->load(); };
    return records::FetchPageHead(request, stopRequested, head) && !head.empty() && !(stop && stop->load()) ? 1 : 0;
}

}  // namespace

std::string TitleRefererOf(std::string_view url) { return records::TitleReferer(url); }

std::string CutUtf8(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes) return std::string(text);
    size_t end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return std::string(text.substr(0, end));
}

size_t FetchPageTitle(const std::string& url, std::string& title, size_t maxBytes, const std::atomic<bool>* stop) {
    title.clear();
    std::string head;
    if (!FetchHead(url, "Referer: " + TitleRefererOf(url), kTitleHeadBytes, stop, head)) return 0;
    std::string raw;
    if (!engine::PageTitle(head, raw, head.size())) return 0;
    title = CutUtf8(records::TitleAsUtf8(raw), maxBytes);
    return title.size();
}

size_t FetchMangakanTitle(const std::string& url, std::string& title, size_t maxBytes, const std::atomic<bool>* stop) {
    title.clear();
    std::string page;
    if (!FetchHead(url, "", kMangakanHeadBytes, stop, page)) return 0;
    title = MangakanTitleFromPage(page, maxBytes);
    return title.size();
}

std::string MangakanTitleFromPage(std::string_view page, size_t maxBytes) {
    std::string raw;
    if (!engine::PageTitle(page, raw, page.size())) return {};
    if (IsSiteOwnTitle(raw)) {
        const size_t rule = platform::FindI(page, kTitleRule);
        if (rule != npos) {
            size_t start = rule + kTitleRule.size();
            while (start < page.size() && page[start] == ' ') ++start;
            size_t end = platform::FindI(page, "<TABLE>", start);
            if (end == npos) end = page.size();
            while (end > start && (page[end - 1] == ' ' || page[end - 1] == '\n' || page[end - 1] == '\r')) --end;
            raw.assign(page.substr(start, end - start));
        }
    }
    return CutUtf8(NormaliseMangakanTitle(records::TitleAsUtf8(raw)), maxBytes);
}

std::string NormaliseMangakanTitle(std::string_view title) {
    std::string out;
    size_t pos = 0;
    while (pos < title.size()) {
        const size_t end = std::min(title.find(' ', pos), title.size());
        std::string word(title.substr(pos, end - pos));
        size_t lead = 0;
        while (lead < word.size() && ((word[lead] >= '0' && word[lead] <= '9') || word[lead] == '/')) ++lead;
        for (size_t i = 0; i < word.size(); ++i) {
            const char c = word[i];
            if (i <= lead) word[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
            else word[i] = platform::AsciiLower(c);
        }
        out += word;
        pos = end + 1;
    }
    for (size_t open = out.find('('); open != npos; open = out.find('(', open + 1)) {
        if (open + 1 < out.size() && (out[open + 1] == '/' || (out[open + 1] >= '0' && out[open + 1] <= '9'))) {
            out.resize(open);
            break;
        }
    }
    return out;
}

}  // namespace rerevu
