#include "platform/ProfileFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/ByteString.h"
#include "platform/Clock.h"
#include "platform/Codepage.h"
#include "platform/FileUtil.h"
#include "platform/UiText.h"

namespace platform {

namespace {

// A writer that holds the lock longer than this is stuck; the save is then reported as failed.
constexpr uint32_t kLockWaitMs = 10000;
constexpr uint32_t kLockPollMs = 2;

struct Line {
    size_t begin = 0;
    size_t end = 0;   // content end, before CR LF
    size_t next = 0;  // start of the next line
};

std::vector<Line> SplitLines(std::string_view bytes) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t lf = bytes.find('\n', pos);
        Line line;
        line.begin = pos;
        line.next = lf == std::string_view::npos ? bytes.size() : lf + 1;
        line.end = lf == std::string_view::npos ? bytes.size() : lf;
        if (line.end > line.begin && bytes[line.end - 1] == '\r') --line.end;
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void Trim(std::string_view bytes, size_t& begin, size_t& end) {
    while (begin < end && IsBlank(bytes[begin])) ++begin;
    while (end > begin && IsBlank(bytes[end - 1])) --end;
}

// Names compare as UTF-8 with ASCII case folded, so a trail byte of a double-byte character
// is never folded. A name that is no valid Shift-JIS matches nothing ("" is returned).
std::string NameKey(std::string_view sjisName) {
    if (IsAscii(sjisName)) return AsciiLowerCopy(sjisName);
    std::string utf8;
    if (Cp932ToUtf8(sjisName, utf8) != CodepageOk) return std::string();
    return AsciiLowerCopy(utf8);
}

// The lower-cased name when `line` is a section header "[name]".
bool SectionHeader(std::string_view bytes, const Line& line, std::string& key) {
    size_t p = line.begin;
    while (p < line.end && IsBlank(bytes[p])) ++p;
    if (p >= line.end || bytes[p] != '[') return false;
    const size_t close = bytes.substr(0, line.end).find(']', p + 1);
    if (close == std::string_view::npos) return false;
    size_t b = p + 1, e = close;
    Trim(bytes, b, e);
    key = NameKey(bytes.substr(b, e - b));
    return true;
}

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// At most `limit` bytes of `sjis`, never ending inside a double-byte character.
std::string_view CutSjis(std::string_view sjis, size_t limit) {
    if (sjis.size() <= limit) return sjis;
    size_t i = 0;
    while (i < limit) {
        size_t len = IsLeadByte(static_cast<unsigned char>(sjis[i])) ? 2 : 1;
        if (i + len > limit) break;
        i += len;
    }
    return sjis.substr(0, i);
}

int32_t SaturateInt32(long long v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// UTF-8 → CP932 that must read back unchanged: code page 932 folds a few characters onto
// others (a yen sign becomes "\"), which would silently change a stored path.
int EncodeExact(std::string_view utf8, std::string& out, std::string* error) {
    size_t bad = 0;
    if (Utf8ToCp932(utf8, out, &bad) != CodepageOk) {
        if (error) *error = TrArgs("設定ファイルに書けない文字があります: %1", {DescribeUnmappable(utf8, bad)});
        return 0;
    }
    std::string back;
    if (Cp932ToUtf8(out, back) == CodepageOk && back == utf8) return 1;
    size_t i = 0;
    while (i < utf8.size() && i < back.size() && utf8[i] == back[i]) ++i;
    while (i > 0 && i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) --i;
    if (error) *error = TrArgs("設定ファイルに書けない文字があります: %1", {DescribeUnmappable(utf8, i)});
    return 0;
}

// Ends an unfinished last line, so the text appended next starts a line of its own (a lone
// CR becomes CR LF: another CR would stay in the line's value).
void EndLine(std::string& text) {
    if (text.empty() || text.back() == '\n') return;
    text += text.back() == '\r' ? "\n" : "\r\n";
}

bool HasAny(std::string_view text, std::string_view chars) { return text.find_first_of(chars) != npos; }

int Refuse(std::string* error, const std::string& text) {
    if (error) *error = text;
    return ProfileWriteFailed;
}

// "key=value\r\n" lines of the new section. A value that reading would change (blanks at
// either end, or a pair of enclosing quotes) is stored in double quotes.
int EncodeBody(const ProfileEntries& entries, std::string& body, std::string* error) {
    using namespace std::string_view_literals;
    for (const auto& [key, value] : entries) {
        if (key.empty() || HasAny(key, "=\r\n\0"sv) || IsBlank(key.front()) || IsBlank(key.back()) ||
            key.front() == '[' || key.front() == ';')
            return Refuse(error, TrArgs("設定ファイルに書けないキー名です: %1", {key}));
        if (HasAny(value, "\r\n\0"sv))
            return Refuse(error, TrArgs("設定ファイルに改行を含む値は書けません: %1", {key}));
        std::string k, v;
        if (!EncodeExact(key, k, error) || !EncodeExact(value, v, error)) return ProfileWriteFailed;
        const bool quote = !v.empty() && (IsBlank(v.front()) || IsBlank(v.back()) ||
                                          (v.size() >= 2 && v.front() == v.back() && (v.front() == '"' || v.front() == '\'')));
        body += k + "=" + (quote ? "\"" + v + "\"" : v) + "\r\n";
    }
    return ProfileWritten;
}

class LockFile {
public:
    ~LockFile() {
        if (m_fd >= 0) ::close(m_fd);  // closing releases the lock
    }
    bool Acquire(const std::string& path, std::string* error) {
        m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_fd < 0) {
            if (error) *error = TrArgs("設定ファイルをロックできません: %1", {path});
            return false;
        }
        const uint64_t start = TickCount();
        for (;;) {
            if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) return true;
            if (errno != EWOULDBLOCK && errno != EINTR) break;
            if (TickCount() - start >= kLockWaitMs) break;
            SleepMs(kLockPollMs);
        }
        if (error) *error = TrArgs("設定ファイルが他のプロセスにロックされています: %1", {path});
        return false;
    }

private:
    int m_fd = -1;
};

}  // namespace

