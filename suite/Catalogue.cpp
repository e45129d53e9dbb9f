#include "suite/Catalogue.h"

#include "platform/Codepage.h"
#include "platform/FileLock.h"
#include "platform/FileUtil.h"
#include "platform/UiText.h"

namespace suite {

namespace {

constexpr const char* kEmptyCatalogue = "<qdxsuite />";
constexpr const char* kQdxList = "last_open_qdx";
constexpr const char* kFileList = "saved_series_file";

// Another process holds the lock only while it reads, replays and writes the file.
constexpr uint32_t kLockWaitMs = 10000;

// Takes the lock on path + ".lock", waiting for another process to let go; false when it
// cannot be had.
bool LockCatalogue(platform::FileLock& lock, const std::string& path) {
    const int taken = lock.TakeWaiting(path + ".lock", kLockWaitMs);
    return taken == platform::FileLock::LockTaken || taken == platform::FileLock::LockLeftOver;
}

void MakeEmpty(xml::Document& doc) { (void)doc.Parse(kEmptyCatalogue); }

// A free name beside the damaged file: ".damaged", then ".damaged.1", ".damaged.2", ...
std::string AsideName(const std::string& path) {
    std::string aside = path + ".damaged";
    for (int n = 1; platform::FileExists(aside) && n < 1000; ++n) aside = path + ".damaged." + std::to_string(n);
    return aside;
}

std::string TextOf(const xml::Node* element) {
    const xml::Node* text = element ? element->TextChild() : nullptr;
    return text ? std::string(text->Value()) : std::string();
}

// The first child element named `name`, or null.
xml::Node* ChildNamed(const xml::Node* parent, std::string_view name) {
    for (xml::Node* c = parent ? parent->FirstChild() : nullptr; c; c = c->NextSibling())
        if (c->Kind() == xml::NodeElement && c->Name() == name) return c;
    return nullptr;
}

// The entries of a list: each `item` element with a `key` child, as its key's and `second`'s texts.
template <typename Entry>
std::vector<Entry> EntriesOf(const xml::Node* list, std::string_view item, std::string_view key,
                             std::string_view second) {
    std::vector<Entry> out;
    for (xml::Node* e = list ? list->FirstChild() : nullptr; e; e = e->NextSibling()) {
        if (e->Kind() != xml::NodeElement || e->Name() != item) continue;
        if (xml::Node* k = ChildNamed(e, key)) out.push_back({TextOf(k), TextOf(ChildNamed(e, second))});
    }
    return out;
}

// The list element under the top, created when missing (null when there is no top).
xml::Node* ListElement(xml::Document& doc, const char* name) {
    xml::Node* top = doc.Top();
    if (!top) return nullptr;
    if (xml::Node* list = ChildNamed(top, name)) return list;
    return doc.AppendChild(top, doc.CreateElement(name));
}

// Finds the key element (`localpath` or `remote`) whose text is `value`, by the catalogue's
// query; the match is checked, since a value may hold what the query syntax cannot.
xml::Node* FindKey(xml::Document& doc, const std::string& listPath, const std::string& value) {
    xml::Node* node = doc.Select(listPath + "[text()='" + QueryValue(value) + "']");
    if (node && TextOf(node) == value) return node;
    // Fall back to a plain walk for values the query cannot express.
    const size_t slash = listPath.find_last_of('/');
    const std::string key = listPath.substr(slash + 1);
    const std::string entryPath = listPath.substr(0, slash);
    const size_t entrySlash = entryPath.find_last_of('/');
    xml::Node* list = doc.Select(entryPath.substr(0, entrySlash));
    const std::string entryName = entryPath.substr(entrySlash + 1);
    for (xml::Node* e = list ? list->FirstChild() : nullptr; e; e = e->NextSibling()) {
        if (e->Kind() != xml::NodeElement || e->Name() != entryName) continue;
        xml::Node* k = ChildNamed(e, key);
        if (k && TextOf(k) == value) return k;
    }
    return nullptr;
}

constexpr const char* kQdxKeyPath = "/qdxsuite/last_open_qdx/qdx_info/localpath";
constexpr const char* kFileKeyPath = "/qdxsuite/saved_series_file/series_log/remote";

void AppendTextElement(xml::Document& doc, xml::Node* parent, const char* name, const std::string& text) {
    xml::Node* element = doc.AppendChild(parent, doc.CreateElement(name));
    (void)doc.AppendChild(element, doc.CreateText(text));
}

void SetElementText(xml::Document& doc, xml::Node* element, const std::string& text) {
    if (xml::Node* t = element->TextChild()) (void)doc.SetText(t, text);
    else (void)doc.AppendChild(element, doc.CreateText(text));
}

int CountOf(const std::string& text) {
    long n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        if (n < 1000000000) n = n * 10 + (c - '0');
    }
    return static_cast<int>(n);
}

bool Storable(const std::string& value, std::string* error) {
    std::string sjis;
    size_t bad = 0;
    if (value.empty()) {
        if (error) *error = platform::Tr("登録する値が空です。");
        return false;
    }
    if (platform::Utf8ToCp932(value, sjis, &bad) == platform::CodepageOk) return true;
    if (error)
        *error = platform::TrArgs("Shift-JIS で保存できない文字を含むため登録しません: %1",
                                  {platform::DescribeUnmappable(value, bad)});
    return false;
}

}  // namespace

