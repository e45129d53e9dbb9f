#include "records/HistoryIndex.h"

#include <sqlite3.h>

#include "platform/FileUtil.h"

namespace records {

namespace {

constexpr int kSchemaVersion = 1;
// Writes gathered in one transaction before it is committed.
constexpr int kWritesPerCommit = 256;
constexpr int kBusyWaitMs = 5000;

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS files ("
    " url TEXT PRIMARY KEY, path TEXT NOT NULL, page INTEGER NOT NULL, status TEXT NOT NULL,"
    " etag TEXT NOT NULL DEFAULT '', last_modified TEXT NOT NULL DEFAULT '', size INTEGER NOT NULL DEFAULT -1,"
    " hash TEXT NOT NULL DEFAULT '', first_seen INTEGER NOT NULL, last_seen INTEGER NOT NULL,"
    " last_run INTEGER NOT NULL);"
    "CREATE INDEX IF NOT EXISTS files_by_run ON files(last_run, status);"
    "CREATE TABLE IF NOT EXISTS runs ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT, kind TEXT NOT NULL, started INTEGER NOT NULL,"
    " ended INTEGER NOT NULL DEFAULT 0, new_count INTEGER NOT NULL DEFAULT 0,"
    " changed_count INTEGER NOT NULL DEFAULT 0, unchanged_count INTEGER NOT NULL DEFAULT 0,"
    " gone_count INTEGER NOT NULL DEFAULT 0, failed_count INTEGER NOT NULL DEFAULT 0,"
    " result INTEGER NOT NULL DEFAULT 0, versions TEXT NOT NULL DEFAULT '');";

constexpr const char* kEntryColumns =
    "url, path, page, status, etag, last_modified, size, hash, first_seen, last_seen, last_run";

constexpr const char* kStatusOrder[5] = {history::kNew, history::kChanged, history::kUnchanged, history::kGone,
                                         history::kFailed};

// One prepared statement, finalized when it goes.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) {
        if (db && sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK) m_stmt = nullptr;
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool Ok() const { return m_stmt != nullptr; }
    void Bind(int i, const std::string& text) {
        if (m_stmt) sqlite3_bind_text(m_stmt, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
    void Bind(int i, int64_t value) {
        if (m_stmt) sqlite3_bind_int64(m_stmt, i, value);
    }
    // True while a row is there.
    bool Step() { return m_stmt && sqlite3_step(m_stmt) == SQLITE_ROW; }
    bool Run() {
        if (!m_stmt) return false;
        const int rc = sqlite3_step(m_stmt);
        return rc == SQLITE_DONE || rc == SQLITE_ROW;
    }
    std::string Text(int i) const {
        const unsigned char* text = sqlite3_column_text(m_stmt, i);
        return text ? std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(sqlite3_column_bytes(m_stmt, i)))
                    : std::string();
    }
    int64_t Int(int i) const { return sqlite3_column_int64(m_stmt, i); }
    // Ready to run again with new values.
    void Reset() {
        if (!m_stmt) return;
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }

private:
    sqlite3_stmt* m_stmt = nullptr;
};

HistoryEntry EntryOf(const Statement& s) {
    HistoryEntry e;
    e.url = s.Text(0);
    e.path = s.Text(1);
    e.page = s.Int(2) != 0;
    e.status = s.Text(3);
    e.etag = s.Text(4);
    e.lastModified = s.Text(5);
    e.size = s.Int(6);
    e.hash = s.Text(7);
    e.firstSeen = s.Int(8);
    e.lastSeen = s.Int(9);
    e.lastRun = s.Int(10);
    return e;
}

HistoryRun RunOf(const Statement& s) {
    HistoryRun r;
    r.id = s.Int(0);
    r.kind = s.Text(1);
    r.started = s.Int(2);
    r.ended = s.Int(3);
    for (int i = 0; i < 5; ++i) r.counts[i] = s.Int(4 + i);
    r.result = static_cast<int>(s.Int(9));
    r.versions = s.Text(10);
    return r;
}

constexpr const char* kRunColumns =
    "id, kind, started, ended, new_count, changed_count, unchanged_count, gone_count, failed_count, result, versions";

bool Exec(sqlite3* db, const char* sql) { return db && sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

void RemoveIndexFiles(const std::string& path) {
    for (const char* tail : {"", "-wal", "-shm", "-journal"}) platform::DiscardTemporary(path + tail);
}

}  // namespace

struct HistoryIndex::Impl {
    sqlite3* db = nullptr;
    int pendingWrites = 0;
    bool inTransaction = false;
    // The two statements every page and file of a save runs, prepared once.
    std::unique_ptr<Statement> find, put;

    ~Impl() { CloseDb(); }

    Statement& Find() {
        if (!find) find = std::make_unique<Statement>(db, (std::string("SELECT ") + kEntryColumns + " FROM files WHERE url = ?").c_str());
        return *find;
    }
    Statement& Put() {
        if (!put)
            put = std::make_unique<Statement>(db, (std::string("INSERT OR REPLACE INTO files(") + kEntryColumns +
                                                   ") VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                                                      .c_str());
        return *put;
    }

    void CloseDb() {
        find.reset();
        put.reset();
        if (!db) return;
        if (inTransaction) (void)Exec(db, "COMMIT");
        inTransaction = false;
        sqlite3_close_v2(db);
        db = nullptr;
    }

    void Wrote() {
        if (++pendingWrites >= kWritesPerCommit) Commit();
    }
    void Begin() {
        if (!inTransaction) inTransaction = Exec(db, "BEGIN IMMEDIATE");
    }
    void Commit() {
        if (inTransaction) (void)Exec(db, "COMMIT");
        inTransaction = false;
        pendingWrites = 0;
    }

    // Opens the file and checks that it is an index of ours. False leaves no handle.
    bool OpenAndCheck(const std::string& path, std::string* error) {
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                            nullptr) != SQLITE_OK) {
            if (error && db) *error = sqlite3_errmsg(db);
            CloseDb();
            return false;
        }
        sqlite3_busy_timeout(db, kBusyWaitMs);
        bool sound = false;
        {
            Statement check(db, "PRAGMA quick_check");
            sound = check.Step() && check.Text(0) == "ok";
        }
        int version = 0;
        if (sound) {
            Statement v(db, "PRAGMA user_version");
            if (v.Step()) version = static_cast<int>(v.Int(0));
            sound = version == 0 || version == kSchemaVersion;
        }
        // Each save writes as it goes; a kill loses at most the last uncommitted group.
        sound = sound && Exec(db, "PRAGMA journal_mode=WAL") && Exec(db, "PRAGMA synchronous=NORMAL") &&
                Exec(db, kSchema) && Exec(db, "PRAGMA user_version=1");
        if (!sound) {
            if (error) *error = sqlite3_errmsg(db);
            CloseDb();
        }
        return sound;
    }
};

HistoryIndex::HistoryIndex() = default;
HistoryIndex::~HistoryIndex() { Close(); }

int HistoryIndex::Open(const std::string& path, std::string* error) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_impl = std::make_unique<Impl>();
    const bool existed = platform::IsRegularFile(path);
    if (m_impl->OpenAndCheck(path, error)) return existed ? OpenedExisting : OpenedNew;
    // A cache that cannot be read is made anew rather than mended: the copy is what counts.
    RemoveIndexFiles(path);
    if (m_impl->OpenAndCheck(path, error)) return existed ? OpenedRebuilt : OpenedNew;
    m_impl.reset();
    return OpenFailed;
}

bool HistoryIndex::OpenReadOnly(const std::string& path) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_impl.reset();
    if (!platform::IsRegularFile(path)) return false;
    auto impl = std::make_unique<Impl>();
    if (sqlite3_open_v2(path.c_str(), &impl->db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK)
        return false;
    sqlite3_busy_timeout(impl->db, kBusyWaitMs);
    // A file of another kind, or of a newer layout, reads as no index.
    Statement version(impl->db, "PRAGMA user_version");
    if (!version.Step() || version.Int(0) != kSchemaVersion) return false;
    Statement runs(impl->db, "SELECT COUNT(*) FROM runs");
    if (!runs.Step()) return false;
    m_impl = std::move(impl);
    return true;
}

bool HistoryIndex::IsOpen() const { return m_impl && m_impl->db; }

void HistoryIndex::Close() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_impl.reset();
}

void HistoryIndex::Flush() {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_impl && m_impl->db) m_impl->Commit();
}

