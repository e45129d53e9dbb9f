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

// --- the novel site, whose server is asked with a pause between pages ------------------------
constexpr std::string_view kNovelSite = "http://ncode.syosetu.com";         // 24 characters
constexpr std::string_view kNovelSiteHttps = "https://ncode.syosetu.com";  // 25 characters

// --- blog services -----------------------------------------------------------------------------
// Host fragments, searched anywhere in a URL without regard to case.
constexpr std::string_view kBlogServiceA = "ameblo.jp";
constexpr std::string_view kBlogServiceB = "blog.livedoor.jp";
// A hosting service whose URLs are blogs when they hold the word "blog" (in the host, as in
// name.blog.fc2.com, or in the path).
constexpr std::string_view kBlogHostingC = ".fc2.com";
// Where service A keeps its skins; an occurrence in a page runs from here to the next '"'.
constexpr std::string_view kSkinPrefix = "ameblo.jp/p_skin/";

// --- services the page analysis recognises for URLs that are no HTML page ---------------

// Watch pages of the video service: each host text (scheme and host up to ".com") followed by
// kVideoWatchPath and the video's identifier.
constexpr const char* kVideoWatchHosts[] = {
    "http://www.youtube", "http://jp.youtube", "https://www.youtube", "https://jp.youtube",
};
constexpr const char* kVideoWatchPath = ".com/watch?v=";
// The companion service that serves the same watch page with the video file's address in it:
// it takes the place of a watch host; ".com/watch?v=" and the identifier stay.
constexpr const char* kVideoCompanionHost = "https://www.youtube-nocookie";

// The photo album service whose album list pages AlbumFetcher reads (scheme, host and "/").
constexpr const char* kPhotoAlbumHosts[] = {
    "http://photos.yahoo.co.jp/", "https://photos.yahoo.co.jp/",
};
// A list page carries this in its address; its photos' view pages carry "vwp?".
constexpr const char* kPhotoAlbumListMark = "lst";

}  // namespace engine::hosts
