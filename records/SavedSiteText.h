// The texts and paths of the saved-site view that do not need a window: the option summary,
// the files beside a record, the argument of the ad removal.
#pragma once

#include <cstdint>
#include <string>

namespace records {

// A record's saved option bits: the defaults alone (0x1, 0x100, 0x200) read as "unchanged".
constexpr uint32_t kDefaultSavedOptions = 0x301;
// At most this many related links are offered.
constexpr int kMaxRelatedLinks = 24;

// The option summary of a save (CR LF between lines), from the job's mode word and its
// upper-hierarchy limit, in the user's language: the view shows it, no file keeps it.
std::string OptionText(uint32_t modeFlags, int32_t lankLimit);

// The record path without the extension of its file name.
std::string RecordStem(const std::string& qdxPath);
// The error log a save with failures left in the record's data folder.
std::string ErrorLogPathOf(const std::string& qdxPath);
// The out-domain link list page, and the folders that hold the pages of other sites.
std::string OutDomainListPageOf(const std::string& qdxPath);
std::string OutDomainFolderOf(const std::string& qdxPath);
std::string AbsolutePathFolderOf(const std::string& qdxPath);

// The argument by which a new Sitrova process removes advertisements from a saved site.
std::string AdRemovalArgument(const std::string& qdxPath);

// What the related-link window shows for a link, in the user's language.
std::string LinkActionText(const std::string& name, const std::string& target);

// True for the addresses that are opened as web pages (http:// and https://).
bool IsWebTarget(const std::string& target);

}  // namespace records
