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

}  // namespace engine
