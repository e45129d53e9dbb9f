// The catalogue "QdxSuite.xml": the .qdx records that were written or opened (with a count)
// and the single or serial files saved from the web. One holder per process keeps the
// loaded document behind one lock; every change is also kept in a journal, so writing the
// file replays the changes onto the file as it is on disk at that moment (under a file lock).
// Two processes that register at the same moment therefore keep each other's entries.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "xml/XmlDocument.h"

namespace suite {

constexpr const char* kCatalogueFileName = "QdxSuite.xml";
// Larger files are no catalogue of ours and are set aside like a damaged one.
constexpr size_t kMaxCatalogueBytes = 64u << 20;

struct QdxEntry {
    std::string localPath;
    std::string openTimes;  // as stored ("" when the element is missing)
};

struct FileEntry {
    std::string remote;
    std::string local;
};

enum RegisterResult : int { RegisterDropped = 0, RegisterAdded = 1, RegisterCounted = 2, RegisterKnown = 3 };
enum LoadResult : int { LoadDamaged = 0, LoadRead = 1, LoadMissing = 2 };

class Catalogue {
public:
    explicit Catalogue(std::string path);
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    const std::string& Path() const { return m_path; }

    // Loads the file once (later calls return the first result). A damaged or foreign file
    // gives an empty catalogue, is renamed aside (its new name goes into `message`) and is
    // never written over.
    int Load(std::string* message = nullptr);

    // "QDX": an existing entry counts one more, a new one starts at "1". A path that the
    // file's Shift-JIS cannot hold is dropped (`error` says why).
    int RegisterQdx(const std::string& qdxPath, std::string* error = nullptr);
    // "FILE": a new URL is appended; a known URL keeps its first local path.
    int RegisterFile(const std::string& remote, const std::string& local, std::string* error = nullptr);

    std::vector<QdxEntry> QdxEntries();
    std::vector<FileEntry> FileEntries();
    // The stored count of a .qdx entry; 0 when the path is not catalogued.
    int OpenTimes(const std::string& qdxPath);
    bool HasFile(const std::string& remote);

    // Removal of entries whose files have gone. Returns how many were removed.
    int RemoveQdx(const std::vector<std::string>& paths);
    int RemoveFiles(const std::vector<std::string>& remotes);

    bool Changed();
    // Writes the changes made through this holder into the file: under the file lock the file
    // is read again, the journal replayed onto it and the result put in place by rename.
    // 1 written (or nothing to write), 0 failed (`error` says why; the journal is kept).
    [[nodiscard]] int Commit(std::string* error = nullptr);

private:
    struct Change {
        enum Kind { AddQdx, AddFile, DropQdx, DropFile } kind;
        std::string first;
        std::string second;
    };
    static void Apply(xml::Document& doc, const Change& change, int* result);
    int LoadLocked(std::string* message);

    std::mutex m_lock;
    std::string m_path;
    xml::Document m_doc;
    bool m_loaded = false;
    int m_loadResult = LoadMissing;
    std::string m_loadMessage;
    std::vector<Change> m_journal;
};

// Reads a catalogue file into `doc`: LoadRead, LoadMissing (doc holds an empty catalogue)
// or LoadDamaged (doc holds an empty catalogue; the file was renamed aside, see `message`).
int ReadCatalogueFile(const std::string& path, xml::Document& doc, std::string* message);

// The query text of a value: every apostrophe written as "&apos;".
std::string QueryValue(const std::string& value);

}  // namespace suite
