// libzip's interface; this file is the only one that knows it.
#include "platform/ZipWriter.h"

#include <zip.h>

#include <cstdlib>
#include <cstring>

namespace platform {

namespace {
zip_t* Zip(void* handle) { return static_cast<zip_t*>(handle); }
}  // namespace

ZipWriter::~ZipWriter() {
    if (m_zip) zip_discard(Zip(m_zip));
}

bool ZipWriter::Fail() {
    if (m_zip && m_error.empty()) m_error = zip_strerror(Zip(m_zip));
    return false;
}

bool ZipWriter::Open(const std::string& path) {
    int error = 0;
    m_zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (m_zip) return true;
    zip_error_t detail;
    zip_error_init_with_code(&detail, error);
    m_error = zip_error_strerror(&detail);
    zip_error_fini(&detail);
    return false;
}

bool ZipWriter::AddBytes(const std::string& name, std::string_view bytes) {
    if (!m_zip) return false;
    // libzip reads the bytes when the zip is written, so it gets a copy of its own to free.
    void* copy = std::malloc(bytes.empty() ? 1 : bytes.size());
    if (!copy) return false;
    if (!bytes.empty()) std::memcpy(copy, bytes.data(), bytes.size());
    zip_source_t* source = zip_source_buffer(Zip(m_zip), copy, bytes.size(), 1);
    if (!source) {
        std::free(copy);
        return Fail();
    }
    if (zip_file_add(Zip(m_zip), name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) < 0) {
        zip_source_free(source);
        return Fail();
    }
    return true;
}

bool ZipWriter::AddFileStored(const std::string& name, const std::string& path) {
    if (!m_zip) return false;
    zip_source_t* source = zip_source_file(Zip(m_zip), path.c_str(), 0, -1);
    if (!source) return Fail();
    const zip_int64_t index = zip_file_add(Zip(m_zip), name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
    if (index < 0) {
        zip_source_free(source);
        return Fail();
    }
    if (zip_set_file_compression(Zip(m_zip), static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0) != 0) return Fail();
    return true;
}

bool ZipWriter::Commit() {
    if (!m_zip) return false;
    if (zip_close(Zip(m_zip)) != 0) {
        Fail();
        zip_discard(Zip(m_zip));
        m_zip = nullptr;
        return false;
    }
    m_zip = nullptr;
    return true;
}

}  // namespace platform
