// A text file of named sections, each closed by "__[KvMultiProfileSectionEnd]"; the .qdx
// record keeps its related links and comment this way. Text before the first section stays
// as it is. Texts are the file's bytes (Shift-JIS) unless a caller converts them.
#pragma once

#include <string>
#include <vector>

#include "records/RecordCodec.h"

namespace records {

constexpr const char* kSectionEnd = "__[KvMultiProfileSectionEnd]";
constexpr const char* kLinkHeaderPrefix = "__[QdxLinkFile.";
constexpr const char* kCommentHeader = "__[QdxExtraComment]";
// A record holds two lines, at most 24 links and a comment; anything this large is not one.
constexpr size_t kMaxSectionFileBytes = 16u << 20;

class SectionFile {
public:
    SectionFile() = default;

    // Reads the whole file; creates it empty when missing. 0 when it can be neither, or when
    // it is larger than kMaxSectionFileBytes (no text is held then, so nothing is written).
    [[nodiscard]] int Load(const std::string& path);
    // Length of the section's content (0: none); the content is kept for CopyLastSection.
    size_t GetSection(const std::string& header);
    const std::string& LastSection() const { return m_lastSection; }
    // Replaces or appends the section and writes the whole file at once (through a
    // temporary file). Returns 1 written, 0 failed (the text stays in memory). Content that
    // holds the end marker cannot be stored and is refused (0, nothing changes).
    [[nodiscard]] int SetSection(const std::string& header, const std::string& content);
    // The same change in memory only (1 done, 0 refused); Save writes it.
    [[nodiscard]] int PutSection(const std::string& header, const std::string& content);
    // Writes the text held in memory as the whole file. 1 written, 0 failed.
    [[nodiscard]] int Save();
    // Removes the section from memory only. 1 when removed.
    int DeleteSection(const std::string& header);
    const std::string& Text() const { return m_text; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_text;
    std::string m_path;
    std::string m_lastSection;
};

// Related links and the comment of a loaded .qdx record (texts in UTF-8; the file holds
// Shift-JIS). The record's folder is the folder of its path. Names, targets and comments
// that hold a section header or the end marker are refused: they would break the file.
struct RelatedLink {
    std::string name;
    std::string target;
    std::string third;
};

// "__[QdxLinkFile." + three digits + "]".
std::string LinkHeader(int index);
// The first number from 000 whose link section is missing or empty.
int CountLinks(SectionFile& record);
// Writes the link as number CountLinks; a target inside the record's folder is stored
// relative to it. Each field holds at most 999 bytes of Shift-JIS. `error` is for `reader`.
[[nodiscard]] int AddLink(SectionFile& record, const std::string& name, const std::string& target,
                          std::string* error = nullptr, ErrorReader reader = ErrorReader::Log);
// Fields cut by their stored lengths (a name may hold line breaks). A target that is no
// http(s) URL and names nothing that exists is taken relative to the record's folder.
// 0 when the section is missing or damaged.
[[nodiscard]] int ReadLink(SectionFile& record, int index, RelatedLink& link);
// Removes the chosen links and renumbers the rest from 000 in their old order; the record
// is written once, also when no link remains.
[[nodiscard]] int DeleteLinks(SectionFile& record, const std::vector<int>& indexes);
// "" when the record has no comment (or one that is no Shift-JIS).
std::string ReadComment(SectionFile& record);
// Line breaks are stored as CR LF. `error` is for `reader`.
[[nodiscard]] int WriteComment(SectionFile& record, const std::string& text, std::string* error = nullptr,
                               ErrorReader reader = ErrorReader::Log);

}  // namespace records
