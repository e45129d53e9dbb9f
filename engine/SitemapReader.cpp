#include "engine/SitemapReader.h"

#include <algorithm>

#include "platform/ByteString.h"
#include "platform/Gunzip.h"
#include "xml/XmlDocument.h"

namespace engine {

namespace {

constexpr std::string_view kBlanks = " \t\r\n";
// Elements nest three deep in a sitemap (urlset, url, loc); anything far deeper is no sitemap.
constexpr size_t kMaxNesting = 64;

std::string_view Trim(std::string_view s) {
    const size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

// "sm:loc" and "loc" alike: sitemaps come with and without a namespace prefix.
std::string_view LocalName(std::string_view name) {
    const size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

class Reader {
public:
    explicit Reader(SitemapContents& out) : m_out(out) {}

    // Only the first problem reaches the log line; the ones after it follow from it as often
    // as not.
    void Problem(std::string why) {
        if (m_out.malformed) return;
        m_out.malformed = true;
        m_out.problem = std::move(why);
    }

    // Takes one listed address; false once the file's bound of addresses is reached.
    bool Take(std::string_view raw, bool isPage) {
        const std::string_view value = Trim(raw);
        if (value.empty()) {
            Problem("空の項目があります");
            return true;
        }
        if (m_entries == kSitemapMaxEntries) {
            Problem(std::to_string(kSitemapMaxEntries) + " 件を超える項目は読みません");
            return false;
        }
        ++m_entries;
        if (xml::FirstBadUtf8(value) != std::string_view::npos) {
            Problem("UTF-8 でない項目があります");
        } else if (value.size() > kSitemapMaxUrl) {
            Problem("長すぎるアドレスがあります");
        } else if (!platform::StartsWithI(value, "http://") && !platform::StartsWithI(value, "https://")) {
            Problem("http(s) のアドレスでない項目があります");
        } else if (HasControlOrBlank(value)) {
            Problem("空白や制御文字を含むアドレスがあります");
        } else {
            (isPage ? m_out.pages : m_out.sitemaps).emplace_back(value);
        }
        return true;
    }

    void ReadText(std::string_view text) {
        m_out.kind = SitemapKind::Text;
        while (!text.empty()) {
            const size_t end = text.find('\n');
            if (const std::string_view line = Trim(text.substr(0, end)); !line.empty() && !Take(line, true)) return;
            if (end == std::string_view::npos) break;
            text.remove_prefix(end + 1);
        }
    }

    void ReadXml(std::string_view text);

private:
    static bool HasControlOrBlank(std::string_view s) {
        for (char c : s)
            if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7f) return true;
        return false;
    }

    void CheckDeclaration(std::string_view declaration);
    bool StartTag(std::string_view tag);
    bool EndTag(std::string_view tag);

    SitemapContents& m_out;
    size_t m_entries = 0;
    std::vector<std::string_view> m_open;  // the open elements, as named in their tags
    bool m_rootSeen = false;
    bool m_inLoc = false;
    std::string m_loc;
};

// The one encoding sitemaps are written in is UTF-8; another one is read as UTF-8 all the
// same (the ASCII of addresses survives), with a note.
void Reader::CheckDeclaration(std::string_view declaration) {
    const size_t at = declaration.find("encoding");
    if (at == std::string_view::npos) return;
    const size_t quote = declaration.find_first_of("\"'", at);
    if (quote == std::string_view::npos) return;
    const size_t close = declaration.find(declaration[quote], quote + 1);
    if (close == std::string_view::npos) return;
    const std::string_view name = declaration.substr(quote + 1, close - quote - 1);
    if (!platform::EqualsI(name, "UTF-8") && !platform::EqualsI(name, "UTF8"))
        Problem("encoding=\"" + std::string(name.substr(0, 40)) + "\" には対応していません（UTF-8 として読みます）");
}

bool Reader::StartTag(std::string_view tag) {
    const bool selfClosing = !tag.empty() && tag.back() == '/';
    const std::string_view name = tag.substr(0, tag.find_first_of(" \t\r\n/"));
    if (name.empty()) {
        Problem("名前のないタグがあります");
        return false;
    }
    if (m_inLoc) {
        Problem("<loc> の中に要素があります");
        return false;
    }
    if (m_open.empty()) {
        if (m_rootSeen) {
            Problem("ルート要素のあとに要素があります");
            return false;
        }
        m_rootSeen = true;
        const std::string_view local = LocalName(name);
        if (local == "urlset") m_out.kind = SitemapKind::UrlSet;
        else if (local == "sitemapindex") m_out.kind = SitemapKind::Index;
        else {
            Problem("サイトマップではありません（<" + std::string(name.substr(0, 40)) + ">）");
            return false;
        }
    }
    if (selfClosing) return true;
    if (m_open.size() >= kMaxNesting) {
        Problem("要素の入れ子が深すぎます");
        return false;
    }
    m_open.push_back(name);
    const std::string_view entry = m_out.kind == SitemapKind::UrlSet ? "url" : "sitemap";
    if (m_open.size() == 3 && LocalName(name) == "loc" && LocalName(m_open[1]) == entry) {
        m_inLoc = true;
        m_loc.clear();
    }
    return true;
}

bool Reader::EndTag(std::string_view tag) {
    const std::string_view name = Trim(tag.substr(1));
    if (m_open.empty() || name != m_open.back()) {
        Problem("終了タグが開始タグと合いません（</" + std::string(name.substr(0, 40)) + ">）");
        return false;
    }
    m_open.pop_back();
    if (!m_inLoc) return true;
    m_inLoc = false;
    return Take(m_loc, m_out.kind == SitemapKind::UrlSet);
}

// A tolerant pass that takes what it can: it stops at the first thing that is not
// well-formed and keeps the addresses read up to there. Entities are never declared here,
// so a DOCTYPE cannot make the text grow.
void Reader::ReadXml(std::string_view t) {
    size_t pos = 0;
    while (pos < t.size()) {
        const size_t lt = t.find('<', pos);
        const std::string_view data = t.substr(pos, lt == std::string_view::npos ? std::string_view::npos : lt - pos);
        if (m_inLoc) {
            m_loc += xml::DecodeEntities(data);
        } else if (m_open.empty() && !Trim(data).empty()) {
            Problem("要素の外に文字があります");
            return;
        }
        if (lt == std::string_view::npos) break;
        const std::string_view rest = t.substr(lt);
        const auto skipTo = [&](std::string_view end, size_t from, const char* unclosed) {
            const size_t at = t.find(end, from);
            if (at == std::string_view::npos) Problem(unclosed);
            return at == std::string_view::npos ? at : at + end.size();
        };
        size_t next;
        if (rest.starts_with("<!--")) {
            next = skipTo("-->", lt + 4, "閉じていないコメントがあります");
        } else if (rest.starts_with("<![CDATA[")) {
            next = skipTo("]]>", lt + 9, "閉じていない CDATA があります");
            if (next != std::string_view::npos && m_inLoc) m_loc.append(t.substr(lt + 9, next - 3 - (lt + 9)));
        } else if (rest.starts_with("<?")) {
            next = skipTo("?>", lt + 2, "閉じていない処理命令があります");
            if (next != std::string_view::npos && !m_rootSeen) CheckDeclaration(t.substr(lt, next - lt));
        } else if (rest.starts_with("<!")) {
            // A DOCTYPE; its internal subset, when there is one, ends with "]" before the ">".
            size_t from = lt;
            if (const size_t bracket = t.find('[', lt); bracket < t.find('>', lt))
                from = std::min(t.find(']', bracket), t.size());
            next = skipTo(">", from, "閉じていない DOCTYPE があります");
            if (next != std::string_view::npos && m_rootSeen) {
                Problem("要素のあとに DOCTYPE があります");
                return;
            }
        } else {
            // A tag ends at the first ">" outside its quoted attribute values.
            size_t gt = lt + 1;
            for (char quote = 0; gt < t.size(); ++gt) {
                if (quote) {
                    if (t[gt] == quote) quote = 0;
                } else if (t[gt] == '"' || t[gt] == '\'') {
                    quote = t[gt];
                } else if (t[gt] == '>') {
                    break;
                }
            }
            if (gt >= t.size()) {
                Problem("閉じていないタグがあります");
                return;
            }
            const std::string_view tag = t.substr(lt + 1, gt - lt - 1);
            if (!(tag.starts_with('/') ? EndTag(tag) : StartTag(tag))) return;
            next = gt + 1;
        }
        if (next == std::string_view::npos) return;
        pos = next;
    }
    if (!m_rootSeen) Problem("サイトマップではありません（要素がありません）");
    else if (!m_open.empty()) Problem("途中で終わっています");
}

}  // namespace

SitemapContents ReadSitemap(std::string_view bytes) {
    SitemapContents out;
    Reader reader(out);
    bool cut = false;
    if (bytes.size() > kSitemapMaxBytes) {
        reader.Problem("50 MiB を超えた部分は読みません");
        bytes = bytes.substr(0, kSitemapMaxBytes);
        cut = true;
    }
    std::string unpacked;
    if (platform::IsGzip(bytes)) {
        const int result = platform::Gunzip(bytes, unpacked, kSitemapMaxBytes);
        if (result == platform::GunzipTooLarge) reader.Problem("展開すると 50 MiB を超えるため、超えた部分は読みません");
        else if (result != platform::GunzipDone) reader.Problem("gzip のデータが壊れているか、途中で終わっています");
        cut = cut || result != platform::GunzipDone;
        bytes = unpacked;
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        reader.Problem("UTF-16 には対応していません");
        return out;
    }
    if (bytes.find('\0') != std::string_view::npos) {
        reader.Problem("バイナリデータです");
        return out;
    }
    const size_t first = bytes.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        reader.Problem("空のファイルです");
    } else if (bytes[first] == '<') {
        reader.ReadXml(bytes);
    } else {
        // A list cut short ends in the middle of an address: that line is left out.
        if (cut) bytes = bytes.substr(0, bytes.rfind('\n') == std::string_view::npos ? 0 : bytes.rfind('\n'));
        reader.ReadText(bytes);
    }
    return out;
}

}  // namespace engine
