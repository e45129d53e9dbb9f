#include "engine/OutDomainDocument.h"

#include "platform/ShiftJisText.h"

namespace engine {

namespace {

constexpr const char* kFill = "&#xA0;&#xA0;&#xA0;&#xA0;";

}  // namespace

std::string MarkupToCp932(const std::string& utf8) {
    return platform::ToShiftJis(utf8, platform::Unmappable::CharacterReference);
}

std::string OutDomainDocumentText(const std::vector<OutDomainItem>& items) {
    std::string d;
    auto line = [&d](const std::string& text) { d += text + "\r\n"; };
    line("<?xml version='1.0' encoding='Shift-JIS' ?>");
    line(std::string("<qdotlk:document xmlns:qdotlk=\"") + kOutDomainNamespace + "\" version=\"20130223\">");
    line("<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"jp\" lang=\"jp\">");
    line("<head>");
    line("<meta http-equiv=\"Content-Type\" content=\"text/html;charset=Shift-JIS\" />");
    line("<title>外部ドメインページへのリンク一覧</title>");
    line("</head>");
    line("<body>");
    line("<h1>外部ドメインページへのリンク一覧</h1>");
    line("<hr />");
    for (const OutDomainItem& item : items) {
        line("<qdotlk:li>");
        if (!item.saved) {
            line(std::string("<qdotlk:saved>Not Fonud.") + kFill + "</qdotlk:saved>");
        } else {
            const std::string name = platform::EscapeMarkup(item.localName);
            const std::string title = item.title.empty() ? "" : " title=\"" + platform::EscapeMarkup(item.title) + "\"";
            line("<qdotlk:saved" + title + "><a href=\"" + name + "\">" + name + "</a>" + kFill + "</qdotlk:saved>");
        }
        const std::string url = platform::EscapeMarkup(item.url);
        line("<qdotlk:dest>");
        line("<a href=\"" + url + "\">" + url + "</a>");
        line("</qdotlk:dest>");
        line("<qdotlk:source type=\"" + std::to_string(item.sources.size()) + "\">");
        for (const std::string& source : item.sources) line("<span title=\"../" + platform::EscapeMarkup(source) + "\" />");
        line("</qdotlk:source>");
        line("</qdotlk:li>");
        line("<br />");
    }
    line("<hr />");
    line("<address>Sitrova/6.x</address>");
    line("");
    line("</body>");
    line("</html>");
    line("</qdotlk:document>");
    return d;
}

}  // namespace engine
