#include "app/DropFiles.h"

#include "platform/ByteString.h"
#include "platform/UiText.h"
#include "records/QdxRecord.h"

namespace app {

bool IsQdxName(std::string_view path) { return path.size() > 4 && platform::EndsWithI(path, ".qdx"); }

bool IsHtmlName(std::string_view path) {
    return platform::EndsWithI(path, ".html") || platform::EndsWithI(path, ".htm");
}

bool IsShortcutName(std::string_view path) { return path.size() > 4 && platform::EndsWithI(path, ".url"); }

QdxDropResult ReadDroppedQdxFiles(const std::vector<std::string>& paths) {
    QdxDropResult result;
    for (const std::string& path : paths) {
        if (!IsQdxName(path)) continue;
        records::QdxRecordReader reader;
        const int status = records::OpenQdxRecord(path, reader);
        if (status == records::QdxReadable)
            result.readable.push_back(path);
        else if (status == records::QdxLogError && reader.log.error == records::LogMissing)
            result.deleted.push_back(path);
        else
            result.errors.push_back(path + "\r\n" + reader.message + "\r\n");
    }
    return result;
}

std::string QdxDropReport(const QdxDropResult& result) {
    std::string errors;
    for (const std::string& error : result.errors) errors += error;
    if (!result.deleted.empty()) {
        std::string text = platform::Tr("以下のQdxファイルは実体が存在しなかったので、削除しました。\r\n\r\n");
        for (const std::string& path : result.deleted) text += path + "\r\n";
        if (!errors.empty()) text += platform::Tr("\r\nまた、次のエラーが発生しました。\r\n") + errors;
        return text;
    }
    if (!errors.empty()) return platform::Tr("\r\n次のエラーが発生しました。\r\n") + errors;
    return {};
}

}  // namespace app
