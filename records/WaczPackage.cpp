#include "records/WaczPackage.h"

#include <zip.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/ByteString.h"

namespace records {

namespace {

// The package's WARC entries as one run of bytes. A zip entry is read forwards only (a stored
// one could seek, a compressed one cannot), so a read behind the current place opens the entry
// again; the index is built in one forward pass, and payloads are read one at a time.
class WaczBytes : public WarcBytes {
public:
    ~WaczBytes() override {
        CloseEntry();
        if (m_zip) zip_discard(m_zip);
    }

    bool Open(const std::string& path, std::string* why) {
        int error = 0;
        m_zip = zip_open(path.c_str(), ZIP_RDONLY, &error);
        if (!m_zip) {
            zip_error_t z;
            zip_error_init_with_code(&z, error);
            if (why) *why = std::string("not a readable WACZ package: ") + zip_error_strerror(&z);
            zip_error_fini(&z);
            return false;
        }
        const zip_int64_t count = zip_get_num_entries(m_zip, 0);
        for (zip_int64_t i = 0; i < count; ++i) {
            zip_stat_t st;
            if (zip_stat_index(m_zip, static_cast<zip_uint64_t>(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE)) continue;
            const std::string name = st.name ? st.name : "";
            if (!platform::StartsWithI(name, "archive/") ||
                !(platform::EndsWithI(name, ".warc") || platform::EndsWithI(name, ".warc.gz")))
                continue;
            m_entries.push_back({static_cast<zip_uint64_t>(i), m_size, st.size});
            m_size += st.size;
        }
        if (m_entries.empty()) {
            if (why) *why = "no WARC file under archive/ in the package";
            return false;
        }
        return true;
    }

    uint64_t Size() const override { return m_size; }

    size_t ReadAt(uint64_t offset, char* buffer, size_t length) const override {
        std::lock_guard<std::mutex> guard(m_lock);
        size_t done = 0;
        while (done < length && offset + done < m_size) {
            const uint64_t at = offset + done;
            const auto entry = std::find_if(m_entries.begin(), m_entries.end(),
                                            [&](const Entry& e) { return at >= e.start && at < e.start + e.size; });
            if (entry == m_entries.end()) break;
            if (!Position(*entry, at - entry->start)) break;
            const size_t want = static_cast<size_t>(std::min<uint64_t>(length - done, entry->start + entry->size - at));
            const zip_int64_t n = zip_fread(m_file, buffer + done, want);
            if (n <= 0) {
                CloseEntry();
                break;
            }
            m_filePos += static_cast<uint64_t>(n);
            done += static_cast<size_t>(n);
        }
        return done;
    }

private:
    struct Entry {
        zip_uint64_t index;
        uint64_t start, size;
    };

    bool Position(const Entry& entry, uint64_t inside) const {
        if (m_file && m_fileIndex == entry.index && m_filePos == inside) return true;
        if (m_file && m_fileIndex == entry.index && zip_fseek(m_file, static_cast<zip_int64_t>(inside), SEEK_SET) == 0) {
            m_filePos = inside;
            return true;
        }
        if (!m_file || m_fileIndex != entry.index || m_filePos > inside) {
            CloseEntry();
            m_file = zip_fopen_index(m_zip, entry.index, 0);
            if (!m_file) return false;
            m_fileIndex = entry.index;
            m_filePos = 0;
        }
        char skip[64 * 1024];
        while (m_filePos < inside) {
            const zip_int64_t n = zip_fread(m_file, skip, static_cast<zip_uint64_t>(std::min<uint64_t>(sizeof skip, inside - m_filePos)));
            if (n <= 0) return false;
            m_filePos += static_cast<uint64_t>(n);
        }
        return true;
    }

    void CloseEntry() const {
        if (m_file) zip_fclose(m_file);
        m_file = nullptr;
    }

    zip_t* m_zip = nullptr;
    std::vector<Entry> m_entries;
    uint64_t m_size = 0;
    mutable std::mutex m_lock;
    mutable zip_file_t* m_file = nullptr;
    mutable zip_uint64_t m_fileIndex = 0;
    mutable uint64_t m_filePos = 0;
};

}  // namespace

std::shared_ptr<WarcBytes> WaczWarcBytes(const std::string& path, std::string* why) {
    auto bytes = std::make_shared<WaczBytes>();
    if (!bytes->Open(path, why)) return nullptr;
    return bytes;
}

}  // namespace records
