// SitrovaCui driven as a program: its options, messages and the Sitrova arguments it
// builds (a stand-in Sitrova records them).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/Codepage.h"
#include "platform/FileUtil.h"
#include "platform/Process.h"
#include "platform/Version.h"
#include "tests/cui/CuiRun.h"
#include "tests/records/LogText.h"
#include "tests/support/Sandbox.h"

using namespace cuitest;
using testsupport::Sandbox;

namespace {

// A program folder holding a copy of SitrovaCui and a stand-in Sitrova that appends its
// arguments (joined by blanks) to "calls.txt", after a second when "slow" is there, and ends with the codes
// listed in "codes" one call after another (else 0).
struct StandIn {
    Sandbox box;
    std::string cui = box / "bin/SitrovaCui";
    std::string calls = box / "bin/calls.txt";
    StandIn() {
        Sandbox::WriteFile(box / "bin/Sitrova",
                           "#!/bin/sh\nd=$(dirname \"$0\")\n[ -f \"$d/slow\" ] && sleep 1\n"
                           "printf '%s\\n' \"$*\" >> \"$d/calls.txt\"\n"
                           "n=$(wc -l < \"$d/calls.txt\")\ncode=$(sed -n \"${n}p\" \"$d/codes\" 2>/dev/null)\n"
                           "exit \"${code:-0}\"\n");
        ::chmod((box / "bin/Sitrova").c_str(), 0755);
        EXPECT_TRUE(platform::CopyFile(std::string(SITROVA_BIN_DIR) + "/SitrovaCui", cui));
        ::chmod(cui.c_str(), 0755);
    }
    // Calls of the stand-in; those not waited for are given a few seconds to arrive.
    std::string Calls(size_t lines) const {
        for (int i = 0; i < 100; ++i) {
            const std::string text = Sandbox::ReadFile(calls);
            if (static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) >= lines) return text;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return Sandbox::ReadFile(calls);
    }
};

// A record of a saved site whose log lies beside it.
void WriteRecord(const std::string& path) {
    Sandbox::WriteFile(path, "1\r\nEnd of Qdx file. Its contents is hidden file, SiteSaveInfoLog.\r\n");
    recordstest::LogHeader header;
    header.storedFolder = platform::FolderOf(path);
    header.modeWord = 1;
    Sandbox::WriteFile(platform::FolderOf(path) + "SitrovSaveInfo.log", recordstest::LogText(header, {}));
}

const std::string kAllOn =
    "<workmode><neglect>1</neglect><arias>1.0</arias><agent>1</agent><datafolder>1</datafolder>"
    "<qdxfile>1</qdxfile><outdomain><all>1</all><select>1</select></outdomain></workmode>\r\n";
const std::string kSomeOn =
    "<workmode><neglect>yes</neglect><arias>0</arias><agent></agent><datafolder>1</datafolder>"
    "<qdxfile>\r\n1\r\n</qdxfile><outdomain><all>2</all><select>0</select></outdomain></workmode>\r\n";

}  // namespace

TEST(CuiProgram, TemplateIsWrittenByteForByteAndNeverOverwritten) {
    StandIn s;
    EXPECT_EQ(RunTool(s.cui, {"/template", "job.xml"}, s.box.Path()), "");
    const std::string golden = Sandbox::ReadFile(std::string(SITROVA_TEST_DATA) + "/cui/template.golden");
    EXPECT_EQ(Sandbox::ReadFile(s.box / "job.xml"), golden);
    Sandbox::WriteFile(s.box / "job.xml", "mine");
    EXPECT_EQ(RunTool(s.cui, {"/template", "job.xml"}, s.box.Path()),
              "'job.xml' は既に存在するため、テンプレートファイルを出力できません。\n");
    EXPECT_EQ(Sandbox::ReadFile(s.box / "job.xml"), "mine");
    EXPECT_EQ(RunTool(s.cui, {"/template"}, s.box.Path()), "ファイルが指定されていません。\n");
}

