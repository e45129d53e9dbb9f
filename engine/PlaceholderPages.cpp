#include "engine/PlaceholderPages.h"

#include "platform/Codepage.h"
#include "platform/FileUtil.h"

namespace engine {

namespace {

// The fixed texts are ours and all have codes in CP932, so the conversion cannot fail.
std::string Sjis(std::string_view utf8) {
    std::string out;
    if (platform::Utf8ToCp932(utf8, out) != platform::CodepageOk) out.assign(utf8);
    return out;
}

}  // namespace

int WriteFailedPage(std::string_view url, const std::string& path) {
    std::string text;
    text += kFailedPageHead;
    text += "\r\n";
    text += Sjis("このページはダウンロードできませんでした。<br>\r\nBy Sitrova<br>\r\n");
    text += "<br>\r\n<a href=\"";
    text += url;
    text += "\">";
    text += url;
    text += "</a>\r\n";
    text += "</body>\r\n</html>\r\n";
    return platform::WriteFileReplacing(path, text) ? 1 : 0;
}

int WriteCanceledPage(std::string_view url, const std::string& path) {
    std::string text;
    text += "<html><head><title>Canceled Download</title></head><body>\r\n";
    text += Sjis("このページのダウンロードはユーザーによりキャンセルされました。<br>\r\n");
    text += "By Sitrova<br>\r\n";
    text += "<br>\r\n";
    text += "<a href=\"";
    text += url;
    text += "\">\r\n";
    text += url;
    text += "\r\n</a>\r\n</body>\r\n</html>\r\n";
    return platform::WriteFileReplacing(path, text) ? 1 : 0;
}

int IsSavedCopy(const std::string& path) {
    if (!platform::FileExists(path)) return 0;
    std::string head;
    if (!platform::ReadFileHead(path, head, 512)) return 1;
    if (head.find(kFailedPageHead) != std::string::npos) {
        platform::RemoveFile(path);
        return 0;
    }
    return 1;
}

}  // namespace engine
