// Saving the pages of other sites that the saved site links to, with their list document.
#pragma once

#include <string>

namespace engine {

class SaveHost;
class SaveJob;

// Worker thread. Saves each listed link once into the link folder and writes the list.
void BuildOutDomainList(SaveHost& host, SaveJob& job);
// One linked page and its pictures into `path`: 1 saved, 0 not (the name is taken, the fetch
// failed, or the page's links to its pictures could not be written; the log says which).
int SaveOutDomainPage(SaveJob& job, const std::string& url, const std::string& path);

}  // namespace engine