TEST(CuiProgram, OptionsAndTheirMessages) {
    StandIn s;
    Sandbox::WriteFile(s.box / "site.qdx", "x");
    const std::string version = std::string("\nVersion ") + platform::kSuiteVersion + "\n";
    struct Case {
        std::vector<std::string> args;
        std::string printed;
        int code;
    } cases[] = {
        {{}, "", 2},  // nothing asked is not "done"
        {{"/V", "job.xml"}, "", 2},  // options are case-sensitive
        {{"stray", "/version", "/?"}, version, 0},
        {{"/v"}, version, 0},
        {{"/cut", "site.txt"}, "指定されたファイルは、QDXファイルでは在りません。\n", 2},
        {{"/cut", "gone.qdx"}, "ファイルパスが不正です。\n", 2},
        {{"/cut", "dir.qdx/"}, "指定されたファイルは、QDXファイルでは在りません。\n", 2},
        {{"/readme"}, "\nRead me.txtが見つかりません。\n\n", 6},
        {{"/some"}, "ファイルが指定されていません。\n", 2},
        {{"/some", "none.xml", "/v"}, "'none.xml' が存在しません。\n" + version, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0] + " " + (c.args.size() > 1 ? c.args[1] : ""));
        int code = -1;
        EXPECT_EQ(RunTool(s.cui, c.args, s.box.Path(), &code), c.printed);
        EXPECT_EQ(code, c.code);
    }
    EXPECT_EQ(Sandbox::ReadFile(s.calls), "");

    const std::vector<std::string> usage = {"/?"};
    const std::string printed = RunTool(s.cui, usage, s.box.Path());
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 27);
    EXPECT_EQ(printed.rfind("\nSitrovaCui オプション [ファイルパス] [Url]\n", 0), 0u);
    EXPECT_NE(printed.find("\n          一切不要です\n"), std::string::npos);

    Sandbox::WriteFile(s.box / "bin/Read me.txt", "first\r\nsecond\r\n\r\nlast");
    EXPECT_EQ(RunTool(s.cui, {"/readme"}, s.box.Path()), "first\nsecond\n\nlast\n\n");
    const std::string help = RunTool(s.cui, {"--help"}, s.box.Path());
    EXPECT_EQ(help.rfind(printed, 0), 0u);
    EXPECT_NE(help.find("終了コード:\n  0  "), std::string::npos);
}

TEST(CuiProgram, CutAndUrlStartSitrovaWithTheirArguments) {
    StandIn s;
    WriteRecord(s.box / "a b.qdx");
    Sandbox::WriteFile(s.box / "bin/slow", "");
    Sandbox::WriteFile(s.box / "bin/codes", "2\n");
    int code = -1;
    EXPECT_EQ(RunTool(s.cui, {"/cut", s.box / "a b.qdx"}, s.box.Path(), &code), "");
    // The ad removal has ended when SitrovaCui does, and its code is SitrovaCui's.
    EXPECT_EQ(Sandbox::ReadFile(s.calls), "advertisement,\"" + s.box / "a b.qdx" + "\"\n");
    EXPECT_EQ(code, 2);
    ASSERT_TRUE(platform::RemoveFile(s.box / "bin/slow"));
    EXPECT_EQ(RunTool(s.cui, {"/url", "name", "http://example.org/"}, s.box.Path()), "");
    EXPECT_EQ(s.Calls(2).substr(s.Calls(2).find('\n') + 1), "PresetUrl,\"http://example.org/\",\"/name\"\n");
    EXPECT_EQ(RunTool(s.cui, {"/url", "/home/u/x.html"}, s.box.Path()), "");
    const std::string calls = s.Calls(3);
    EXPECT_EQ(calls.substr(calls.rfind('\n', calls.size() - 2) + 1), "PresetUrl,\"\",\"/home/u/x.html\"\n");
}

TEST(CuiProgram, CutTakesTheExtensionInAnyCaseAndKeepsARecordWhoseSiteIsMissing) {
    StandIn s;
    WriteRecord(s.box / "UP.QDX");
    EXPECT_EQ(RunTool(s.cui, {"/cut", "UP.QDX"}, s.box.Path()), "");
    EXPECT_EQ(s.Calls(1), "advertisement,\"UP.QDX\"\n");

    // The data folder was renamed: nothing is started, the record stays, the folder is named.
    Sandbox::WriteFile(s.box / "gone.qdx", "769\r\nEnd of Qdx file. Its contents is hidden file, SiteSaveInfoLog.\r\n");
    const std::string printed = RunTool(s.cui, {"/cut", "gone.qdx"}, s.box.Path());
    EXPECT_EQ(printed.rfind("Error:2\n指定されたファイルは実体が存在しません。\n", 0), 0u) << printed;
    EXPECT_NE(printed.find("gone.files/"), std::string::npos) << printed;
    EXPECT_TRUE(Sandbox::Exists(s.box / "gone.qdx"));
    EXPECT_EQ(s.Calls(1), "advertisement,\"UP.QDX\"\n");
}

