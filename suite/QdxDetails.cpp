#include "suite/QdxDetails.h"

#include "platform/Codepage.h"
#include "platform/FileUtil.h"
#include "platform/UiText.h"
#include "records/QdxRecord.h"
#include "records/SavedSiteLog.h"
#include "records/SavedSiteText.h"
#include "records/SectionFile.h"

namespace suite {

namespace {

constexpr size_t kMaxCommentColumn = 64;
constexpr size_t kCommentCut = 59;

// The mode word on the record's first line; 0 when the line is no positive number.
unsigned long ModeWordOf(const std::string& text) {
    unsigned long value = 0;
    size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + static_cast<unsigned long>(text[i] - '0');
        if (value > 0xFFFFFFFFul) return 0;
    }
    if (i == 0 || (i < text.size() && text[i] != '\r' && text[i] != '\n')) return 0;
    return value;
}

// The date part of the log reader's date-and-time text.
std::string DateOnly(const std::string& dateTime) {
    const size_t blank = dateTime.find(' ');
    return blank == std::string::npos ? dateTime : dateTime.substr(0, blank);
}

}  // namespace

QdxDetails ReadQdxDetails(const std::string& qdxPath) {
    QdxDetails d;
    std::string head;
    if (!platform::IsRegularFile(qdxPath) || !platform::ReadFileHead(qdxPath, head, 64)) {
        d.status = DetailsCannotOpen;
        d.message = platform::Tr("Qdx-Error:2\r\n指定されたファイルが開けません。");
        return d;
    }
    const unsigned long modeWord = ModeWordOf(head);
    if (modeWord == 0) {
        d.status = DetailsUnsupported;
        d.message = platform::Tr("Qdx-Error:1\r\n指定されたファイルはサポートされていない形式です。");
        return d;
    }
    d.status = DetailsRead;
    records::SectionFile record;
    if (record.Load(qdxPath) == 1) {
        d.comment = records::ReadComment(record);
        for (int i = 0; i < records::kMaxRelatedLinks; ++i) {
            records::RelatedLink link;
            if (records::ReadLink(record, i, link) != 1) break;
            d.links.push_back(link.name + "  " + link.target);
        }
    }
    d.hasOutDomainList = platform::IsRegularFile(records::OutDomainListPageOf(qdxPath));
    records::SavedSiteLogReader log;
    const std::string logPath = records::QdxLogPath(qdxPath, static_cast<uint32_t>(modeWord));
    d.dataFolder = platform::FolderOf(logPath);
    if (platform::IsRegularFile(logPath) && records::ReadSavedSiteLogHeader(logPath, log) == records::LogRead) {
        d.logRead = true;
        d.startUrl = log.urlBase;
        if (log.urlLeaf.find("#DefIndexNoName") == std::string::npos) d.startUrl += log.urlLeaf;
        d.startPage = log.saveFolder + log.startPageName;
        d.logDate = DateOnly(log.lastWriteText);
    }
    return d;
}

std::string DetailsText(const std::string& qdxPath, const QdxDetails& d) {
    if (d.status != DetailsRead) return qdxPath + "\r\n\r\n" + d.message;
    std::string text = qdxPath + "\r\n\r\n";
    text += d.comment.empty() ? std::string(platform::Tr("【コメントは登録されていません】")) : d.comment;
    text += std::string("\r\n\r\n") + platform::Tr("関連リンク") + "\r\n";
    if (d.links.empty()) text += std::string(platform::Tr("【登録がありません】")) + "\r\n";
    for (const std::string& link : d.links) text += platform::TrArgs("　%1", {link}) + "\r\n";
    if (d.hasOutDomainList) text += std::string(platform::Tr("　※外部リンクファイル：有り")) + "\r\n";
    text += "\r\n";
    text += d.logRead ? d.startUrl : std::string(platform::Tr("URLの取得に失敗しました。"));
    return text;
}

std::string CommentColumnText(const std::string& comment) {
    std::string oneLine = comment;
    for (char& c : oneLine)
        if (c == '\r' || c == '\n') c = ' ';
    // The limits count the bytes the record stores (Shift-JIS).
    std::string sjis;
    if (platform::Utf8ToCp932(oneLine, sjis) != platform::CodepageOk) sjis = oneLine;
    if (sjis.size() <= kMaxCommentColumn) return oneLine;
    size_t cut = 0;
    while (cut < sjis.size()) {
        const unsigned char lead = static_cast<unsigned char>(sjis[cut]);
        const size_t width = ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) ? 2 : 1;
        if (cut + width > kCommentCut) break;
        cut += width;
    }
    std::string head;
    if (platform::Cp932ToUtf8(sjis.substr(0, cut), head) != platform::CodepageOk) head = oneLine.substr(0, cut);
    return head + "...";
}

}  // namespace suite
