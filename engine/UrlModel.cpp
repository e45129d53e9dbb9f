// Stand-in until the URL model lands: no link is taken, so a save keeps its start page only.
#include "engine/UrlModel.h"

#include "engine/LinkKind.h"
#include "platform/ByteString.h"

namespace engine {

int32_t LinkKindOfName(std::string_view) { return NotFollowed; }

int ResolveLink(const std::string&, const std::string&, int32_t, int32_t, std::string& outPath, std::string&,
                int32_t& outKind, int32_t& outLevel, std::string* why) {
    outPath.clear();
    outKind = NotFollowed;
    outLevel = 0;
    if (why) *why = "links are not resolved in this build";
    return LinkNotTaken;
}

size_t DynamicLocalName(std::string_view, std::string&, std::vector<std::string>&, std::vector<std::string>&) {
    return 0;
}

bool IsDynamicName(std::string_view) { return false; }
bool IsCgiName(std::string_view) { return false; }
bool IsPageUrl(std::string_view) { return false; }
bool IsPageName(std::string_view name) {
    return !name.empty() && (name.back() == '/' || platform::EndsWithI(name, ".htm") || platform::EndsWithI(name, ".html"));
}
bool IsSwfName(std::string_view) { return false; }
bool ContainsReservedDeviceName(std::string_view) { return false; }
std::string EncodeUrl(std::string_view text) { return std::string(text); }

bool IsAbsoluteUrl(std::string_view url) {
    return platform::StartsWithI(url, "http://") || platform::StartsWithI(url, "https://");
}

}  // namespace engine