TEST(CuiProgram, SomeRunsEachFileInOrderAndReportsTheOnesItCannotUse) {
    StandIn s;
    Sandbox::WriteFile(s.box / "a.xml", ParamFile("http://a.example/", "/s/a.html", kAllOn, kEnvironment));
    Sandbox::WriteFile(s.box / "b.xml", ParamFile("http://b.example/x.jpg", "/s/b.jpg", "", kEnvironment));
    Sandbox::WriteFile(s.box / "c.xml", ParamFile("http://c.example/", "/s/c.html", kSomeOn, kEnvironment));
    Sandbox::WriteFile(s.box / "nourl.xml", Sjis("<qdxsome:document><save>/s/x</save></qdxsome:document>"));
    Sandbox::WriteFile(s.box / "quote.xml", ParamFile("http://q.example/\"x", "/s/q.html", kAllOn, kEnvironment));
    Sandbox::WriteFile(s.box / "bytes.xml", "<url>\x81</url>");
    int code = -1;
    const std::string printed = RunTool(s.cui,
                                    {"/some", "a.xml", "/some", "nourl.xml", "/some", "b.xml", "/some", "quote.xml",
                                     "/some", "bytes.xml", "/some", "c.xml"},
                                    s.box.Path(), &code);
    EXPECT_EQ(code, 2);  // the files it could not use
    EXPECT_EQ(printed,
              "\nFinish!\n\n"
              "\n'nourl.xml' の形式が正しくありません。\n\n"
              "\nFinish!\n\n"
              "'quote.xml' の url または save に、Sitrova に渡せない文字（\"、改行）があります。\n"
              "\n'bytes.xml' の形式が正しくありません。\n\n"
              "\nFinish!\n\n");
    EXPECT_EQ(s.Calls(3),
              "SomeComplete,\"http://a.example/\",\"/s/a.html\",\"957\",\"3\",\"2\"\n"
              "SomeSeries,\"http://b.example/x.jpg\",\"/s/b.jpg\"\n"
              "SomeComplete,\"http://c.example/\",\"/s/c.html\",\"769\",\"3\",\"2\"\n");

    // "Finish!" only for a job that ran; the code is the worst of the jobs' codes.
    const struct {
        std::string codes;
        std::string printed;
        int code;
    } ends[] = {
        {"0\n1\n", "\nFinish!\n\n\nFinish!\n\n", 1},
        {"3\n0\n", "\nFinish!\n\n\nFinish!\n\n", 3},
        {"2\n0\n", "\nFinish!\n\n", 2},  // Sitrova refused the first job
        {"5\n4\n", "\nFinish!\n\n", 5},  // the first target was busy
    };
    for (const auto& e : ends) {
        SCOPED_TRACE(e.codes);
        ASSERT_TRUE(platform::RemoveFile(s.calls));
        Sandbox::WriteFile(s.box / "bin/codes", e.codes);
        EXPECT_EQ(RunTool(s.cui, {"/some", "a.xml", "/some", "c.xml"}, s.box.Path(), &code), e.printed);
        EXPECT_EQ(code, e.code);
    }

    // Without a Sitrova to start, the file is reported and the exit code tells the batch.
    ASSERT_TRUE(platform::RemoveFile(s.box / "bin/Sitrova"));
    EXPECT_NE(RunTool(s.cui, {"/some", "a.xml"}, s.box.Path(), &code).find("Sitrova を起動できませんでした"),
              std::string::npos);
    EXPECT_EQ(code, 6);
}

