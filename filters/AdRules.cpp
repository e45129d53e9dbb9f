#include "filters/AdRules.h"

#include "engine/ChosenHosts.h"
#include "filters/PageMarkup.h"
#include "platform/ByteString.h"

namespace filters {

namespace {

using platform::FindI;
using platform::npos;
namespace hosts = engine::hosts;

}  // namespace

// A marker counts only where markup begins: the same words inside a script, a comment or an
// attribute value are the page's own text.
bool CutBlocks(std::string& text, std::string_view start, std::string_view end) {
    bool removed = false;
    size_t at = FindI(text, start);
    while (at != npos) {
        if (!MarkupBeginsAt(text, at)) {
            at = FindI(text, start, at + 1);
            continue;
        }
        const size_t endAt = FindI(text, end, at + start.size());
        if (endAt == npos) {
            at = FindI(text, start, at + start.size());
            continue;
        }
        text.erase(at, endAt + end.size() - at);
        removed = true;
        // The text that followed the block now starts here: a block right behind it is
        // found too.
        at = FindI(text, start, at);
    }
    return removed;
}

bool CutBannerElements(std::string& text, std::string_view start) {
    bool removed = false;
    for (size_t at = FindI(text, start); at != npos;) {
        const size_t end = MarkupBeginsAt(text, at) ? ElementEnd(text, at) : npos;
        if (end == npos) {
            at = FindI(text, start, at + 1);
            continue;
        }
        text.erase(at, end - at);
        removed = true;
        at = FindI(text, start, at);
    }
    return removed;
}

// The page ends at its real end tag: one written inside a script or a comment ends nothing,
// and what follows it is the page's own.
bool CutTailAfterEndTag(std::string& text, std::string_view marker) {
    TextSpan tag;
    if (!DocumentEndTag(text, tag)) return false;
    const size_t at = FindI(text, marker, tag.end);
    if (at == npos) return false;
    text.resize(at);
    return true;
}

bool CutTextAfterEndTag(std::string& text, std::string_view needle) {
    TextSpan tag;
    if (!DocumentEndTag(text, tag)) return false;
    if (FindI(text, needle, tag.end) == npos) return false;
    text.resize(tag.end);
    return true;
}

bool CutHeadBeforeStartTag(std::string& text, std::string_view marker) {
    const size_t tag = DocumentStartTag(text);
    if (tag == npos) return false;
    const size_t at = FindI(text, marker);
    if (at == npos || at >= tag) return false;
    text.erase(0, tag);
    return true;
}

namespace {

bool NamesCounterHost(std::string_view script) {
    if (platform::ContainsI(script, hosts::kCounterControl)) return true;
    for (const char* family : {hosts::kCounterScriptFamilyA, hosts::kCounterScriptFamilyB}) {
        std::string host = family;
        for (char digit = '1'; digit <= '9'; ++digit) {
            host[hosts::kCounterDigitIndex] = digit;
            if (platform::ContainsI(script, host)) return true;
        }
    }
    return false;
}

}  // namespace

// The service's scripts go whole, from their start tag through their end tag; a link to the
// service elsewhere in the page is the page's own.
bool CutCounterService(std::string& text) {
    bool removed = false;
    while (CutBlocks(text, "<!--shinobi1-->", "<!--shinobi2-->")) removed = true;
    const std::vector<TextSpan> scripts = ScriptElements(text);
    for (auto it = scripts.rbegin(); it != scripts.rend(); ++it) {
        if (!NamesCounterHost(std::string_view(text).substr(it->begin, it->end - it->begin))) continue;
        text.erase(it->begin, it->end - it->begin);
        removed = true;
    }
    return removed;
}

bool CutArchiveFooter(std::string& text) {
    constexpr std::string_view kArchived = "// FILE ARCHIVED ON";
    constexpr std::string_view kScript = "<SCRIPT language=";
    constexpr std::string_view kScriptEnd = "</SCRIPT>";
    const size_t archived = FindI(text, kArchived);
    if (archived == npos) return false;
    bool removed = false;
    size_t last = npos;
    for (size_t at = FindI(text, kScript); at != npos;) {
        last = at;
        if (at + 1 == archived) break;
        at = FindI(text, kScript, at + 1);
    }
    if (last != npos) {
        const size_t end = FindI(text, kScriptEnd, last + kScript.size());
        if (end != npos) {
            text.erase(last, end + kScriptEnd.size() - last);
            removed = true;
        }
    }
    const size_t base = FindI(text, "<BASE HREF=");
    if (base != npos) {
        const size_t close = text.find('>', base);
        if (close != std::string::npos) text.erase(base, close + 1 - base);
    }
    return removed;
}

bool ApplyAdRules(std::string& s) {
    const std::string hostingA = std::string("<center><a href=") + hosts::kHostingATop;
    const std::string hostingB = std::string("<CENTER><A HREF=") + hosts::kHostingBIntroduceJump;
    const std::string hostingC = std::string("<center><a href=") + hosts::kHostingCPrefix;
    const std::string networkD =
        std::string(R"(</noscript></xmp></noembed><!-- //--><p align="center"><a href=)") + hosts::kHostingDTop;
    bool any = false;
    any |= CutBlocks(s, "<!-- isweb auto-insert */ -->", "<!-- inserted by isweb server/*  -->");      // 1
    any |= CutBlocks(s, "<!-- isweb auto-insert  -->", "<!-- inserted by isweb server -->");          // 2
    any |= CutBlocks(s, "<!--Infoseek Analyzer start-->", "<!--Infoseek Analyzer end-->");           // 3
    any |= CutBlocks(s, "<!-- isweb auto-insert */ -->", "<!-- isweb auto-insert 1.7d -->");         // 4
    any |= CutTailAfterEndTag(s, "<!-- isweb auto-insert  -->");                                     // 5
    any |= CutBlocks(s, "<!-- start AD -->", "<!-- end AD -->");                                     // 6
    any |= CutBlocks(s, "<!-- isweb auto-insert -->", "<!-- isweb auto-insert 1.49d -->");           // 7
    any |= CutBlocks(s, "<!-- St-HP-H -->", "<!-- En-HP-H -->");                                     // 8
    any |= CutBlocks(s, "<!-- St-HP-F -->", "<!-- En-HP-F -->");                                     // 9
    any |= CutBlocks(s, "<!-- cool -->", "<!-- cool -->");                                           // 10
    any |= CutBlocks(s, "<!-- cool auto-insert ", "<!-- end of cool auto-insert */ -->");            // 11
    any |= CutBlocks(s, "<!--TSUKAERU CODE START-->", "<!--TSUKAERU CODE END: Thankyou-->");         // 12
    any |= CutBannerElements(s, hostingA);                                                           // 13
    any |= CutBannerElements(s, hostingB);                                                           // 14
    any |= CutBlocks(s, "<DIV align=center><!-- freeHP_header -->", "<!-- /HEADER_BANNER --></DIV>"); // 15
    any |= CutBlocks(s, "<!-- START HOME FREE HEADER CODE -->", "<!-- END HOME FREE HEADER CODE -->"); // 16
    any |= CutBlocks(s, "<!-- START HOME FREE FOOTER CODE -->", "<!-- END HOME FREE FOOTER CODE -->"); // 17
    if (CutBlocks(s, R"(<!--<IFRAME frameBorder="0" allowTransparency)", "</a></noscript></IFRAME>-->")) {  // 18
        any = true;
        (void)CutBlocks(s, "</center><center><IFRAME frameBorder", "</a></noscript></IFRAME>");
    }
    any |= CutBannerElements(s, hostingC);                                                           // 19
    any |= CutTailAfterEndTag(s, "<!-- text below generated by server. PLEASE REMOVE -->");          // 20
    any |= CutBlocks(s, "<!-- geoguide start -->", "<!-- geoguide end -->");                         // 21
    any |= CutBlocks(s, "<!--*/GeoGuide/*-->", "<!--*/GeoGuide/*-->");                               // 22
    any |= CutTailAfterEndTag(s, "</font></noscript></xmp></noembed></plaintext>");                  // 23
    any |= CutBlocks(s, networkD, "<!-- //--->");                                                    // 24
    any |= CutHeadBeforeStartTag(s, "ribbonnetwork");                                                // 25
    any |= CutTextAfterEndTag(s, hosts::kHostingDTop);                                               // 26
    any |= CutBlocks(s, R"(<ul id="exLinkBtn" class="clearFix">)", "</ul><!--//#exLinkBtn-->");      // 27
    any |= CutCounterService(s);                                                                     // 28
    any |= CutArchiveFooter(s);                                                                      // 29
    return any;
}

}  // namespace filters
