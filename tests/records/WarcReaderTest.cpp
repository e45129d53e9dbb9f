// The web-archive reader against archives built here byte by byte: what it takes from sound
// records, and how it treats records whose lengths, members and heads cannot be trusted.
#include <gtest/gtest.h>
#include <zip.h>
#include <zlib.h>

#include "records/WarcReader.h"
#include "records/WarcReplay.h"
#include "tests/support/Sandbox.h"

using records::WarcArchive;

namespace {

std::string Record(const std::string& type, const std::string& uri, const std::string& block,
                   const std::string& extra = "", const std::string& length = "") {
    return "WARC/1.0\r\nWARC-Type: " + type + "\r\nWARC-Target-URI: " + uri +
           "\r\nWARC-Date: 2024-01-01T00:00:00Z\r\nContent-Type: application/http;msgtype=response\r\n" + extra +
           "Content-Length: " + (length.empty() ? std::to_string(block.size()) : length) + "\r\n\r\n" + block + "\r\n\r\n";
}

std::string Response(const std::string& uri, const std::string& body, const std::string& headers = "",
                     const std::string& extra = "") {
    return Record("response", uri, "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n" + headers + "\r\n" + body, extra);
}

std::string Gzip(const std::string& data) {
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, 6, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(deflateBound(&z, data.size()) + 32, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

std::string Payload(const WarcArchive& archive, const std::string& url, int* result = nullptr) {
    const records::WarcCapture* capture = archive.Find(url);
    if (!capture) return "(none)";
    std::string out, why;
    const int r = archive.ReadPayload(*capture, [&](const char* d, size_t n) { out.append(d, n); return true; }, {}, &why);
    if (result) *result = r;
    return r == 1 ? out : "(damaged: " + why + ")";
}

WarcArchive ReadArchive(std::string bytes) {
    WarcArchive archive;
    (void)archive.Read(records::WarcBytesOfMemory(std::move(bytes)));
    return archive;
}

const std::string kA = "http://h/a.html", kB = "http://h/b.html";

}  // namespace

// A damaged record costs that record and a problem line; the records after it are read.
TEST(WarcReader, DamagedRecordsAreLeftOutAndTheRestRead) {
    const std::string b = Response(kB, "bee");
    const std::string hugeHead = Record("response", kA, "HTTP/1.1 200 OK\r\nX: " + std::string(70000, 'x') + "\r\n\r\nbody");
    struct Case {
        const char* name;
        std::string bytes;
        const char* problem;
    } cases[] = {
        {"garbage length", Record("response", kA, "HTTP/1.1 200 OK\r\n\r\nx", "", "12abc") + b, "no length"},
        {"negative length", Record("response", kA, "HTTP/1.1 200 OK\r\n\r\nx", "", "-5") + b, "no length"},
        {"huge length", Record("response", kA, "HTTP/1.1 200 OK\r\n\r\nx", "", "99999999999999999999") + b, "no length"},
        {"length beyond the file", b + Record("response", kA, "HTTP/1.1 200 OK\r\n\r\nx", "", "1000000"), "beyond the end"},
        {"no length", "WARC/1.0\r\nWARC-Type: response\r\n\r\n" + b, "without Content-Length"},
        {"endless header", "WARC/1.0\r\nX: " + std::string(70000, 'y') + "\r\n" + b, "longer than 64 KiB"},
        {"huge HTTP head", hugeHead + b, "HTTP head without an end"},
        {"no status line", Record("response", kA, "ICY 200 OK\r\n\r\nx") + b, "no HTTP status line"},
        {"garbage before", "garbage\r\n" + b, "no WARC record"},
        {"damaged gzip member", Gzip(Response(kA, "aa")).substr(0, 20) + std::string(40, '\x55') + Gzip(b), "gzip member"},
        {"gzip cut short", Gzip(b) + Gzip(Response(kA, "aa")).substr(0, 30), "gzip member"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WarcArchive archive = ReadArchive(c.bytes);
        EXPECT_EQ(Payload(archive, kB), "bee");
        EXPECT_EQ(archive.Find(kA), nullptr);
        ASSERT_FALSE(archive.Problems().empty());
        EXPECT_NE(archive.Problems().front().find(c.problem), std::string::npos) << archive.Problems().front();
    }
    // Nothing usable: the reading fails and says why.
    WarcArchive empty;
    EXPECT_FALSE(empty.Read(records::WarcBytesOfMemory("not a web archive")));
    EXPECT_FALSE(empty.Problems().empty());
}

// Plain, gzip per record and one gzip stream give the same index; the latest capture wins
// and revisits lead to the payload they refer to.
TEST(WarcReader, IndexTakesLatestCapturesAndResolvesRevisits) {
    const std::string early = Response(kA, "old");
    std::string late = Response(kA, "new", "", "WARC-Payload-Digest: sha1:NEW\r\n");
    late.replace(late.find("2024-01-01"), 10, "2024-02-01");
    const std::string revisitByDigest = Record("revisit", "http://h/copy.html", "HTTP/1.1 200 OK\r\n\r\n",
                                               "WARC-Payload-Digest: sha1:NEW\r\n");
    const std::string revisitByDate =
        Record("revisit", "http://h/again.html", "",
               "WARC-Refers-To-Target-URI: <http://H:80/a.html>\r\nWARC-Refers-To-Date: 2024-02-01T00:00:00Z\r\n");
    const std::string orphan = Record("revisit", "http://h/lost.html", "", "WARC-Payload-Digest: sha1:NONE\r\n");
    const std::string records[] = {late, early, revisitByDigest, revisitByDate, orphan};
    std::string plain, members;
    for (const std::string& r : records) {
        plain += r;
        members += Gzip(r);
    }
    for (const std::string& bytes : {plain, members, Gzip(plain)}) {
        const WarcArchive archive = ReadArchive(bytes);
        EXPECT_EQ(Payload(archive, "HTTP://h/a.html#top"), "new");
        EXPECT_EQ(Payload(archive, "http://h/copy.html"), "new");
        EXPECT_EQ(Payload(archive, "http://h/again.html"), "new");
        EXPECT_EQ(archive.Find("http://h/lost.html"), nullptr);
        EXPECT_EQ(archive.ProblemCount(), 1u);
    }
}

// Bodies as other tools store them: chunked, compressed, or both; a damaged one is refused.
TEST(WarcReader, PayloadsAreDecodedAsABrowserWouldSeeThem) {
    const std::string text = "<p>" + std::string(3000, 'z') + "</p>";
    const std::string zipped = Gzip(text);
    std::string chunked;
    for (size_t at = 0; at < zipped.size(); at += 700) {
        const std::string piece = zipped.substr(at, 700);
        char size[16];
        std::snprintf(size, sizeof size, "%zx", piece.size());
        chunked += std::string(size) + ";ext=1\r\n" + piece + "\r\n";
    }
    chunked += "0\r\nTrailer: x\r\n\r\n";
    const std::string bytes =
        Response("http://h/gz", zipped, "Content-Encoding: gzip\r\n") +
        Response("http://h/chunked", chunked, "Transfer-Encoding: chunked\r\nContent-Encoding: gzip\r\n") +
        Response("http://h/badchunk", "zz\r\nabc\r\n0\r\n\r\n", "Transfer-Encoding: chunked\r\n") +
        Response("http://h/cut", zipped.substr(0, zipped.size() / 2), "Content-Encoding: gzip\r\n") +
        Response("http://h/odd", "x", "Content-Encoding: compress\r\n");
    const WarcArchive archive = ReadArchive(Gzip(bytes));
    EXPECT_EQ(Payload(archive, "http://h/gz"), text);
    EXPECT_EQ(Payload(archive, "http://h/chunked"), text);
    EXPECT_EQ(Payload(archive, "http://h/badchunk"), "(damaged: bad chunk size)");
    EXPECT_EQ(Payload(archive, "http://h/cut"), "(damaged: compressed body cut short)");
    EXPECT_EQ(Payload(archive, "http://h/odd"), "(damaged: content encoding \"compress\" is not supported)");
}

TEST(WarcReader, LocationsResolveAgainstTheirPage) {
    EXPECT_EQ(records::ResolveLocation("http://h/a/b.html", "c.html"), "http://h/a/c.html");
    EXPECT_EQ(records::ResolveLocation("http://h/a/b.html?q", "/d/"), "http://h/d/");
    EXPECT_EQ(records::ResolveLocation("https://h/a/", "//g/x"), "https://g/x");
    EXPECT_EQ(records::ResolveLocation("http://h", "x"), "http://h/x");
    EXPECT_EQ(records::ResolveLocation("http://h/a", "http://o/"), "http://o/");
}

// A WACZ package is read through the WARC files under its "archive/" folder, one after the
// other; a zip without any is refused.
TEST(WarcReader, WaczPackagesAreReadThroughTheirWarcFiles) {
    testsupport::Sandbox box;
    const auto pack = [&](const std::string& name, const std::vector<std::pair<std::string, std::string>>& entries) {
        int error = 0;
        zip_t* zip = zip_open((box / name).c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
        EXPECT_NE(zip, nullptr);
        for (const auto& [path, bytes] : entries) {
            zip_source_t* source = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
            EXPECT_GE(zip_file_add(zip, path.c_str(), source, ZIP_FL_OVERWRITE), 0);
        }
        EXPECT_EQ(zip_close(zip), 0);
        return box / name;
    };
    const std::string first = Gzip(Response(kA, "aye")), second = Gzip(Response(kB, "bee"));
    std::string why;
    const auto archive = records::OpenWebArchive(
        pack("site.wacz", {{"datapackage.json", "{}"}, {"archive/a.warc.gz", first}, {"archive/b.warc.gz", second}}), &why);
    ASSERT_NE(archive, nullptr) << why;
    EXPECT_EQ(Payload(*archive, kA), "aye");
    EXPECT_EQ(Payload(*archive, kB), "bee");
    EXPECT_EQ(records::OpenWebArchive(pack("empty.wacz", {{"pages/pages.jsonl", "{}"}}), &why), nullptr);
    EXPECT_NE(why.find("no WARC file under archive/"), std::string::npos) << why;
}
