// The related-file download of the record windows, on the file downloader.
#pragma once

namespace downloadqt {

// Hands the record windows their starter (see records/qt/RelatedFileFetch.h). Called once at
// the start of a program that shows them.
void InstallRelatedFileDownload();

}  // namespace downloadqt
