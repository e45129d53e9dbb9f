// Host names of the services whose pages the save and the filters treat in a way of their
// own. Every such name lives here, so that a service that moves is updated in one place.
#pragma once

#include <string_view>

namespace engine::hosts {

// --- banner and counter services whose blocks the advertisement filter removes -----------
// Free hosting service A: its banner links to its top page.
constexpr const char* kHostingATop = "http://www.tok2.com/";
// Free hosting service B: its banner links through its introduction jump.
constexpr const char* kHostingBIntroduceJump = "http://www.hi-ho.ne.jp/cgi/introduce_jump";
// Free hosting service C: its banner links start with this prefix.
constexpr const char* kHostingCPrefix = "http://www.freeweb.ne.jp/";
// Hosting network D: its footer links to its top page.
constexpr const char* kHostingDTop = "http://www.ribbon.to/";

// The counter service: one control URL and two families of numbered script hosts. In a family
// URL the ninth character is the digit, tried with 1 to 9.
constexpr const char* kCounterControl = "http://ad.shinobi.jp/";
constexpr const char* kCounterScriptFamilyA = "http://x1.shinobi.jp/";
constexpr const char* kCounterScriptFamilyB = "http://s1.shinobi.jp/";
constexpr int kCounterDigitIndex = 8;  // the ninth character

// --- the web archive -------------------------------------------------------------------------
// Its host, and the form of its archived pages: host, "web/", a time stamp, "/" and the
// archived page's own URL. The archive answers on both schemes.
constexpr std::string_view kWebArchiveHost = "http://web.archive.org/";
constexpr std::string_view kWebArchivePrefix = "http://web.archive.org/web/";
constexpr std::string_view kWebArchiveHostHttps = "https://web.archive.org/";
constexpr std::string_view kWebArchivePrefixHttps = "https://web.archive.org/web/";
// Where the pages that stand in for the archive's error pages send the reader.
constexpr std::string_view kWebArchiveHome = "https://web.archive.org/";

// --- blog services -----------------------------------------------------------------------------
// Host fragments, searched anywhere in a URL without regard to case.
constexpr std::string_view kBlogServiceA = "ameblo.jp";
constexpr std::string_view kBlogServiceB = "blog.livedoor.jp";
// A hosting service whose URLs are blogs when they hold the word "blog" (in the host, as in
// name.blog.fc2.com, or in the path).
constexpr std::string_view kBlogHostingC = ".fc2.com";
// Where service A keeps its skins; an occurrence in a page runs from here to the next '"'.
constexpr std::string_view kSkinPrefix = "ameblo.jp/p_skin/";

}  // namespace engine::hosts
