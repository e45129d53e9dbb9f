// Reading an existing saved-site log: its header for the saved-site view and the hand-over,
// and its entries, moved to the log's present folder, for the update check.
#include <climits>

#include "engine/ModeFlags.h"
#include "platform/ByteString.h"
#include "platform/Clock.h"
#include "platform/DebugOut.h"
#include "platform/FileUtil.h"
#include "platform/LineReader.h"
#include "platform/UiText.h"
#include "records/RecordCodec.h"
#include "records/SavedSiteLog.h"

namespace records {

namespace {

using platform::LineReader;

// No header or entry line of a real log comes near this; a longer one is damage.
constexpr size_t kMaxLineBytes = 1u << 16;
constexpr int kHeaderLines = 8;

// A line as the old reader saw it: CR became NUL, so the text ends at the first CR or NUL.
std::string CutAtCr(const std::string& line) {
    using namespace std::string_view_literals;
    return line.substr(0, line.find_first_of("\r\0"sv));
}

uint32_t ToUint32(std::string_view text) {
    const long long v = platform::ParseDecimal(text);
    return v < 0 ? 0 : v > static_cast<long long>(UINT32_MAX) ? UINT32_MAX : static_cast<uint32_t>(v);
}

int32_t ToInt32(std::string_view text) {
    const long long v = platform::ParseDecimal(text);
    return v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : static_cast<int32_t>(v);
}

int Fail(SavedSiteLogReader& reader, int code) {
    reader.error = code;
    // Shown to the user (the saved-site view, the start-up); no file keeps it.
    if (code == LogUnsupported)
        reader.message = platform::Tr("Error:1\r\n指定されたファイルはサポートされていない形式です。");
    else if (code == LogMissing)
        reader.message = platform::Tr("Error:2\r\n指定されたファイルは実体が存在しません。");
    else
        reader.message = platform::Tr(
            "Error:3\r\n指定されたファイルは、他のプロセスが使用している可能性があるため、アクセスを中止しました。");
    return code;
}

// The eight header lines, each cut at its first CR. False when the text ends before the
// eighth LF or a line is damaged.
bool ReadHeaderLines(LineReader& in, std::vector<std::string>& lines) {
    std::string line;
    for (int i = 0; i < kHeaderLines; ++i) {
        if (in.Next(line) != LineReader::Line) return false;
        lines.push_back(CutAtCr(line));
    }
    return lines[0] == kSavedSiteLogSignature;
}

// A data-folder save: the log lies in "<name>.files/" beside the start page's shortcut.
void DeriveFromDataFolder(SavedSiteLogReader& reader) {
    std::string dataFolder = reader.saveFolder;
    if (!dataFolder.empty() && dataFolder.back() == '/') dataFolder.pop_back();
    if (dataFolder.empty()) return;
    const std::string parent = platform::FolderOf(dataFolder);
    std::string name = platform::NameOf(dataFolder);
    if (platform::EndsWithI(name, ".files")) name.resize(name.size() - 6);
    reader.saveFolder = parent;
    reader.startPageName = name + (platform::IsRegularFile(parent + name + ".html") ? ".html" : ".htm");
}

// The stored path moved below `presentFolder`. False when it does not lie inside the stored
// folder or would leave the present one.
bool Rebase(const std::string& stored, const std::string& storedFolder, bool windowsStored,
            const std::string& presentFolder, std::string& local) {
    const size_t n = storedFolder.size();
    if (stored.size() <= n) return false;
    const std::string_view head = std::string_view(stored).substr(0, n);
    // Windows compares paths without regard to case.
    if (head != storedFolder && !(windowsStored && platform::EqualsI(head, storedFolder))) return false;
    std::string rest;
    if (!DecodeField(std::string_view(stored).substr(n), rest)) return false;
    if (windowsStored) platform::ReplaceAll(rest, "\\", "/");
    if (rest.empty() || rest.front() == '/') return false;
    for (size_t b = 0; b <= rest.size();) {
        size_t e = rest.find('/', b);
        if (e == std::string::npos) e = rest.size();
        if (std::string_view(rest).substr(b, e - b) == "..") return false;
        b = e + 1;
    }
    local = presentFolder;
    if (!local.empty() && local.back() != '/') local += '/';
    local += rest;
    return true;
}

}  // namespace

int ReadSavedSiteLogHeader(const std::string& logPath, SavedSiteLogReader& reader) {
    reader = SavedSiteLogReader{};
    if (platform::FileExists(logPath + kSavedSiteLogBusySuffix)) return Fail(reader, LogInUse);
    if (!platform::IsRegularFile(logPath)) return Fail(reader, LogMissing);
    LineReader in(logPath, kMaxLineBytes);
    if (!in.IsOpen()) return Fail(reader, LogMissing);
    if (platform::FileSize(logPath) == 0) {
        // Only an empty file is removed: an unreadable one may still hold the user's data.
        if (!platform::RemoveFile(logPath)) platform::DebugOutput("empty log not removed: " + logPath + "\r\n");
        return Fail(reader, LogMissing);
    }

    std::vector<std::string> lines;
    if (!ReadHeaderLines(in, lines)) return Fail(reader, LogUnsupported);
    std::string folder, name;
    if (!DecodeField(lines[1], folder) || !DecodeField(lines[2], name) || !DecodeField(lines[3], reader.urlBase) ||
        !DecodeField(lines[4], reader.urlLeaf))
        return Fail(reader, LogUnsupported);
    reader.storedFolder = folder;
    reader.storedFolderLength = lines[1].size();
    reader.startPageName = name;
    reader.modeWord = ToUint32(lines[5]);
    reader.lankLimit = ToInt32(lines[6]);
    reader.entryCount = ToUint32(lines[7]);
    reader.lastWriteText = platform::LocalDateTimeText(platform::LastWriteTime(logPath));
    reader.saveFolder = platform::FolderOf(logPath);
    if (reader.modeWord & engine::mode::datafolder) DeriveFromDataFolder(reader);
    reader.error = LogRead;
    return LogRead;
}

bool SavedSiteLogIntact(const std::string& path) {
    LineReader in(path, kMaxLineBytes);
    if (!in.IsOpen()) return false;
    std::vector<std::string> header;
    std::string line;
    if (!ReadHeaderLines(in, header) || in.Next(line) != LineReader::Line) return false;
    const uint64_t lines = static_cast<uint64_t>(ToUint32(header[7])) * 4;
    for (uint64_t i = 0; i < lines; ++i) {
        const auto got = in.Next(line);
        if ((got != LineReader::Line && got != LineReader::LastLine) || line.find('\0') != std::string::npos)
            return false;
    }
    return in.Next(line) == LineReader::End;
}

int ReadSavedSiteLogEntries(const std::string& path, const std::string& presentFolder,
                            std::vector<SavedSiteLogEntry>& entries) {
    LineReader in(path, kMaxLineBytes);
    if (!in.IsOpen()) return 0;
    std::vector<std::string> header;
    if (!ReadHeaderLines(in, header)) return 0;
    std::string line;
    if (in.Next(line) != LineReader::Line) return 0;  // the dummy line
    const std::string& storedFolder = header[1];
    // A folder written on Windows begins with a drive or "\\", never with "/".
    const bool windowsStored = !storedFolder.empty() && storedFolder.front() != '/' &&
                               storedFolder.find('\\') != std::string::npos;

    const uint32_t count = ToUint32(header[7]);
    bool whole = true;
    for (uint32_t i = 0; i < count; ++i) {
        std::string fields[4];
        for (std::string& field : fields) {
            const auto got = in.Next(field);
            // A NUL ends the walk as it ended the old C-string walk.
            if ((got != LineReader::Line && got != LineReader::LastLine) || field.find('\0') != std::string::npos)
                return 0;
            field = CutAtCr(field);
        }
        SavedSiteLogEntry entry;
        if (!Rebase(fields[0], storedFolder, windowsStored, presentFolder, entry.localPath) ||
            !DecodeField(fields[1], entry.url)) {
            whole = false;
            continue;
        }
        entry.level = ToInt32(fields[2]);
        entry.size = platform::ParseDecimal(fields[3]);
        entries.push_back(std::move(entry));
    }
    // Entries beyond the count mean a damaged count: they would drop out of the next log.
    if (in.Next(line) != LineReader::End) whole = false;
    return whole ? 1 : 0;
}

}  // namespace records