std::string QueryValue(const std::string& value) {
    std::string out;
    for (char c : value) {
        if (c == '\'') out += "&apos;";
        else out += c;
    }
    return out;
}

int ReadCatalogueFile(const std::string& path, xml::Document& doc, std::string* message) {
    if (!platform::FileExists(path)) {
        MakeEmpty(doc);
        return LoadMissing;
    }
    std::string why;
    const int64_t size = platform::FileSize(path);
    bool ok = false;
    if (size < 0 || static_cast<uint64_t>(size) > kMaxCatalogueBytes) why = platform::Tr("ファイルが大きすぎます。");
    else if (doc.LoadFile(path, &why) == xml::XmlOk && doc.Top() && doc.Top()->Name() == "qdxsuite") ok = true;
    else if (why.empty()) why = platform::Tr("文書要素が qdxsuite ではありません。");
    if (ok) return LoadRead;
    MakeEmpty(doc);
    const std::string aside = AsideName(path);
    const bool kept = platform::RenameFile(path, aside);
    if (message) {
        *message = platform::TrArgs("カタログファイル %1 が壊れています（%2）。空のカタログで始めます。", {path, why});
        *message += "\n";
        *message += kept ? platform::TrArgs("壊れたファイルは %1 として残しました。", {aside})
                         : std::string(platform::Tr("壊れたファイルを退避できませんでした。"));
    }
    return LoadDamaged;
}

Catalogue::Catalogue(std::string path) : m_path(std::move(path)) {}

int Catalogue::LoadLocked(std::string* message) {
    if (!m_loaded) {
        // Without the lock the file is still read: every write replaces it whole by a rename,
        // so a reader never sees half of one. Only a write needs the lock.
        platform::FileLock lock;
        (void)LockCatalogue(lock, m_path);
        m_loadResult = ReadCatalogueFile(m_path, m_doc, &m_loadMessage);
        m_loaded = true;
    }
    if (message) *message = m_loadMessage;
    return m_loadResult;
}

int Catalogue::Load(std::string* message) {
    std::lock_guard g(m_lock);
    return LoadLocked(message);
}

void Catalogue::Apply(xml::Document& doc, const Change& change, int* result) {
    int r = RegisterDropped;
    switch (change.kind) {
        case Change::AddQdx: {
            if (xml::Node* key = FindKey(doc, kQdxKeyPath, change.first)) {
                xml::Node* info = key->Parent();
                xml::Node* times = ChildNamed(info, "opentimes");
                if (!times) times = doc.AppendChild(info, doc.CreateElement("opentimes"));
                const int count = CountOf(TextOf(times));
                SetElementText(doc, times, std::to_string((count > 0 ? count : 1) + 1));
                r = RegisterCounted;
            } else if (xml::Node* list = ListElement(doc, kQdxList)) {
                xml::Node* info = doc.AppendChild(list, doc.CreateElement("qdx_info"));
                AppendTextElement(doc, info, "localpath", change.first);
                AppendTextElement(doc, info, "opentimes", "1");
                r = RegisterAdded;
            }
            break;
        }
        case Change::AddFile: {
            if (FindKey(doc, kFileKeyPath, change.first)) {
                r = RegisterKnown;
            } else if (xml::Node* list = ListElement(doc, kFileList)) {
                xml::Node* log = doc.AppendChild(list, doc.CreateElement("series_log"));
                AppendTextElement(doc, log, "remote", change.first);
                AppendTextElement(doc, log, "local", change.second);
                r = RegisterAdded;
            }
            break;
        }
        case Change::DropQdx:
        case Change::DropFile: {
            const bool qdx = change.kind == Change::DropQdx;
            if (xml::Node* key = FindKey(doc, qdx ? kQdxKeyPath : kFileKeyPath, change.first)) {
                doc.Remove(key->Parent());
                r = 1;
            }
            break;
        }
    }
    if (result) *result = r;
}

