// Web archives of any shape, plain or gzip-compressed: the reader never crashes, keeps its
// problem list within its bound, and every payload it indexed reads within its stored length
// (decoded, within what the decoders may make of it).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "records/WarcReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    records::WarcArchive archive;
    const bool read = archive.Read(records::WarcBytesOfMemory(std::string(reinterpret_cast<const char*>(data), size)));
    if (archive.Problems().size() > records::kWarcMaxProblems) std::abort();
    if (read != (archive.RecordCount() > 0)) std::abort();
    if (!read && archive.Problems().empty()) std::abort();
    for (const char* url : {"http://h/", "http://h/a.html", "http://h/b"}) {
        const records::WarcCapture* capture = archive.Find(url);
        if (!capture) continue;
        std::string why;
        size_t out = 0;
        const int r = archive.ReadPayload(*capture, [&](const char*, size_t n) { out += n; return out < (64u << 20); },
                                          {}, &why);
        if (r == 0 && why.empty()) std::abort();
    }
    return 0;
}
