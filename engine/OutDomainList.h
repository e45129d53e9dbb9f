// Saving the pages of other sites that the saved site links to, with their list document.
#pragma once

#include <string>

namespace engine {

class SaveHost;
class SaveJob;

// Worker thread. Saves each listed link once into the link folder and writes the list.
void BuildOutDomainList(SaveHost& host, SaveJob& job);
int SaveOutDomainPage(SaveJob& job, const std::string& url, const std::string& path);

}  // namespace engine