int Catalogue::RegisterQdx(const std::string& qdxPath, std::string* error) {
    if (!Storable(qdxPath, error)) return RegisterDropped;
    std::lock_guard g(m_lock);
    (void)LoadLocked(nullptr);
    Change change{Change::AddQdx, qdxPath, {}};
    int result = RegisterDropped;
    Apply(m_doc, change, &result);
    if (result != RegisterDropped) m_journal.push_back(std::move(change));
    return result;
}

int Catalogue::RegisterFile(const std::string& remote, const std::string& local, std::string* error) {
    if (!Storable(remote, error) || !Storable(local, error)) return RegisterDropped;
    std::lock_guard g(m_lock);
    (void)LoadLocked(nullptr);
    Change change{Change::AddFile, remote, local};
    int result = RegisterDropped;
    Apply(m_doc, change, &result);
    if (result == RegisterAdded) m_journal.push_back(std::move(change));
    return result;
}

std::vector<QdxEntry> Catalogue::QdxEntries() {
    std::lock_guard g(m_lock);
    (void)LoadLocked(nullptr);
    return EntriesOf<QdxEntry>(ChildNamed(m_doc.Top(), kQdxList), "qdx_info", "localpath", "opentimes");
}

std::vector<FileEntry> Catalogue::FileEntries() {
    std::lock_guard g(m_lock);
    (void)LoadLocked(nullptr);
    return EntriesOf<FileEntry>(ChildNamed(m_doc.Top(), kFileList), "series_log", "remote", "local");
}

int Catalogue::OpenTimes(const std::string& qdxPath) {
    std::lock_guard g(m_lock);
    (void)LoadLocked(nullptr);
    xml::Node* key = FindKey(m_doc, kQdxKeyPath, qdxPath);
    if (!key) return 0;
    const int count = CountOf(TextOf(ChildNamed(key->Parent(), "opentimes")));
    return count > 0 ? count : 1;
}

bool Catalogue::HasFile(const std::string& remote) {
    std::lock_guard g(m_lock);
    (void)LoadLocked(nullptr);
    return FindKey(m_doc, kFileKeyPath, remote) != nullptr;
}

int Catalogue::RemoveQdx(const std::vector<std::string>& paths) {
    std::lock_guard g(m_lock);
    int removed = 0;
    for (const std::string& p : paths) {
        Change change{Change::DropQdx, p, {}};
        int result = 0;
        Apply(m_doc, change, &result);
        if (result) {
            ++removed;
            m_journal.push_back(std::move(change));
        }
    }
    return removed;
}

int Catalogue::RemoveFiles(const std::vector<std::string>& remotes) {
    std::lock_guard g(m_lock);
    int removed = 0;
    for (const std::string& r : remotes) {
        Change change{Change::DropFile, r, {}};
        int result = 0;
        Apply(m_doc, change, &result);
        if (result) {
            ++removed;
            m_journal.push_back(std::move(change));
        }
    }
    return removed;
}

bool Catalogue::Changed() {
    std::lock_guard g(m_lock);
    return !m_journal.empty();
}

int Catalogue::Commit(std::string* error) {
    std::lock_guard g(m_lock);
    if (m_journal.empty()) return 1;
    platform::FileLock lock;
    // Unlocked, the replay could lose another process's entries written meanwhile.
    if (!LockCatalogue(lock, m_path)) {
        if (error) *error = platform::TrArgs("カタログファイル %1 をロックできません（%2）。", {m_path, m_path + ".lock"});
        return 0;
    }
    xml::Document fresh;
    std::string message;
    (void)ReadCatalogueFile(m_path, fresh, &message);
    for (const Change& change : m_journal) Apply(fresh, change, nullptr);
    if (fresh.SaveFile(m_path, error) != xml::XmlOk) return 0;
    m_journal.clear();
    (void)m_doc.Parse(fresh.ToText());
    return 1;
}

}  // namespace suite
