// The WARC file a save writes with the "warc" option, read back by the tests' own reader:
// every exchange of the save with the bytes the loopback server sent, digests that hold, an
// index that points at the records, a WACZ package, revisits of an update, and an outside
// reader (npm's warcio) when one is installed. A save killed part-way: see CrashSafety.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sys/wait.h>

#include "engine/SaveHost.h"
#include "engine/SaveJob.h"
#include "engine/SaveManager.h"
#include "platform/HttpClient.h"
#include "records/SaveRecords.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"
#include "tests/support/WarcCheck.h"

using testsupport::LoopbackServer;
using testsupport::Sandbox;
using Record = testsupport::WarcTestRecord;

namespace {

std::vector<Record> ReadWarc(const std::string& bytes) {
    std::vector<Record> records = testsupport::ReadWarcRecords(bytes);
    for (const Record& r : records) EXPECT_EQ(r.problem, "") << r.Url() << " " << r.Type() << " at " << r.offset;
    return records;
}

std::string Page(const std::string& body) { return "<html><head><title>t</title></head><body>" + body + "</body></html>\n"; }

std::string Shell(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return "popen failed";
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    const int status = ::pclose(pipe);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? out : "exit " + std::to_string(status) + ": " + out;
}

class WarcSave : public ::testing::Test {
protected:
    static void SetUpTestSuite() { platform::HttpGlobalInit(); }

    void WriteSite() {
        Sandbox::WriteFile(site / "index.html",
                           Page("<img src=\"pic.gif\"> <a href=\"a.html\">a</a> <a href=\"moved.html\">m</a> "
                                "<a href=\"gone.html\">g</a> <a href=\"zipped.html\">z</a>"));
        Sandbox::WriteFile(site / "a.html", Page("aaaa"));
        Sandbox::WriteFile(site / "zipped.html", Page(std::string(3000, 'z') + " squeezed"));
        Sandbox::WriteFile(site / "pic.gif", std::string("GIF89a\0\1\2\xff", 10));
    }
    void Serve(const std::string& rules) {
        server = std::make_unique<LoopbackServer>(site.Path(), rules);
        ASSERT_TRUE(server->Running());
    }
    std::string Url(const std::string& path) const { return server->BaseUrl() + "/" + path; }

    int Save(bool warc, bool wacz = false) {
        engine::SaveJob job;
        records::SaveRecords records;
        records.SetTempFolder(temp.Path());
        job.SetRecords(&records);
        job.SetModeBits(769);  // interactive, data folder, record
        engine::NamedOptions named;
        named.warc = warc;
        named.wacz = wacz;
        job.SetNamed(named);
        job.SetStartUrl(Url("index.html"));
        job.SetSaveTarget(out / "site.html");
        EXPECT_EQ(engine::PrepareSaveStart(job), 1);
        const int result = engine::SaveWorker(host, job);
        records.FinishSavedSiteLog(job);
        log.clear();
        for (const std::string& line : job.DetailedLog()) log += line + "\n";
        job.SetRecords(nullptr);
        return result;
    }

    // The response record of a URL (the last one when there are several).
    static const Record* ResponseOf(const std::vector<Record>& records, const std::string& url) {
        const Record* found = nullptr;
        for (const Record& r : records)
            if (r.Url() == url && r.Type() != "request") found = &r;
        return found;
    }

    Sandbox site, temp, out;
    std::unique_ptr<LoopbackServer> server;
    std::string log;  // of the last save
    engine::SilentHost host;
};

}  // namespace

