#include "engine/PageFile.h"

#include "engine/SaveJob.h"
#include "platform/FileUtil.h"

namespace engine {

std::string PageNotRewrittenLine(const std::string& pagePath) {
    return "  ！ページを書き換えられませんでした（元のファイルのままです）: " + pagePath;
}

void WritePageText(SaveJob& job, const std::string& pagePath, std::string_view text) {
    if (!platform::WriteFileReplacing(pagePath, text, platform::Durability::Fast))
        job.AppendLog(PageNotRewrittenLine(pagePath));
}

void PageText::Read(const std::string& path) {
    readable = platform::ReadWholeFile(path, text);
    if (!readable) text.clear();
}

bool PageText::Save(SaveJob& job, const std::string& path) {
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
