#include "records/QdxRecord.h"

#include <cstdint>

#include "engine/ModeFlags.h"
#include "platform/ByteString.h"
#include "platform/DebugOut.h"
#include "platform/FileUtil.h"
#include "platform/UiText.h"

namespace records {

namespace {

// The mode word is a short number; a longer first line is read no further.
constexpr size_t kFirstLineBytes = 256;

// The record path without the extension of its file name (a "." in a folder name is no
// extension).
std::string WithoutExtension(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path;
    return path.substr(0, dot);
}

// The mode word of the record's first line, or 0 when it holds none.
long long ModeWordOf(std::string_view head) {
    const long long word = platform::ParseDecimal(head.substr(0, head.find('\n')));
    return word < 1 || word > static_cast<long long>(UINT32_MAX) ? 0 : word;
}

int Fail(QdxRecordReader& reader, int status, const char* message) {
    reader.status = status;
    reader.message = message;
    return status;
}

}  // namespace

bool QdxRecordDamaged(const std::string& path) {
    std::string head;
    if (!platform::IsRegularFile(path) || !platform::ReadFileHead(path, head, kFirstLineBytes)) return false;
    return ModeWordOf(head) == 0;
}

std::string QdxLogPath(const std::string& recordPath, uint32_t modeWord) {
    if (modeWord & engine::mode::datafolder) return WithoutExtension(recordPath) + ".files/" + kSavedSiteLogName;
    return platform::FolderOf(recordPath) + kSavedSiteLogName;
}

namespace {

// The line that tells the user which part of the saved site is gone: the data folder when
// it is missing as a whole, else the log itself.
std::string MissingLine(const std::string& logPath) {
    const std::string folder = platform::FolderOf(logPath);
    if (!platform::IsDirectory(folder))
        return platform::TrArgs(
            "保存データのフォルダが見つかりません（名前の変更や移動をした場合は元に戻してください）: %1", {folder});
    return platform::TrArgs("保存済みサイトのログファイルが見つかりません: %1", {logPath});
}

}  // namespace

int OpenQdxRecord(const std::string& path, QdxRecordReader& reader, StaleRecord stale) {
    reader = QdxRecordReader{};
    std::string head;
    if (!platform::IsRegularFile(path) || !platform::ReadFileHead(path, head, kFirstLineBytes))
        return Fail(reader, QdxCannotOpen, platform::Tr("Qdx-Error:2\r\n指定されたファイルが開けません。"));

    const long long word = ModeWordOf(head);
    if (word < 1)
        return Fail(reader, QdxUnsupported, platform::Tr("Qdx-Error:1\r\n指定されたファイルはサポートされていない形式です。"));
    reader.modeWord = static_cast<unsigned long>(word);

    reader.logPath = QdxLogPath(path, static_cast<uint32_t>(word));
    if (ReadSavedSiteLogHeader(reader.logPath, reader.log) != LogRead) {
        reader.status = QdxLogError;
        reader.message = reader.log.message;
        const bool gone = reader.log.error == LogMissing && !platform::FileExists(reader.logPath);
        if (gone && stale == StaleRecord::Keep) reader.message += "\r\n" + MissingLine(reader.logPath);
        // A stale record whose log is gone is removed; one whose log exists but cannot be
        // read (permissions, a passing lock) is kept.
        if (gone && stale == StaleRecord::Remove && !platform::RemoveFile(path))
            platform::DebugOutput("stale record not removed: " + path + "\r\n");
        return reader.status;
    }
    reader.status = QdxReadable;
    return reader.status;
}

}  // namespace records