TEST(CuiProgram, SomeReadsParameterFilesAsXml) {
    StandIn s;
    auto doc = [](const std::string& url, const std::string& save) {
        return "<qdxsome:document>\r\n  <url>" + url + "</url>\r\n  <save>" + save + "</save>\r\n</qdxsome:document>\r\n";
    };
    const std::string utf8Declared = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + doc("http://u.example/", "/s/日本.html");
    const struct {
        std::string name, bytes;
    } files[] = {
        // What our own batch writes for a URL with "&" and a folder "R&D".
        {"entities.xml", Sjis(doc("http://e.example/?a=1&amp;b=2", "/s/R&amp;D/&apos;q&apos;&#x41;&#66;.html"))},
        {"comment.xml", Sjis("<qdxsome:document><!-- <url>http://old.example/</url> -->" +
                             doc("http://new.example/", "/s/c.html").substr(18))},
        {"indented.xml", Sjis(doc("\r\n    http://i.example/\r\n  ", "\t/s/i.html "))},
        {"cdata.xml", Sjis(doc("<![CDATA[http://d.example/?a=1&b=2]]>", "/s/d.html"))},
        {"utf8.xml", utf8Declared},
        {"bom.xml", "\xEF\xBB\xBF" + doc("http://b.example/", "/s/日本.html")},
        {"unclosed.xml", Sjis(doc("http://m.example/", "/s/m.html").erase(78))},
        {"badutf8.xml", utf8Declared + "<!-- \x81 -->"},
    };
    std::vector<std::string> args;
    for (const auto& f : files) {
        Sandbox::WriteFile(s.box / f.name, f.bytes);
        args.insert(args.end(), {"/some", f.name});
    }
    std::string errors;
    const std::string printed = RunTool(s.cui, args, s.box.Path(), nullptr, &errors);
    std::string finished;
    for (int i = 0; i < 6; ++i) finished += "\nFinish!\n\n";
    EXPECT_EQ(printed, finished + "\n'unclosed.xml' の形式が正しくありません。\n\n"
                                  "\n'badutf8.xml' の形式が正しくありません。\n\n");
    EXPECT_EQ(s.Calls(6),
              "SomeSeries,\"http://e.example/?a=1&b=2\",\"/s/R&D/'q'AB.html\"\n"
              "SomeSeries,\"http://new.example/\",\"/s/c.html\"\n"
              "SomeSeries,\"http://i.example/\",\"/s/i.html\"\n"
              "SomeSeries,\"http://d.example/?a=1&b=2\",\"/s/d.html\"\n"
              "SomeSeries,\"http://u.example/\",\"/s/日本.html\"\n"
              "SomeSeries,\"http://b.example/\",\"/s/日本.html\"\n");
    // Why a file could not be read goes to the error output, naming the file.
    EXPECT_NE(errors.find("'unclosed.xml': "), std::string::npos) << errors;
    EXPECT_NE(errors.find("'badutf8.xml': UTF-8"), std::string::npos) << errors;
}

TEST(CuiProgram, NamedOptionsOfAParameterFileGoBeforeTheJobArgument) {
    StandIn s;
    auto doc = [](const std::string& web) {
        return Sjis("<qdxsome:document><url>http://w.example/</url><save>/s/w.html</save>" + web +
                    "</qdxsome:document>\r\n");
    };
    Sandbox::WriteFile(s.box / "cookie.xml", doc("<weboptions><cookie-file>\r\n/home/me/c.txt\r\n</cookie-file></weboptions>"));
    Sandbox::WriteFile(s.box / "unknown.xml", doc("<weboptions><not-yet>1</not-yet></weboptions>"));
    Sandbox::WriteFile(s.box / "relative.xml", doc("<weboptions><cookie-file>c.txt</cookie-file></weboptions>"));
    int code = -1;
    std::string errors;
    const std::string printed = RunTool(s.cui, {"/some", "cookie.xml", "/some", "unknown.xml", "/some", "relative.xml"},
                                        s.box.Path(), &code, &errors);
    EXPECT_EQ(code, 2);
    // An option this version does not know is not used, and the error output says so.
    EXPECT_NE(errors.find("'unknown.xml': <weboptions> の <not-yet> はこの版の知らない設定"), std::string::npos) << errors;
    EXPECT_NE(printed.find("'relative.xml': cookie-file の値が正しくありません"), std::string::npos) << printed;
    EXPECT_EQ(s.Calls(2), "--cookie-file=/home/me/c.txt SomeSeries,\"http://w.example/\",\"/s/w.html\"\n"
                          "SomeSeries,\"http://w.example/\",\"/s/w.html\"\n");
}
