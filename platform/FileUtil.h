// File-system helpers. Local paths use "/" and are byte strings (UTF-8 on this system).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

bool FileExists(const std::string& path);   // any kind of entry
bool IsRegularFile(const std::string& path);
bool IsDirectory(const std::string& path);
int64_t FileSize(const std::string& path);   // -1 when missing
[[nodiscard]] bool RemoveFile(const std::string& path);    // true when it is gone afterwards
// Deletes a file of ours that nothing depends on going: a staging name or a page fetched for a
// comparison (one that stays is swept away after the next interrupted save), or a placeholder
// that the next fetch replaces anyway.
void DiscardTemporary(const std::string& path);
[[nodiscard]] bool RenameFile(const std::string& from, const std::string& to);  // replaces `to`
[[nodiscard]] bool CopyFile(const std::string& from, const std::string& to);    // replaces `to`

// Whether this process may create and delete files in `folder`; when not, `why` receives the
// system's reason in its own words.
[[nodiscard]] bool MayCreateIn(const std::string& folder, std::string* why = nullptr);

// Creates one folder; an existing folder is fine.
[[nodiscard]] bool CreateFolder(const std::string& path);
// Creates every missing folder of the chain. A path the file system cannot hold (see
// PathFits) creates nothing and fails with errno ENAMETOOLONG, so no part of it is left.
[[nodiscard]] bool CreateFolderChain(const std::string& path);

// Whether the file system could hold `path` by its length: every name in it at most NAME_MAX
// bytes and the whole shorter than PATH_MAX.
enum PathFit : int { PathFits = 1, PathNameTooLong = 0, PathTooLong = -1 };
[[nodiscard]] int PathFitsLimits(std::string_view path);
// The limits PathFitsLimits applies, in bytes.
size_t NameMaxBytes();
size_t PathMaxBytes();

// Reads a whole file (or at most maxBytes of it). False when it cannot be opened or a read
// fails part-way (`out` is then empty, never a truncated text).
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::string& out, size_t maxBytes = SIZE_MAX);
[[nodiscard]] bool ReadFileHead(const std::string& path, std::string& out, size_t bytes);
// Reads the open file `fd` to its end in pieces of at most 64 KiB, handing each to `take`
// (false from it stops the reading). True when the end was reached and every piece was
// taken: a file of tens of megabytes never needs to be in memory whole.
[[nodiscard]] bool ReadInPieces(int fd, const std::function<bool(std::string_view)>& take);

// Writes `bytes` as the whole file through path + "Temp": the new text is complete before it
// replaces the old file, so a full disk or a crash of the program leaves one of the two
// whole. Record files are also flushed to the disk first (Durable), so that even a power
// loss cannot leave them empty; saved pages skip that wait (Fast), they can be fetched again.
enum class Durability { Durable, Fast };
[[nodiscard]] bool WriteFileReplacing(const std::string& path, std::string_view bytes, Durability durability = Durability::Durable);

// Reads the whole file at `path` (a regular file), lets `edit` change the text and, when
// edit says it did, writes the new text back through WriteFileReplacing. A failed write
// leaves the old file whole and errno as the write left it (see LastFileFailure).
enum RewriteResult : int {
    RewriteUnreadable = 0,  // missing, not a regular file, or a read failed
    RewriteDone = 1,        // read, and written back when edit changed it
    RewriteNotWritten = 2,  // edit changed it but the new text could not replace the old
};
[[nodiscard]] int RewriteFileInPlace(const std::string& path, const std::function<bool(std::string&)>& edit,
                                     Durability durability = Durability::Durable);

// Writes the file directly (created or truncated). For files that are not records.
[[nodiscard]] bool WriteFilePlain(const std::string& path, std::string_view bytes);
[[nodiscard]] bool AppendToFile(const std::string& path, std::string_view bytes);
// Writes over an existing file of the caller's own (a temporary one) from its start and cuts
// it to the new length. Unlike a truncating write, this does not make the file system flush
// the old contents first; a failure part-way leaves the file mixed, so the caller discards it.
[[nodiscard]] bool OverwriteFile(const std::string& path, std::string_view bytes);
// Creates `path` for writing only when no entry carries the name yet, so that two processes
// never share a name taken between a test and the creation: the open descriptor, or
// CreateNameTaken, or CreateFailed on any other failure.
enum CreateExclusiveResult : int { CreateFailed = -1, CreateNameTaken = -2 };
[[nodiscard]] int CreateFileExclusive(const std::string& path);
// Closes a descriptor of ours.
void CloseFile(int fd);
// Writes every byte to an open descriptor (short writes and interruptions resumed).
[[nodiscard]] bool WriteAll(int fd, std::string_view bytes);

// The "hidden" mark of record files. Linux has no hidden attribute, so it is kept as an
// extended attribute where the file system allows one; setting it also clears a read-only
// mode, as the attribute word "hidden alone" did.
void SetHidden(const std::string& path);
bool IsHidden(const std::string& path);

// A symbolic link itself (not followed).
bool IsSymbolicLink(const std::string& path);
// Whether two paths name the same file (links followed); false when either is missing.
bool SameFile(const std::string& a, const std::string& b);
// Lets everyone run the file, and its owner alone write it (mode 0755).
[[nodiscard]] bool MakeExecutable(const std::string& path);
// The process's current folder; "" when it cannot be learnt (removed meanwhile).
std::string WorkingFolder();

// Last modification time as seconds since the epoch, -1 when missing.
int64_t LastWriteTime(const std::string& path);

// The full path of `path` with links and "." / ".." resolved (realpath); for a path that does
// not exist, the absolute form of the text as given.
std::string CanonicalPath(const std::string& path);

// Folder part with trailing "/" ("" when none) and the name behind the last "/".
std::string FolderOf(std::string_view path);
std::string NameOf(std::string_view path);

}  // namespace platform
