// The removal rules of the advertisement filter. Each works on the whole text of a page and
// ignores letter case; each returns true when it removed something.
#pragma once

#include <string>
#include <string_view>

namespace filters {

// Every block from `start` to the following `end` (both removed), where `start` begins a tag
// or comment of the page. A start without its end stays. Adjacent blocks are all removed.
bool CutBlocks(std::string& text, std::string_view start, std::string_view end);
// Every element whose start tag begins with `start`, through the end tag that closes it. An
// element that is never closed stays.
bool CutBannerElements(std::string& text, std::string_view start);
// The closing and opening html tags below are the page's real ones: those written inside
// scripts, comments or attribute values do not count.
// Cuts the text where `marker` begins, when it stands behind the closing html tag.
bool CutTailAfterEndTag(std::string& text, std::string_view marker);
// Cuts everything behind the closing html tag when `needle` stands behind it.
bool CutTextAfterEndTag(std::string& text, std::string_view needle);
// Drops everything before the opening html tag when `marker` stands before it.
bool CutHeadBeforeStartTag(std::string& text, std::string_view marker);
// The counter service: its marked blocks and the script elements that load from or name its
// hosts, each from its start tag through its end tag.
bool CutCounterService(std::string& text);
// The footer script of pages saved from the web archive, and its base element.
bool CutArchiveFooter(std::string& text);

// Rules 1 to 29 in their order; true when any of them removed something.
bool ApplyAdRules(std::string& text);

}  // namespace filters
