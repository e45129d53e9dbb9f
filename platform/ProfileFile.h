// Sectioned "key=value" settings files in the manner of the Windows private-profile
// functions. The file's bytes are Shift-JIS; section names, keys and values passed in and
// out are UTF-8. Section and key names compare without regard to ASCII case.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace platform {

// Keys and values of one section, in order.
using ProfileEntries = std::vector<std::pair<std::string, std::string>>;

enum ProfileWriteResult : int { ProfileWritten = 1, ProfileWriteFailed = 0 };

// A settings file larger than this is no settings file: reads look at its start only and
// writes refuse to replace it (they would lose the rest).
constexpr size_t kMaxProfileBytes = 4u << 20;

// The parsed text of one profile file.
class ProfileText {
public:
    ProfileText() = default;
    explicit ProfileText(std::string bytes);

    // The stored value, cut to capacity - 1 bytes of Shift-JIS (never inside a double-byte
    // character); `defaultText` as given when the section or key is missing, the key has no
    // "=", or its value is no valid Shift-JIS.
    std::string ReadText(std::string_view section, std::string_view key, std::string_view defaultText,
                         size_t capacity) const;
    // Reads the value as text (32-byte buffer, the default formatted as decimal) and takes its
    // leading decimal number; text that is no number gives 0. Saturates at the int32 range.
    int32_t ReadNumber(std::string_view section, std::string_view key, int32_t defaultNumber) const;
    // Profile-integer read: the default when the key is missing or empty, else the leading
    // decimal number (0 when none), saturated at the int32 range.
    int32_t ReadInt(std::string_view section, std::string_view key, int32_t defaultValue) const;
    bool HasKey(std::string_view section, std::string_view key) const;

    // Replaces everything under the first section of that name (later sections of the same
    // name are removed) with exactly `entries`, in order; appends the section when missing.
    // An empty list leaves the section header without keys. Fails, changing nothing, when a
    // name or value cannot be stored (line breaks, NUL, "=" in a key, a character that
    // Shift-JIS cannot hold); `error` then says why.
    [[nodiscard]] int ReplaceSection(std::string_view section, const ProfileEntries& entries,
                                     std::string* error = nullptr);

    const std::string& Bytes() const { return m_bytes; }

private:
    struct Value {
        size_t begin = 0;
        size_t end = 0;
        bool present = false;  // false: the line has no "="
    };
    void Parse();
    const Value* Find(std::string_view section, std::string_view key) const;

    std::string m_bytes;
    // Lower-cased "section\n key" → first value of that key in the first such section.
    std::unordered_map<std::string, Value> m_index;
};

// Loads the file (a missing file reads as empty). 0 when it exists but cannot be read or
// is larger than kMaxProfileBytes; `text` then holds what could be read.
[[nodiscard]] int LoadProfile(const std::string& path, ProfileText& text);
// The file as far as it can be read, for readers whose every key has a default.
ProfileText ReadableProfile(const std::string& path);

std::string ReadProfileText(const std::string& path, std::string_view section, std::string_view key,
                            std::string_view defaultText, size_t capacity);
int32_t ReadProfileNumber(const std::string& path, std::string_view section, std::string_view key,
                          int32_t defaultNumber);
int32_t ReadProfileInt(const std::string& path, std::string_view section, std::string_view key,
                       int32_t defaultValue);

// Replaces one section of the file as a whole. Two processes may save at the same moment:
// the file is locked (flock on path + ".lock") and read again inside the lock, so a
// section written by the other process is kept. The new file replaces the old through
// WriteFileReplacing.
[[nodiscard]] int WriteProfileSection(const std::string& path, std::string_view section,
                                      const ProfileEntries& entries, std::string* error = nullptr);

// As WriteProfileSection, with the entries computed inside the lock from the file as it is
// then (for saves that keep some of the values they read).
using ProfileEdit = std::function<ProfileEntries(const ProfileText& current)>;
[[nodiscard]] int UpdateProfileSection(const std::string& path, std::string_view section, const ProfileEdit& edit,
                                       std::string* error = nullptr);

}  // namespace platform
