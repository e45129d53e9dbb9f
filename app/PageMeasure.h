// The measuring half of the page analysis: fetches the page, classifies its links as a save
// would, reads the titles of linked pages and the sizes of embedded files, and analyses the
// frames of a frame page.
#pragma once

#include <functional>
#include <string>

#include "app/PageAnalysis.h"

namespace app {

// Worker thread. Fills `page` for `url` and summarises it. Works in a temporary folder of its
// own that is removed afterwards. `stopped` is polled between links.
void AnalysePage(const std::string& url, PageAnalysis& page, const std::function<bool()>& stopped);

}  // namespace app