int64_t HistoryIndex::BeginRun(const std::string& kind, int64_t now) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_impl || !m_impl->db) return 0;
    m_impl->Commit();
    Statement s(m_impl->db, "INSERT INTO runs(kind, started) VALUES(?, ?)");
    s.Bind(1, kind);
    s.Bind(2, now);
    return s.Run() ? sqlite3_last_insert_rowid(m_impl->db) : 0;
}

void HistoryIndex::EndRun(int64_t run, int64_t now, int result, const std::string& versions) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_impl || !m_impl->db || run <= 0) return;
    m_impl->Commit();
    int64_t counts[5] = {};
    {
        Statement s(m_impl->db, "SELECT status, COUNT(*) FROM files WHERE last_run = ? GROUP BY status");
        s.Bind(1, run);
        while (s.Step())
            for (int i = 0; i < 5; ++i)
                if (s.Text(0) == kStatusOrder[i]) counts[i] = s.Int(1);
    }
    Statement s(m_impl->db,
                "UPDATE runs SET ended = ?, new_count = ?, changed_count = ?, unchanged_count = ?, gone_count = ?,"
                " failed_count = ?, result = ?, versions = ? WHERE id = ?");
    s.Bind(1, now);
    for (int i = 0; i < 5; ++i) s.Bind(2 + i, counts[i]);
    s.Bind(7, static_cast<int64_t>(result));
    s.Bind(8, versions);
    s.Bind(9, run);
    (void)s.Run();
}

