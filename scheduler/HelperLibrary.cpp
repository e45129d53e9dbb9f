#include "scheduler/HelperLibrary.h"

#include "platform/DynamicLibrary.h"
#include "platform/UiText.h"
#include "rerevu/RerEvu.h"

namespace scheduler {

namespace {

constexpr int kTitleBuffer = 260;
constexpr int kTitleLength = 259;

std::string LibraryPath(const std::string& programFolder) { return programFolder + "/" + QDX6_RERE_EVU_FILE; }

template <typename Fn, typename... Args>
int CallOrNo(const std::string& programFolder, const char* name, Args... args) {
    const platform::DynamicLibrary lib(LibraryPath(programFolder));
    const auto fn = lib.Function<Fn>(name);
    return fn ? fn(args...) : 0;
}

}  // namespace

int PathHasReservedName(const std::string& programFolder, const std::string& path) {
    return CallOrNo<ContainsReservedDeviceNameFn>(programFolder, "ContainsReservedDeviceName", path.c_str()) == 1 ? 1 : 0;
}

int UrlIsBlog(const std::string& programFolder, const std::string& url) {
    return CallOrNo<IsBlogUrlFn>(programFolder, "IsBlogUrl", url.c_str()) == 1 ? 1 : 0;
}

int FetchTitle(const std::string& programFolder, void* owner, const std::string& url, bool makerMode,
               std::string& title) {
    title.clear();
    const platform::DynamicLibrary lib(LibraryPath(programFolder));
    if (!lib.Loaded()) return TitleNoLibrary;
    const auto fn = lib.Function<GetWebPageTitleWithProgressThunkFn>("GetWebPageTitleWithProgressThunk");
    if (!fn) return TitleNoExport;
    char buffer[kTitleBuffer] = {};
    const int length = fn(owner, url.c_str(), buffer, kTitleLength, makerMode ? 1 : 0);
    if (length <= 0) return TitleFailed;
    title.assign(buffer, static_cast<size_t>(length));
    return TitleFetched;
}

std::string TitleFailureMessage(int result) {
    switch (result) {
    case TitleNoLibrary: return platform::Tr("タイトル取得に失敗しました（KvLibQ4.dllをロードできない）。");
    case TitleNoExport: return platform::Tr("タイトル取得に失敗しました（KvLibQ4.dll内の関数が呼び出せない）。");
    default: return platform::Tr("タイトル取得に失敗しました（ページアクセスに失敗）。");
    }
}

}  // namespace scheduler
