// Sitg_PlgIn_NotFound: two checks that tell a picture or a ZIP archive from the HTML page a
// server sends in its place. The checks look at the bytes they are handed, in memory; the
// plug-in keeps no state and writes no file.
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#define QDI_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct CheckEntry {
    const char* function;
    const char* display;
};

constexpr CheckEntry kChecks[] = {
    {"IsExpectPicture", "画像ファイルヘッダチェック"},
    {"IsExpectZip", "Zipファイルヘッダチェック"},
};
constexpr int kCheckCount = sizeof kChecks / sizeof kChecks[0];
constexpr size_t kUrlLimit = 1284;
constexpr size_t kExtensionLimit = 31;

int CopyName(const char* name, char* buffer, int length) {
    if (!buffer || length <= 0) return 0;
    const size_t room = static_cast<size_t>(length) - 1;
    const size_t n = std::min(std::strlen(name), room);
    std::memcpy(buffer, name, n);
    buffer[n] = '\0';
    return 1;
}

bool EndsWithLower(const std::string& text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string Lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool StartsWithBytes(const unsigned char* data, int count, std::string_view magic) {
    return data && count >= static_cast<int>(magic.size()) && std::memcmp(data, magic.data(), magic.size()) == 0;
}

}  // namespace

QDI_EXPORT int IsPlugInForDownloadProgress() { return 1; }

QDI_EXPORT int GetDlPrgFunction(int index, char* buffer, int length) {
    if (index < 0 || index >= kCheckCount) return 0;
    return CopyName(kChecks[index].function, buffer, length);
}

QDI_EXPORT int GetDlPrgFunctionName(int index, char* buffer, int length) {
    if (index < 0 || index >= kCheckCount) return 0;
    return CopyName(kChecks[index].display, buffer, length);
}

// 1 unless the URL names a picture and the data begin with no picture header; any of the
// four headers passes for any of the picture names (a PNG served as ".jpg" is a picture).
QDI_EXPORT int IsExpectPicture(const unsigned char* data, int count, const char* url) {
    const std::string lowered = Lowered(url ? std::string_view(url) : std::string_view());
    bool picture = false;
    for (std::string_view ext : {".jpg", ".jpeg", ".gif", ".png", ".bmp"}) picture = picture || EndsWithLower(lowered, ext);
    if (!picture) return 1;
    return StartsWithBytes(data, count, "\xFF\xD8") || StartsWithBytes(data, count, "GIF") ||
                   StartsWithBytes(data, count, std::string_view("\x89PNG\r\n\x1A\n", 8)) ||
                   StartsWithBytes(data, count, "BM")
               ? 1
               : 0;
}

// 1 unless the URL names a ".zip" file and the data do not begin with "PK" 03 04.
QDI_EXPORT int IsExpectZip(const unsigned char* data, int count, const char* url) {
    std::string copy = url ? std::string(url).substr(0, kUrlLimit) : std::string();
    if (copy.empty() || copy.back() == '/') return 1;
    const size_t dot = copy.rfind('.');
    if (dot == std::string::npos) return 1;
    const std::string extension = copy.substr(dot + 1, kExtensionLimit);
    if (Lowered(extension) != "zip") return 1;
    return StartsWithBytes(data, count, std::string_view("PK\x03\x04", 4)) ? 1 : 0;
}
