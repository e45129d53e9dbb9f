// What the catalogue shows of one .qdx record: its comment, related links, the start URL and
// the saved start page (both from the site's saved-site log), the log's date.
#pragma once

#include <string>
#include <vector>

namespace suite {

enum QdxDetailsStatus : int { DetailsRead = 0, DetailsUnsupported = 1, DetailsCannotOpen = 2 };

struct QdxDetails {
    int status = DetailsCannotOpen;
    std::string message;                 // "Qdx-Error:N\r\n..." for statuses 1 and 2
    std::string comment;                 // "" when none
    std::vector<std::string> links;      // one display text per related link
    bool hasOutDomainList = false;
    bool logRead = false;
    std::string startUrl;                // "" when the log cannot be read
    std::string startPage;               // the saved start page ("" when unknown)
    std::string logDate;                 // date of the log's last write ("" when unreadable)
    std::string dataFolder;              // the folder of the saved-site log ("" for no record)
};

// Reads the record and its saved-site log. Never changes or removes a file.
QdxDetails ReadQdxDetails(const std::string& qdxPath);

// The text of the details pane (CR LF between lines).
std::string DetailsText(const std::string& qdxPath, const QdxDetails& details);

// The comment column: a comment longer than 64 bytes becomes its first 59 bytes and "..."
// (cut at a character boundary).
std::string CommentColumnText(const std::string& comment);

}  // namespace suite
