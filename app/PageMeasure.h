// The measuring half of the page analysis: fetches the page, classifies its links as a save
// would, reads the titles of linked pages and the sizes of embedded files, and analyses the
// frames of a frame page.
#pragma once

#include <stop_token>
#include <string>

#include "app/PageAnalysis.h"

namespace app {

// Worker thread. Fills `page` for `url` and summarises it. Works in a temporary folder of its
// own that is removed afterwards. A stop request ends it soon, transfers included.
void AnalysePage(const std::string& url, PageAnalysis& page, std::stop_token stop);

}  // namespace app
