// Packing bytes into one gzip member as they come (web archive records are one member each,
// so that a reader can start at any record).
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace platform {

class GzipMember {
public:
    GzipMember();
    ~GzipMember();
    GzipMember(const GzipMember&) = delete;
    GzipMember& operator=(const GzipMember&) = delete;

    // Appends what the packer gives for `bytes` to `out`; false when zlib fails.
    [[nodiscard]] bool Add(std::string_view bytes, std::string& out);
    // Ends the member (its trailer goes to `out`); the object is spent after it.
    [[nodiscard]] bool Finish(std::string& out);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace platform
