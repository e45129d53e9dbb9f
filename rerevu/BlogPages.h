// The page treatment for saves from blog services: recognising their URLs, the root-link
// correction of one service, and for the other its missing-article pages and the style
// sheets (skins) that its pages load from the service.
#pragma once

#include <string>
#include <string_view>

namespace rerevu {

// Host fragments, searched anywhere in a URL without regard to case.
inline constexpr std::string_view kBlogServiceA = "ameblo.jp";
inline constexpr std::string_view kBlogServiceB = "blog.livedoor.jp";
// Where service A keeps its skins; an occurrence in a page runs from here to the next '"'.
inline constexpr std::string_view kSkinPrefix = "ameblo.jp/p_skin/";
// The folder beside the saved page that receives the skins.
inline constexpr std::string_view kSkinFolder = "AmebCss";

// 1 when the URL belongs to blog service A or B.
int IsBlogUrl(std::string_view url);

// The seven lines that replace a page of service A whose article is missing.
std::string NotFoundPage();

// The steps for a downloaded file of a blog save: 1 when the file was read (and treated),
// 0 when it cannot be opened.
int CheckBlogPage(const std::string& url, const std::string& path);

// Rewrites every skin link of `text` (occurrences of `skinPrefix`, with the scheme in front
// of them) to the local copy under `pageFolder`/AmebCss/, fetching the skins that are not
// there yet and the pictures they name. True when the text changed.
bool LocaliseSkins(std::string& text, const std::string& pageFolder, std::string_view skinPrefix = kSkinPrefix);

// Fetches the pictures of a saved style sheet (at `cssUrl`) beside it and points its url()
// values at them. 1 when the file was read.
int LocaliseCssFile(const std::string& cssPath, const std::string& cssUrl);

}  // namespace rerevu
