// The WARC files inside a WACZ package (a zip with the archives under "archive/"), read in
// place, one after another as if they were one file.
#pragma once

#include <memory>
#include <string>

#include "records/WarcReader.h"

namespace records {

// Null with `why` when the file is no zip or holds no WARC file under "archive/".
std::shared_ptr<WarcBytes> WaczWarcBytes(const std::string& path, std::string* why);

}  // namespace records
