// Settings files of any shape: every read gives a value or its default, and replacing one
// section changes nothing that could be read from the others.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/FileUtil.h"
#include "platform/ProfileFile.h"
#include "records/Settings.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

struct Key {
    const char* section;
    const char* key;
};

constexpr Key kKeys[] = {
    {"QdxWindowSize", "Width"},     {"QdxWindowSize", "Height"},          {"BasicOption", "DefMode"},
    {"BasicOption", "BlogCutOff"},  {"WholeOption", "WhlMode"},           {"SeriesOption", "SrsMode"},
    {"SeriesError", "RetryCount"},  {"SeriesError", "ReceiveTimeOutSec"}, {"SpeedSelectPath", "LatelyDir1"},
    {"SpeedSelectPath", "LatelyDir2"}, {"QdxDirectBrowse", "BrowserPath"}, {"a", "b"},
};

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    platform::ProfileText text(bytes);
    std::string before[std::size(kKeys)];
    for (size_t i = 0; i < std::size(kKeys); ++i) {
        before[i] = text.ReadText(kKeys[i].section, kKeys[i].key, "\x01missing", 4096);
        (void)text.ReadNumber(kKeys[i].section, kKeys[i].key, 5);
        (void)text.ReadInt(kKeys[i].section, kKeys[i].key, 5);
    }

    std::string error;
    Check(text.ReplaceSection("SeriesError", {{"RetryCount", "7"}, {"WaitSec", " padded "}}, &error) == 1);
    Check(text.ReadText("SeriesError", "RetryCount", "", 4096) == "7");
    Check(text.ReadText("SeriesError", "WaitSec", "", 4096) == " padded ");
    Check(!text.HasKey("SeriesError", "ReceiveTimeOutSec"));
    for (size_t i = 0; i < std::size(kKeys); ++i) {
        if (std::string(kKeys[i].section) == "SeriesError") continue;
        Check(text.ReadText(kKeys[i].section, kKeys[i].key, "\x01missing", 4096) == before[i]);
    }
    // The text reads the same when parsed afresh.
    platform::ProfileText again(text.Bytes());
    for (const Key& k : kKeys)
        Check(again.ReadText(k.section, k.key, "\x01missing", 4096) == text.ReadText(k.section, k.key, "\x01missing", 4096));

    // The settings component on the same bytes as a file.
    const std::string ini = fuzzsupport::ScratchFolder() + "Sitrov.ini";
    if (!platform::WriteFilePlain(ini, bytes)) return 0;
    const records::QdxWindowSize window = records::ReadQdxWindowSize(ini);
    Check(window.width >= records::kQdxMinWidth && window.height >= records::kQdxMinHeight);
    (void)records::ReadDefMode(ini);
    (void)records::ReadBlogCutOff(ini);
    (void)records::ReadSeriesError(ini);
    (void)records::ReadSaveHistory(ini);
    (void)records::BrowserCommandFor(records::ReadBrowserPath(ini), "/page.html");
    return 0;
}
