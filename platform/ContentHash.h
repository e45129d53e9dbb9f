// The fingerprint of a file's contents, by which an update tells a changed file from an
// unchanged one whatever their sizes: SHA-256, written as 64 lower-case hex digits.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace platform {

// ContentHash of bytes that come in pieces.
class ContentHasher {
public:
    ContentHasher();
    ~ContentHasher();
    ContentHasher(const ContentHasher&) = delete;
    ContentHasher& operator=(const ContentHasher&) = delete;

    // False once the digest has failed; Finish then gives "".
    bool Add(std::string_view piece);
    std::string Finish();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

std::string ContentHash(std::string_view bytes);
// "" when the file cannot be read whole.
std::string FileContentHash(const std::string& path);

}  // namespace platform
