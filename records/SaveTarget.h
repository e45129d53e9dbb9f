// The layout of a save's target on disk, made before anything is fetched: the .qdx record,
// the data folder, the folders that mirror the start URL's directories, and the shortcut
// page that leads from the chosen file to the real start page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace engine {
class SaveJob;
}

namespace records {

constexpr const char* kQdxFixedLine = "End of Qdx file. Its contents is hidden file, SiteSaveInfoLog.";

// The bytes of a new record: the mode word in decimal and the fixed line, each with CR LF.
std::string NewQdxRecordText(uint32_t modeWord);

// The record beside the chosen target: saveFolder + saveName without extension + ".qdx".
std::string QdxPathOf(const std::string& saveFolder, const std::string& saveName);

// The last `limit` directories of the start URL's folder `urlBase`, "/"-separated with a
// trailing "/" ("" for limit 0). A limit beyond the URL's directories mirrors all of them and
// never the host; "", "." and ".." directories become "_" so the chain stays below the folder.
std::string MirroredLevels(const std::string& urlBase, int32_t limit);

// Window thread, before the saved-site log is handed over: writes the record (only when none
// exists), creates the data folder and the start folder chain, writes the shortcut page and
// sets logFolder, startFolder and, with the data folder, the working saveName. Lines for the
// job's log (a record that could not be written) are added to `notes`.
void PrepareSaveTarget(engine::SaveJob& job, std::vector<std::string>& notes);

}  // namespace records
