// The loading of the catalogue's two lists (on worker threads): rows for every entry whose
// file still exists; entries whose files have gone are removed from the catalogue.
#pragma once

#include <string>
#include <vector>

#include "suite/QdxDetails.h"
#include "suite/UpdateSummary.h"

namespace suite {

class Catalogue;

struct QdxRow {
    std::string fullPath;
    std::string fileName;     // "Qdxファイル名"
    std::string folderName;   // "上位フォルダ名"
    int openTimes = 1;        // "参照回数"
    QdxDetails details;       // date, comment and links for the columns and the search
    UpdateSummary update;     // the last update run and its report
};

struct FileRow {
    std::string remote;       // "保存元URL"
    std::string local;        // "フルパス"
    std::string fileName;     // "保存した単体／連番ファイル名"
    std::string folderPath;   // "フォルダパス"
    std::string saveDate;     // "保存日"
};

// Worker thread. Reads the ".qdx" entries under the catalogue's lock, drops those whose file
// no longer exists (a folder does not count), then reads each record for the other columns.
std::vector<QdxRow> LoadQdxRows(Catalogue& catalogue);
// Worker thread. The same for the saved files.
std::vector<FileRow> LoadFileRows(Catalogue& catalogue);

QdxRow MakeQdxRow(const std::string& path, int openTimes);
FileRow MakeFileRow(const std::string& remote, const std::string& local);

}  // namespace suite
