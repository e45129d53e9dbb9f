#include "app/NewInstance.h"

#include "app/InputRules.h"
#include "engine/UrlModel.h"
#include "platform/ByteString.h"

namespace app {

std::string NewInstanceArgument(std::string_view text, const std::string& saveFolder, uint32_t defMode) {
    std::string url = UrlForField(text, defMode);
    const size_t schemeEnd = engine::SchemeEnd(url);
    if (schemeEnd == std::string::npos || url.size() <= schemeEnd) return {};
    (void)platform::ReplaceAll(url, "\"", "%22");
    std::string savePath;
    if (!saveFolder.empty()) savePath = SavePathForUrl(saveFolder, url);
    return "PresetUrl,\"" + url + "\",\"" + savePath + "\"";
}

int StartNewInstance(
    const std::string& programFolder, const std::string& argument,
    const std::function<int(const std::string& program, const std::vector<std::string>& args)>& start) {
    if (argument.empty() || !start) return 0;
    return start(programFolder + "/Sitrova", {argument}) == 1 ? 1 : 0;
}

}  // namespace app
