// OpenSSL's digest interface, for digests taken piece by piece.
#include "platform/StreamDigest.h"

#include <openssl/evp.h>

namespace platform {

struct StreamDigest::State {
    EVP_MD_CTX* context = nullptr;
    bool failed = false;
};

StreamDigest::StreamDigest(Kind kind) : m_state(std::make_unique<State>()) {
    m_state->context = EVP_MD_CTX_new();
    const EVP_MD* md = kind == Kind::Sha1 ? EVP_sha1() : EVP_sha256();
    m_state->failed = !m_state->context || EVP_DigestInit_ex(m_state->context, md, nullptr) != 1;
}

StreamDigest::~StreamDigest() {
    if (m_state->context) EVP_MD_CTX_free(m_state->context);
}

void StreamDigest::Add(std::string_view bytes) {
    if (m_state->failed || bytes.empty()) return;
    if (EVP_DigestUpdate(m_state->context, bytes.data(), bytes.size()) != 1) m_state->failed = true;
}

std::string StreamDigest::Finish() {
    if (m_state->failed) return {};
    unsigned char sum[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    m_state->failed = true;
    if (EVP_DigestFinal_ex(m_state->context, sum, &length) != 1) return {};
    return std::string(reinterpret_cast<const char*>(sum), length);
}

}  // namespace platform
