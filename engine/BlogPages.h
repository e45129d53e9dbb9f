// The page treatment for saves from blog services: recognising their URLs, the root-link
// correction of one service, and for the other its missing-article pages and the style
// sheets (skins) that its pages load from the service. The main program runs it inside the
// fetch of a blog save; the helper library exports it.
#pragma once

#include <string>
#include <string_view>

#include "engine/ChosenHosts.h"

namespace engine {

// The folder beside the saved page that receives the skins.
inline constexpr std::string_view kSkinFolder = "AmebCss";

// 1 when the URL belongs to blog service A or B (the helper library's test).
int IsBlogUrl(std::string_view url);
// 1 when a save from this URL is a blog save: blog service A or B, or the blog hosting
// service with the word "blog" anywhere in the URL.
int IsBlogSaveUrl(std::string_view url);
// 1 when the URL belongs to blog service A.
int IsBlogServiceA(std::string_view url);

// The seven lines that replace a page of service A whose article is missing.
std::string NotFoundPage();

// The steps for a downloaded file of a blog save, as a platform::RewriteResult: 1 when the
// file was read (and treated), 0 when it cannot be opened, 2 when its treated text could not
// be written (the disk's reason is in errno). May run on several threads at once (the fetches ahead of a
// save): the skins they share are written under names of their own and moved into place.
[[nodiscard]] int CheckBlogPage(const std::string& url, const std::string& path);

// Rewrites every skin link of `text` (occurrences of `skinPrefix`, with the scheme in front
// of them) to the local copy under `pageFolder`/AmebCss/, fetching the skins that are not
// there yet and the pictures they name. True when the text changed.
bool LocaliseSkins(std::string& text, const std::string& pageFolder,
                   std::string_view skinPrefix = hosts::kSkinPrefix);

// Fetches the pictures of a saved style sheet (at `cssUrl`) into `folder` and points its
// url() values at them. 1 when the file was read.
int LocaliseCssFile(const std::string& cssPath, const std::string& cssUrl, const std::string& folder);

}  // namespace engine
