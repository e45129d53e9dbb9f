// Saved-site logs of any shape: the reader gives one of its codes, rebased entries stay below
// the present folder, and what the writer accepts reads back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/SaveJob.h"
#include "platform/FileUtil.h"
#include "records/SavedSiteLog.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

bool StaysBelow(const std::string& path, const std::string& folder) {
    if (path.compare(0, folder.size(), folder) != 0 || path.size() == folder.size()) return false;
    const std::string rest = path.substr(folder.size());
    return rest[0] != '/' && ("/" + rest + "/").find("/../") == std::string::npos;
}

void ReadAsLog(const std::string& bytes) {
    const std::string path = fuzzsupport::ScratchFolder() + "read/" + records::kSavedSiteLogName;
    if (!platform::CreateFolder(fuzzsupport::ScratchFolder() + "read") || !platform::WriteFilePlain(path, bytes)) return;
    records::SavedSiteLogReader reader;
    const int code = records::ReadSavedSiteLogHeader(path, reader);
    Check(code == reader.error && code >= 0 && code <= 2);
    Check((code == 0) == reader.message.empty());
    std::vector<records::SavedSiteLogEntry> entries;
    (void)records::ReadSavedSiteLogEntries(path, "/present/", entries);
    for (const auto& e : entries) Check(StaysBelow(e.localPath, "/present/"));
}

// Entries cut from the input at 0x01 bytes: path rest, URL, path rest, URL, ...
void WriteAndReadBack(const std::string& bytes) {
    const std::string folder = fuzzsupport::ScratchFolder() + "write/";
    if (!platform::CreateFolder(folder)) return;
    engine::SaveJob job;
    job.SetStartUrl("http://example.com/dir/index.html");
    job.SetSaveTarget(folder + "index.html");
    job.SetModeBits(0x301);

    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t at; (at = bytes.find('\x01', start)) != std::string::npos; start = at + 1)
        fields.push_back(bytes.substr(start, at - start));
    fields.push_back(bytes.substr(start));

    struct Expected {
        std::string rest, url;
        int32_t level;
    };
    std::vector<Expected> expected;
    bool allSafe = true;
    {
        records::SavedSiteLog log(folder + records::kSavedSiteLogName);
        for (size_t i = 0; i + 1 < fields.size(); i += 2) {
            const int32_t level = static_cast<int32_t>(i) - 3;
            if (!log.RecordPage(folder + fields[i], fields[i + 1], level, static_cast<int64_t>(i) * 1000)) continue;
            if (StaysBelow("/p/" + fields[i], "/p/"))
                expected.push_back({fields[i], fields[i + 1], level});
            else
                allSafe = false;
        }
        if (!log.Write(job)) return;
    }
    std::vector<records::SavedSiteLogEntry> entries;
    const int whole = records::ReadSavedSiteLogEntries(folder + records::kSavedSiteLogName, "/p/", entries);
    Check(whole == (allSafe ? 1 : 0));
    Check(entries.size() == expected.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        Check(entries[i].localPath == "/p/" + expected[i].rest);
        Check(entries[i].url == expected[i].url);
        Check(entries[i].level == expected[i].level);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    ReadAsLog(bytes);
    if (size < 4096) WriteAndReadBack(bytes);
    return 0;
}
