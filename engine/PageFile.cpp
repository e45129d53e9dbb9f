#include "engine/PageFile.h"

#include <utility>

#include "engine/SaveJob.h"
#include "platform/FileUtil.h"
#include "platform/Heap.h"

namespace engine {

std::string PageNotRewrittenLine(const std::string& pagePath) {
    return "  ！ページを書き換えられませんでした（元のファイルのままです）: " + pagePath;
}

void WritePageText(SaveJob& job, const std::string& pagePath, std::string_view text) {
    if (!platform::WriteFileReplacing(pagePath, text, platform::Durability::Fast))
        job.AppendLog(PageNotRewrittenLine(pagePath));
}

namespace {

// A fetched page that could not be written at all.
std::string PageNotSavedLine(const std::string& pagePath) {
    return "  ！ページを保存できませんでした: " + pagePath;
}

}  // namespace

void PageText::Read(const std::string& path) {
    readable = platform::ReadWholeFile(staged.empty() ? path : staged, text);
    if (!readable) text.clear();
    // A big page's step makes a copy or two of it: the heap left behind by the smaller pages
    // before goes back first, so that the two do not add up. Only for the few pages whose
    // copies make the save's peak: handing the heap back costs a system call for every gap.
    constexpr size_t kReturnHeapAbove = 512 * 1024;
    if (text.size() > kReturnHeapAbove) platform::ReturnFreeHeap();
}

bool PageText::Save(SaveJob& job, const std::string& path) {
    if (!staged.empty()) {
        const std::string from = std::exchange(staged, std::string());
        const bool rewrite = changed && readable;
        changed = false;
        if ((!rewrite || platform::OverwriteFile(from, text)) && platform::RenameFile(from, path)) return true;
        platform::DiscardTemporary(from);
        job.AppendLog(PageNotSavedLine(path));
        return false;
    }
    if (!changed || !readable) return true;
    changed = false;
    if (platform::WriteFileReplacing(path, text, platform::Durability::Fast)) return true;
    job.AppendLog(PageNotRewrittenLine(path));
    return false;
}

void PageText::Park(SaveJob& job, const std::string& path) {
    if (!readable || text.size() <= kHeldMax) return;
    (void)Save(job, path);
    std::string().swap(text);
    parked = true;
}

void PageText::Unpark(const std::string& path) {
    if (parked) Read(path);
    parked = false;
}

}  // namespace engine
