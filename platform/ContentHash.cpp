// OpenSSL's digest interface; this file is the only one that knows it.
#include "platform/ContentHash.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <unistd.h>

#include <memory>

#include "platform/FileUtil.h"

namespace platform {

namespace {

struct DigestFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
using Digest = std::unique_ptr<EVP_MD_CTX, DigestFree>;

Digest StartDigest() {
    Digest context(EVP_MD_CTX_new());
    if (context && EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) context.reset();
    return context;
}

std::string FinishDigest(EVP_MD_CTX* context) {
    unsigned char sum[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context, sum, &length) != 1) return {};
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    text.reserve(length * 2);
    for (unsigned int i = 0; i < length; ++i) {
        text += kHex[sum[i] >> 4];
        text += kHex[sum[i] & 15];
    }
    return text;
}

}  // namespace

struct ContentHasher::State {
    Digest context = StartDigest();
};

ContentHasher::ContentHasher() : m_state(std::make_unique<State>()) {}
ContentHasher::~ContentHasher() = default;

bool ContentHasher::Add(std::string_view piece) {
    if (m_state->context && EVP_DigestUpdate(m_state->context.get(), piece.data(), piece.size()) != 1)
        m_state->context.reset();
    return m_state->context != nullptr;
}

std::string ContentHasher::Finish() {
    if (!m_state->context) return {};
    std::string text = FinishDigest(m_state->context.get());
    m_state->context.reset();
    return text;
}

std::string ContentHash(std::string_view bytes) {
    Digest context = StartDigest();
    if (!context || EVP_DigestUpdate(context.get(), bytes.data(), bytes.size()) != 1) return {};
    return FinishDigest(context.get());
}

std::string FileContentHash(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    Digest context = StartDigest();
    const bool ok = context && ReadInPieces(fd, [&context](std::string_view piece) {
        return EVP_DigestUpdate(context.get(), piece.data(), piece.size()) == 1;
    });
    ::close(fd);
    return ok ? FinishDigest(context.get()) : std::string();
}

}  // namespace platform