TEST_F(WarcSave, EveryExchangeIsRecordedWithTheBytesTheServerSent) {
    WriteSite();
    Serve(R"({"/moved.html": {"redirect": "/a.html"}, "/gone.html": {"status": 404}, "/zipped.html": {"gzip": true}})");
    Save(true, true);
    const std::string bytes = Sandbox::ReadFile(out / "site.warc.gz");
    const std::vector<Record> records = ReadWarc(bytes);
    ASSERT_GE(records.size(), 13u) << log;
    EXPECT_EQ(records[0].Type(), "warcinfo");
    std::map<std::string, const Record*> byId;
    for (const Record& r : records) byId[r.Field("WARC-Record-ID")] = &r;
    EXPECT_EQ(byId.size(), records.size());  // identifiers are unique
    const std::string sent = server->BodiesSent();
    int responses = 0;
    for (const Record& r : records) {
        if (r.Type() != "response") continue;
        SCOPED_TRACE(r.Url());
        ++responses;
        // Each response has its request, which names it back.
        const Record* request = byId[r.Field("WARC-Concurrent-To")];
        ASSERT_NE(request, nullptr);
        EXPECT_EQ(request->Type(), "request");
        EXPECT_EQ(request->Field("WARC-Concurrent-To"), r.Field("WARC-Record-ID"));
        EXPECT_EQ(request->Url(), r.Url());
        EXPECT_EQ(request->block.rfind("GET /", 0), 0u) << request->block;
        EXPECT_EQ(r.Field("WARC-Date").size(), 20u);
        // The payload is what the server sent for that path, before any rewriting of links;
        // only the followed redirect's body never reached the client, and its record says so.
        const std::string path = r.Url().substr(server->BaseUrl().size());
        const std::string line = testsupport::HexSha1(r.Payload()) + " " + std::to_string(r.Status()) + " " + path + "\n";
        EXPECT_EQ(r.Field("WARC-Truncated"), path == "/moved.html" ? "unspecified" : "");
        if (path != "/moved.html") {
            EXPECT_NE(sent.find(line), std::string::npos) << line << sent;
        }
    }
    for (const char* file : {"index.html", "a.html", "pic.gif", "zipped.html"}) {
        const Record* r = ResponseOf(records, Url(file));
        ASSERT_NE(r, nullptr) << file;
        EXPECT_EQ(r->Status(), 200) << file;
        EXPECT_EQ(r->Payload(), Sandbox::ReadFile(site / file)) << file;
    }
    // The compressed answer is stored decoded, under a head that says so.
    const std::string zipped = ResponseOf(records, Url("zipped.html"))->Head();
    EXPECT_NE(zipped.find("\r\nX-Archive-Orig-Content-Encoding: gzip\r\n"), std::string::npos) << zipped;
    EXPECT_EQ(zipped.find("\r\nContent-Encoding:"), std::string::npos) << zipped;
    // The redirect, the missing page and the robots.txt question are exchanges too.
    ASSERT_NE(ResponseOf(records, Url("moved.html")), nullptr);
    EXPECT_EQ(ResponseOf(records, Url("moved.html"))->Status(), 302);
    ASSERT_NE(ResponseOf(records, Url("gone.html")), nullptr);
    EXPECT_EQ(ResponseOf(records, Url("gone.html"))->Status(), 404);
    EXPECT_NE(ResponseOf(records, Url("robots.txt")), nullptr);

    // The index: one sorted line per response, each pointing at its record.
    const std::string cdxj = Sandbox::ReadFile(out / "site.cdxj");
    std::vector<std::string> lines;
    for (size_t at = 0, eol; (eol = cdxj.find('\n', at)) != std::string::npos; at = eol + 1)
        lines.push_back(cdxj.substr(at, eol - at));
    EXPECT_EQ(lines.size(), static_cast<size_t>(responses));
    EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end()));
    const std::string key = "1,0,0,127:" + std::to_string(server->Port()) + ")/a.html ";
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(key, 0) == 0; })) << cdxj;
    for (const std::string& line : lines) {
        const auto number = [&](const std::string& name) {
            const size_t at = line.find("\"" + name + "\": \"");
            return at == std::string::npos ? 0ull : std::strtoull(line.c_str() + at + name.size() + 5, nullptr, 10);
        };
        const uint64_t offset = number("offset"), length = number("length");
        ASSERT_LE(offset + length, bytes.size()) << line;
        const std::vector<Record> one = ReadWarc(bytes.substr(offset, length));
        ASSERT_EQ(one.size(), 1u) << line;
        EXPECT_NE(line.find("\"url\": \"" + one[0].Url() + "\""), std::string::npos) << line;
        EXPECT_NE(line.find("\"filename\": \"site.warc.gz\""), std::string::npos) << line;
    }

    // The package: its parts, the WARC stored as it is, and hashes that hold.
    const std::string check = Shell(
        "python3 - '" + out / "site.wacz" + "' <<'EOF'\n"
        "import hashlib, json, sys, zipfile\n"
        "z = zipfile.ZipFile(sys.argv[1])\n"
        "p = json.loads(z.read('datapackage.json'))\n"
        "names = sorted(r['path'] for r in p['resources'])\n"
        "assert names == ['archive/site.warc.gz', 'indexes/index.cdxj', 'pages/pages.jsonl'], names\n"
        "for r in p['resources']:\n"
        "    assert r['hash'] == 'sha256:' + hashlib.sha256(z.read(r['path'])).hexdigest(), r\n"
        "assert z.getinfo('archive/site.warc.gz').compress_type == zipfile.ZIP_STORED\n"
        "pages = z.read('pages/pages.jsonl').decode().splitlines()\n"
        "assert json.loads(pages[0])['format'] == 'json-pages-1.0'\n"
        "assert any(json.loads(l)['url'].endswith('/a.html') for l in pages[1:]), pages\n"
        "print('ok')\n"
        "EOF\n");
    EXPECT_EQ(check, "ok\n");
}

