// Hostile links: whatever a page links to, a taken link's local path lies inside the save
// folder, names no "." or ".." folder, and nothing is made outside the save folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <string>

#include "engine/SafeLocalPath.h"
#include "engine/UrlModel.h"
#include "platform/FileUtil.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

// Entries of a folder, "." and ".." left out.
int EntryCount(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return -1;
    int n = 0;
    while (dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") ++n;
    }
    ::closedir(dir);
    return n;
}

bool HasDotName(const std::string& path) {
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        const std::string name = path.substr(start, end - start);
        if (name == "." || name == "..") return true;
        start = end + 1;
    }
    return false;
}

struct Page {
    const char* folder;  // below the save folder
    const char* url;
    int32_t level;
};

constexpr Page kPages[] = {
    {"", "http://example.com/index.html", 0},
    {"a/b/", "http://example.com/a/b/page.html", 2},
    {"a/", "https://example.com/a/?q=/x/../y", 1},
    {"", "http://example.com", 0},
    {"web/2020/http://example.com/c/", "http://web.archive.org/web/2020/http://example.com/c/p.html", 6},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string root = fuzzsupport::ScratchFolder();
    static const std::string save = root + "save/";
    static unsigned runs = 0;
    if (runs++ % 256 == 0) {  // small batches: removing many folders at once is slow
        std::error_code ignored;
        std::filesystem::remove_all(save, ignored);
        for (const Page& p : kPages) std::filesystem::create_directories(save + p.folder, ignored);
    }
    if (size < 2) return 0;
    const Page& page = kPages[data[0] % std::size(kPages)];
    const int32_t lankLimit = data[1] % 8;
    std::string link(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::string pagePath = save + page.folder + "page.html";

    for (bool bounded : {false, true}) {
        std::string resolved = link, outPath, why;
        int32_t kind = 0, level = 0;
        const int result = bounded ? engine::ResolveLinkInside(save, pagePath, page.url, page.level, lankLimit,
                                                               outPath, resolved, kind, level, &why)
                                   : engine::ResolveLink(pagePath, page.url, page.level, lankLimit, outPath,
                                                         resolved, kind, level, &why);
        if (result == engine::LinkTaken) {
            Check(engine::IsInsideFolder(outPath, save));
            Check(outPath.compare(0, save.size(), save) == 0);
            Check(!HasDotName(outPath.substr(save.size())));
            Check(outPath.size() <= 1284);
        } else {
            Check(outPath.empty());
        }
    }
    // Nothing appeared beside the save folder.
    Check(EntryCount(root) == 1);
    return 0;
}