ProfileText::ProfileText(std::string bytes) : m_bytes(std::move(bytes)) { Parse(); }

void ProfileText::Parse() {
    m_index.clear();
    const std::string_view bytes = m_bytes;
    std::vector<std::string> seenSections;
    std::string section;
    bool indexing = false;  // only the first section of a name is read
    for (const Line& line : SplitLines(bytes)) {
        std::string name;
        if (SectionHeader(bytes, line, name)) {
            indexing = !name.empty() && std::find(seenSections.begin(), seenSections.end(), name) == seenSections.end();
            if (indexing) seenSections.push_back(name);
            section = name;
            continue;
        }
        if (!indexing) continue;
        size_t b = line.begin;
        while (b < line.end && IsBlank(bytes[b])) ++b;
        if (b >= line.end || bytes[b] == ';') continue;
        const size_t eq = bytes.substr(0, line.end).find('=', b);
        const size_t keyEnd = eq == npos ? line.end : eq;
        size_t kb = b, ke = keyEnd;
        Trim(bytes, kb, ke);
        const std::string key = NameKey(bytes.substr(kb, ke - kb));
        if (key.empty()) continue;
        Value value;
        if (eq != npos) {
            value.present = true;
            value.begin = eq + 1;
            value.end = line.end;
            Trim(bytes, value.begin, value.end);
            if (value.end - value.begin >= 2 && bytes[value.begin] == bytes[value.end - 1] &&
                (bytes[value.begin] == '"' || bytes[value.begin] == '\'')) {
                ++value.begin;
                --value.end;
            }
        }
        m_index.try_emplace(section + "\n" + key, value);
    }
}

const ProfileText::Value* ProfileText::Find(std::string_view section, std::string_view key) const {
    auto it = m_index.find(AsciiLowerCopy(section) + "\n" + AsciiLowerCopy(key));
    return it == m_index.end() ? nullptr : &it->second;
}

bool ProfileText::HasKey(std::string_view section, std::string_view key) const {
    const Value* v = Find(section, key);
    return v && v->present;
}

std::string ProfileText::ReadText(std::string_view section, std::string_view key, std::string_view defaultText,
                                  size_t capacity) const {
    const Value* v = Find(section, key);
    if (!v || !v->present) return std::string(defaultText);
    std::string_view raw = std::string_view(m_bytes).substr(v->begin, v->end - v->begin);
    raw = raw.substr(0, raw.find('\0'));
    raw = CutSjis(raw, capacity == 0 ? 0 : capacity - 1);
    std::string utf8;
    if (Cp932ToUtf8(raw, utf8) != CodepageOk) return std::string(defaultText);
    return utf8;
}

int32_t ProfileText::ReadNumber(std::string_view section, std::string_view key, int32_t defaultNumber) const {
    return SaturateInt32(ParseDecimal(ReadText(section, key, std::to_string(defaultNumber), 32)));
}

int32_t ProfileText::ReadInt(std::string_view section, std::string_view key, int32_t defaultValue) const {
    const std::string text = ReadText(section, key, "", 32);
    if (text.empty()) return defaultValue;
    return SaturateInt32(ParseDecimal(text));
}