TEST_F(WarcSave, WithoutTheOptionNothingIsWrittenAndAnUpdateRecordsRevisits) {
    WriteSite();
    Serve(R"({"validators": "etag"})");
    Save(false);
    for (const auto& entry : std::filesystem::directory_iterator(out.Path()))
        EXPECT_EQ(entry.path().string().find(".warc"), std::string::npos) << entry.path();
    EXPECT_FALSE(Sandbox::Exists(out / "site.cdxj"));

    Save(true);  // an update: every unchanged file is answered 304
    const std::vector<Record> records = ReadWarc(Sandbox::ReadFile(out / "site.warc.gz"));
    const Record* revisit = ResponseOf(records, Url("a.html"));
    ASSERT_NE(revisit, nullptr);
    EXPECT_EQ(revisit->Type(), "revisit");
    EXPECT_EQ(revisit->Field("WARC-Profile"), "http://netpreserve.org/warc/1.1/revisit/server-not-modified");
    EXPECT_EQ(revisit->Status(), 304);
    EXPECT_NE(Sandbox::ReadFile(out / "site.cdxj").find("\"mime\": \"warc/revisit\""), std::string::npos);

    // A second archived run keeps the first file and writes one of its own.
    Save(true);
    int archives = 0;
    for (const auto& entry : std::filesystem::directory_iterator(out.Path()))
        archives += entry.path().string().ends_with(".warc.gz");
    EXPECT_EQ(archives, 2);
}

TEST_F(WarcSave, AnOutsideReaderReadsTheArchive) {
    const std::string warcio = testsupport::WarcioProgram();
    if (warcio.empty()) GTEST_SKIP() << "npm's warcio is not installed (bench/warcio-check.sh installs it)";
    WriteSite();
    Serve(R"({"/moved.html": {"redirect": "/a.html"}, "/gone.html": {"status": 404}, "/zipped.html": {"gzip": true}})");
    Save(true);
    const std::string warc = out / "site.warc.gz";
    const size_t count = ReadWarc(Sandbox::ReadFile(warc)).size();
    const std::string index = Shell("'" + warcio + "' index '" + warc + "' 2>&1");
    EXPECT_EQ(static_cast<size_t>(std::count(index.begin(), index.end(), '\n')), count) << index;
    // Its own index of the captures has the keys and digests of ours.
    const std::string cdx = Shell("'" + warcio + "' cdx-index '" + warc + "' 2>&1");
    const std::string ours = Sandbox::ReadFile(out / "site.cdxj");
    size_t captures = 0;
    for (size_t at = 0, eol; (eol = cdx.find('\n', at)) != std::string::npos; at = eol + 1, ++captures) {
        const std::string line = cdx.substr(at, eol - at);
        const std::string key = line.substr(0, line.find(' '));
        EXPECT_NE(ours.find(key + " "), std::string::npos) << line << "\n" << ours;
    }
    EXPECT_EQ(captures, static_cast<size_t>(std::count(ours.begin(), ours.end(), '\n'))) << cdx;
}
