// A digest taken over bytes that come in pieces (SHA-1 or SHA-256), as raw bytes.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace platform {

class StreamDigest {
public:
    enum class Kind { Sha1, Sha256 };
    explicit StreamDigest(Kind kind = Kind::Sha1);
    ~StreamDigest();
    StreamDigest(const StreamDigest&) = delete;
    StreamDigest& operator=(const StreamDigest&) = delete;

    void Add(std::string_view bytes);
    // The raw digest ("" when the digest could not be taken); the object is spent after it.
    std::string Finish();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace platform