int ProfileText::ReplaceSection(std::string_view section, const ProfileEntries& entries, std::string* error) {
    using namespace std::string_view_literals;
    const std::string name(section);
    if (name.empty() || HasAny(name, "[]\r\n\0"sv) || IsBlank(name.front()) || IsBlank(name.back()))
        return Refuse(error, TrArgs("設定ファイルに書けないセクション名です: %1", {name}));
    std::string sjisName, body;
    if (!EncodeExact(name, sjisName, error) || !EncodeBody(entries, body, error)) return ProfileWriteFailed;

    const std::string_view bytes = m_bytes;
    const std::vector<Line> lines = SplitLines(bytes);
    const std::string wanted = AsciiLowerCopy(name);
    // Byte ranges [first, second) to drop, in order, and where the new body goes.
    std::vector<std::pair<size_t, size_t>> drop;
    size_t insertAt = npos;
    bool headerNeedsBreak = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string key;
        if (!SectionHeader(bytes, lines[i], key) || key != wanted) continue;
        size_t n = i + 1;
        std::string other;
        while (n < lines.size() && !SectionHeader(bytes, lines[n], other)) ++n;
        const size_t sectionEnd = n < lines.size() ? lines[n].begin : bytes.size();
        if (insertAt == npos) {
            // Blank lines that close the old body stay, so the layout of the file is kept.
            size_t last = i;
            for (size_t j = i + 1; j < n; ++j) {
                size_t b = lines[j].begin, e = lines[j].end;
                Trim(bytes, b, e);
                if (b < e) last = j;
            }
            insertAt = lines[i].next;
            // A header on the last line without LF ("[B]" or "[B]\r") must end before the body.
            headerNeedsBreak = lines[i].next == bytes.size() && bytes.back() != '\n';
            const size_t keepFrom = last + 1 < n ? lines[last + 1].begin : sectionEnd;
            drop.emplace_back(insertAt, keepFrom);
        } else {
            drop.emplace_back(lines[i].begin, sectionEnd);
        }
        i = n - 1;
    }

    std::string out;
    out.reserve(m_bytes.size() + body.size() + sjisName.size() + 8);
    if (insertAt == npos) {
        out = m_bytes;
        EndLine(out);
        out += "[" + sjisName + "]\r\n" + body;
    } else {
        size_t pos = 0;
        for (size_t d = 0; d < drop.size(); ++d) {
            out.append(bytes.substr(pos, drop[d].first - pos));
            if (d == 0) {
                if (headerNeedsBreak) EndLine(out);
                out += body;
            }
            pos = drop[d].second;
        }
        out.append(bytes.substr(pos));
    }
    m_bytes = std::move(out);
    Parse();
    return ProfileWritten;
}

int LoadProfile(const std::string& path, ProfileText& text) {
    if (!FileExists(path)) {
        text = ProfileText(std::string());
        return 1;
    }
    std::string bytes;
    if (!ReadWholeFile(path, bytes, kMaxProfileBytes + 1)) {
        text = ProfileText(std::string());
        return 0;
    }
    const bool tooLarge = bytes.size() > kMaxProfileBytes;
    if (tooLarge) bytes.resize(kMaxProfileBytes);
    text = ProfileText(std::move(bytes));
    return tooLarge ? 0 : 1;
}

ProfileText ReadableProfile(const std::string& path) {
    ProfileText text;
    (void)LoadProfile(path, text);
    return text;
}

std::string ReadProfileText(const std::string& path, std::string_view section, std::string_view key,
                            std::string_view defaultText, size_t capacity) {
    return ReadableProfile(path).ReadText(section, key, defaultText, capacity);
}

int32_t ReadProfileNumber(const std::string& path, std::string_view section, std::string_view key,
                          int32_t defaultNumber) {
    return ReadableProfile(path).ReadNumber(section, key, defaultNumber);
}

int32_t ReadProfileInt(const std::string& path, std::string_view section, std::string_view key,
                       int32_t defaultValue) {
    return ReadableProfile(path).ReadInt(section, key, defaultValue);
}

int UpdateProfileSection(const std::string& path, std::string_view section, const ProfileEdit& edit,
                         std::string* error) {
    LockFile lock;
    if (!lock.Acquire(path + ".lock", error)) return ProfileWriteFailed;
    ProfileText text;
    if (!LoadProfile(path, text)) return Refuse(error, TrArgs("設定ファイルを読めません: %1", {path}));
    if (!text.ReplaceSection(section, edit(text), error)) return ProfileWriteFailed;
    if (!WriteFileReplacing(path, text.Bytes()))
        return Refuse(error, TrArgs("設定ファイルを書き込めません: %1", {path}));
    return ProfileWritten;
}

int WriteProfileSection(const std::string& path, std::string_view section, const ProfileEntries& entries,
                        std::string* error) {
    return UpdateProfileSection(path, section, [&](const ProfileText&) { return entries; }, error);
}

}  // namespace platform
