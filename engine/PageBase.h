// A page's <base href>: the address its relative links are read against.
#pragma once

#include <string>
#include <string_view>

#include "engine/LinkTable.h"

namespace engine {

// The href of the page's first <base> tag, as written (entities decoded); "" when none.
std::string BaseHrefOf(std::string_view text);
std::string BaseHrefOfFile(const std::string& path);
// How much of a page's head BaseHrefOfFile looks at.
constexpr size_t kBaseHeadBytes = 16384;

// Each relative link of the table read against `base` and written again relative to the
// page's own URL (or absolute when it leads to another host), so that it resolves as the
// page's reader resolves it.
void RebaseLinks(LinkTable& table, const std::string& base, const std::string& pageUrl);

// The copy resolves its links against itself: the <base> tag's href is renamed "data-href".
bool DisableBaseHref(std::string& text);

}  // namespace engine
