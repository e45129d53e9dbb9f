// The related links and the comment that a .qdx record keeps in its sections.
#include <algorithm>
#include <cstdio>

#include "platform/ByteString.h"
#include "platform/FileUtil.h"
#include "records/RecordCodec.h"
#include "records/SectionFile.h"

namespace records {

namespace {

// The three field lengths are written with three digits each.
constexpr size_t kMaxFieldBytes = 999;
constexpr int kMaxLinks = 1000;
// Nine digits and CR LF come before the name.
constexpr size_t kNameOffset = 11;

bool HoldsSectionSyntax(const std::string& text) {
    return platform::ContainsI(text, kLinkHeaderPrefix) || platform::ContainsI(text, kCommentHeader) ||
           platform::ContainsI(text, kSectionEnd);
}

int Refuse(std::string* error, ErrorReader reader, const char* japanese, std::string_view value = {}) {
    if (error) *error = ErrorText(reader, japanese, {value});
    return 0;
}

bool IsWebAddress(const std::string& target) {
    return platform::StartsWithI(target, "http://") || platform::StartsWithI(target, "https://");
}

size_t FieldLength(const std::string& digits, size_t at) {
    return static_cast<size_t>((digits[at] - '0') * 100 + (digits[at + 1] - '0') * 10 + (digits[at + 2] - '0'));
}

}  // namespace

std::string LinkHeader(int index) {
    char number[16];
    std::snprintf(number, sizeof number, "%03u]", static_cast<unsigned>(index));
    return std::string(kLinkHeaderPrefix) + number;
}

int CountLinks(SectionFile& record) {
    for (int n = 0; n < kMaxLinks; ++n)
        if (record.GetSection(LinkHeader(n)) == 0) return n;
    return kMaxLinks;
}

int AddLink(SectionFile& record, const std::string& name, const std::string& target, std::string* error,
            ErrorReader reader) {
    if (HoldsSectionSyntax(name) || HoldsSectionSyntax(target))
        return Refuse(error, reader, "関連リンクに「__[」で始まる見出しの文字列は登録できません。");
    std::string stored = target;
    const std::string folder = platform::FolderOf(record.Path());
    if (!folder.empty() && stored.size() > folder.size() && stored.compare(0, folder.size(), folder) == 0)
        stored.erase(0, folder.size());
    std::string sjisName, sjisTarget;
    if (!EncodeText(name, sjisName, "関連リンク名", error, reader) ||
        !EncodeExact(stored, sjisTarget, "関連リンクのパス", error, reader))
        return 0;
    if (sjisName.size() > kMaxFieldBytes || sjisTarget.size() > kMaxFieldBytes)
        return Refuse(error, reader, "関連リンク名またはパスが長すぎます（999バイトまで）。");
    const int index = CountLinks(record);
    if (index >= kMaxLinks) return Refuse(error, reader, "関連リンクはこれ以上登録できません。");

    char lengths[16];
    std::snprintf(lengths, sizeof lengths, "%03u%03u%03u", static_cast<unsigned>(sjisName.size()),
                  static_cast<unsigned>(sjisTarget.size()), 0u);
    const std::string content = std::string(lengths) + "\r\n" + sjisName + "\r\n" + sjisTarget + "\r\n\r\n";
    if (!record.SetSection(LinkHeader(index), content))
        return Refuse(error, reader, "関連リンクを書き込めません: %1", record.Path());
    return 1;
}

int ReadLink(SectionFile& record, int index, RelatedLink& link) {
    link = RelatedLink{};
    if (index < 0 || index >= kMaxLinks) return 0;
    const size_t size = record.GetSection(LinkHeader(index));
    const std::string& content = record.LastSection();
    if (size < kNameOffset ||
        !std::all_of(content.begin(), content.begin() + 9, [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    const size_t nameLen = FieldLength(content, 0), targetLen = FieldLength(content, 3), thirdLen = FieldLength(content, 6);
    const size_t targetAt = kNameOffset + nameLen + 2, thirdAt = targetAt + targetLen + 2;
    if (thirdAt + thirdLen > size) return 0;
    if (!DecodeField(std::string_view(content).substr(kNameOffset, nameLen), link.name) ||
        !DecodeField(std::string_view(content).substr(targetAt, targetLen), link.target) ||
        !DecodeField(std::string_view(content).substr(thirdAt, thirdLen), link.third)) {
        link = RelatedLink{};
        return 0;
    }
    if (!link.target.empty() && !IsWebAddress(link.target) && !platform::FileExists(link.target)) {
        // Stored relative to the record; one written on Windows separates with "\".
        std::string relative = link.target;
        platform::ReplaceAll(relative, "\\", "/");
        link.target = platform::FolderOf(record.Path()) + relative;
    }
    return 1;
}

int DeleteLinks(SectionFile& record, const std::vector<int>& indexes) {
    const int count = CountLinks(record);
    std::vector<std::string> contents;
    for (int i = 0; i < count; ++i) {
        (void)record.GetSection(LinkHeader(i));
        contents.push_back(record.LastSection());
    }
    for (int i = 0; i < count; ++i) (void)record.DeleteSection(LinkHeader(i));
    // Built in memory and written once: a crash never leaves a record with links missing.
    int next = 0;
    for (int i = 0; i < count; ++i) {
        if (std::find(indexes.begin(), indexes.end(), i) != indexes.end()) continue;
        if (record.PutSection(LinkHeader(next), contents[static_cast<size_t>(i)])) ++next;
    }
    return record.Save();
}

std::string ReadComment(SectionFile& record) {
    std::string text;
    if (record.GetSection(kCommentHeader) == 0 || !DecodeField(record.LastSection(), text)) return std::string();
    return text;
}

int WriteComment(SectionFile& record, const std::string& text, std::string* error, ErrorReader reader) {
    if (HoldsSectionSyntax(text)) return Refuse(error, reader, "コメントに「__[」で始まる見出しの文字列は書けません。");
    std::string crlf;
    crlf.reserve(text.size() + 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) crlf += '\r';
        crlf += text[i];
    }
    std::string sjis;
    if (!EncodeText(crlf, sjis, "コメント", error, reader)) return 0;
    if (!record.SetSection(kCommentHeader, sjis)) return Refuse(error, reader, "コメントを書き込めません: %1", record.Path());
    return 1;
}

}  // namespace records
