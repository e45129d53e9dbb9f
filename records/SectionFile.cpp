#include "records/SectionFile.h"

#include <algorithm>

#include "platform/ByteString.h"
#include "platform/FileUtil.h"

namespace records {

namespace {

constexpr std::string_view kCrLf = "\r\n";

}  // namespace

int SectionFile::Load(const std::string& path) {
    m_text.clear();
    m_path.clear();
    m_lastSection.clear();
    if (!platform::FileExists(path)) {
        // Created empty, never truncating a file that appears in between.
        if (!platform::AppendToFile(path, "")) return 0;
    }
    std::string text;
    if (!platform::ReadWholeFile(path, text, kMaxSectionFileBytes + 1) || text.size() > kMaxSectionFileBytes) return 0;
    m_text = std::move(text);
    m_path = path;
    return 1;
}

size_t SectionFile::GetSection(const std::string& header) {
    m_lastSection.clear();
    if (header.empty() || m_text.empty()) return 0;
    const size_t at = platform::FindI(m_text, header);
    if (at == platform::npos) return 0;
    const size_t start = std::min(at + header.size() + kCrLf.size(), m_text.size());
    const size_t marker = platform::FindI(m_text, kSectionEnd, start);
    if (marker == platform::npos) return 0;
    size_t end = marker;
    if (marker >= start + 2 && m_text.compare(marker - 2, 2, kCrLf) == 0) end = marker - 2;
    m_lastSection.assign(m_text, start, end - start);
    return m_lastSection.size();
}

int SectionFile::PutSection(const std::string& header, const std::string& content) {
    if (header.empty() || platform::ContainsI(content, kSectionEnd)) return 0;
    const size_t at = platform::FindI(m_text, header);
    if (at == platform::npos) {
        m_text.append(kCrLf).append(header).append(kCrLf).append(content).append(kCrLf).append(kSectionEnd);
        return 1;
    }
    const size_t headerEnd = at + header.size();
    const size_t marker = platform::FindI(m_text, kSectionEnd, headerEnd);
    std::string text = m_text.substr(0, headerEnd);
    text.append(kCrLf).append(content).append(kCrLf);
    if (marker != platform::npos) {
        text.append(m_text, marker, std::string::npos);
    } else {
        // A section cut off before its marker: close it and keep what followed the header.
        text.append(kSectionEnd).append(m_text, headerEnd, std::string::npos);
    }
    m_text = std::move(text);
    return 1;
}

int SectionFile::Save() {
    if (m_path.empty()) return 0;
    return platform::WriteFileReplacing(m_path, m_text) ? 1 : 0;
}

int SectionFile::SetSection(const std::string& header, const std::string& content) {
    if (!PutSection(header, content)) return 0;
    return Save();
}

int SectionFile::DeleteSection(const std::string& header) {
    if (header.empty()) return 0;
    const size_t at = platform::FindI(m_text, header);
    if (at == platform::npos) return 0;
    const size_t marker = platform::FindI(m_text, kSectionEnd, at + header.size());
    if (marker == platform::npos) return 0;
    // Skip the CR LF that opens the next section.
    const size_t rest = std::min(marker + std::string_view(kSectionEnd).size() + kCrLf.size(), m_text.size());
    m_text = m_text.substr(0, at) + m_text.substr(rest);
    return 1;
}

}  // namespace records