bool HistoryIndex::LastRun(HistoryRun& out) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_impl || !m_impl->db) return false;
    Statement s(m_impl->db, (std::string("SELECT ") + kRunColumns + " FROM runs ORDER BY id DESC LIMIT 1").c_str());
    if (!s.Step()) return false;
    out = RunOf(s);
    return true;
}

std::vector<HistoryRun> HistoryIndex::Runs() {
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<HistoryRun> runs;
    if (!m_impl || !m_impl->db) return runs;
    Statement s(m_impl->db, (std::string("SELECT ") + kRunColumns + " FROM runs ORDER BY id").c_str());
    while (s.Step()) runs.push_back(RunOf(s));
    return runs;
}

void HistoryIndex::PruneRuns(int64_t keep) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_impl || !m_impl->db) return;
    m_impl->Commit();
    Statement s(m_impl->db, "DELETE FROM runs WHERE id NOT IN (SELECT id FROM runs ORDER BY id DESC LIMIT ?)");
    s.Bind(1, keep);
    (void)s.Run();
}

bool HistoryIndex::Find(const std::string& url, HistoryEntry& out) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_impl || !m_impl->db) return false;
    Statement& s = m_impl->Find();
    s.Bind(1, url);
    const bool found = s.Step();
    if (found) out = EntryOf(s);
    s.Reset();
    return found;
}

void HistoryIndex::Put(const HistoryEntry& e) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_impl || !m_impl->db) return;
    m_impl->Begin();
    Statement& s = m_impl->Put();
    s.Bind(1, e.url);
    s.Bind(2, e.path);
    s.Bind(3, static_cast<int64_t>(e.page ? 1 : 0));
    s.Bind(4, e.status);
    s.Bind(5, e.etag);
    s.Bind(6, e.lastModified);
    s.Bind(7, e.size);
    s.Bind(8, e.hash);
    s.Bind(9, e.firstSeen);
    s.Bind(10, e.lastSeen);
    s.Bind(11, e.lastRun);
    const bool written = s.Run();
    s.Reset();
    if (written) m_impl->Wrote();
}

std::vector<HistoryEntry> HistoryIndex::Files() {
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<HistoryEntry> entries;
    if (!m_impl || !m_impl->db) return entries;
    Statement s(m_impl->db, (std::string("SELECT ") + kEntryColumns + " FROM files WHERE page = 0 ORDER BY url").c_str());
    while (s.Step()) entries.push_back(EntryOf(s));
    return entries;
}

std::vector<HistoryEntry> HistoryIndex::EntriesOfRun(int64_t run) {
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<HistoryEntry> entries;
    if (!m_impl || !m_impl->db) return entries;
    Statement s(m_impl->db,
                (std::string("SELECT ") + kEntryColumns + " FROM files WHERE last_run = ? ORDER BY url").c_str());
    s.Bind(1, run);
    while (s.Step()) entries.push_back(EntryOf(s));
    return entries;
}

}  // namespace records
