// The programs' console texts follow the user's language, and the language changes nothing
// that a save writes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>

#include "platform/Codepage.h"
#include "platform/FileUtil.h"
#include "platform/Process.h"
#include "records/HistoryIndex.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"

namespace fs = std::filesystem;
using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

struct Output {
    int code = -1;
    std::string out, err;
};

// Runs `program` without a display, with `locale` as the only language variables ("LANGUAGE=en",
// "LANG=C.UTF-8"); stdout and stderr land in `box`.
Output RunIn(const std::vector<std::string>& locale, const std::string& program, const std::vector<std::string>& args,
             const Sandbox& box) {
    std::vector<std::string> shell = {
        "-c",
        "cd \"$1\" && shift && exec env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u LANGUAGE -u LC_ALL "
        "-u LC_MESSAGES -u LANG \"$@\" > out.txt 2> err.txt",
        "sh", box.Path()};
    shell.insert(shell.end(), locale.begin(), locale.end());
    shell.insert(shell.end(), {"timeout", "120", program});
    shell.insert(shell.end(), args.begin(), args.end());
    Output run;
    EXPECT_EQ(platform::StartProcess("sh", shell, true, &run.code), platform::ProcessStarted);
    run.out = Sandbox::ReadFile(box / "out.txt");
    run.err = Sandbox::ReadFile(box / "err.txt");
    return run;
}

std::string Built(const std::string& name) { return std::string(SITROVA_BIN_DIR) + "/" + name; }

bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A copy of a built program in a folder of its own, which then holds its settings.
std::string CopyProgram(const std::string& name, const std::string& folder) {
    const std::string copy = folder + name;
    EXPECT_TRUE(platform::CopyFile(Built(name), copy));
    ::chmod(copy.c_str(), 0755);
    return copy;
}

std::string Sjis(const std::string& utf8) {
    std::string bytes;
    EXPECT_EQ(platform::Utf8ToCp932(utf8, bytes), platform::CodepageOk);
    return bytes;
}

// A log's bytes with the clock taken out: the stamps of the saved-site log and the time a
// save took.
std::string TimesAside(std::string bytes) {
    static const std::regex stamp(R"(\d{4}/\d{2}/\d{2} - \d{2}:\d{2}:\d{2})");
    bytes = std::regex_replace(bytes, stamp, "STAMP");
    const std::string took = Sjis("所要時間：");
    for (size_t at = bytes.find(took); at != std::string::npos; at = bytes.find(took, at + 1))
        bytes.erase(at + took.size(), bytes.find('\r', at) - at - took.size());
    return bytes;
}

// Every file below `root` but the program itself, by its relative path, times aside; the
// history index by its rows, its clock columns aside.
std::map<std::string, std::string> Contents(const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file() || entry.path().filename() == "Sitrova") continue;
        const std::string name = fs::relative(entry.path(), root).string();
        if (entry.path().filename() != records::kHistoryIndexName) {
            files[name] = TimesAside(Sandbox::ReadFile(entry.path().string()));
            continue;
        }
        records::HistoryIndex index;
        EXPECT_TRUE(index.OpenReadOnly(entry.path().string())) << name;
        std::string rows;
        for (const records::HistoryRun& run : index.Runs()) {
            rows += run.kind + " " + std::to_string(run.result) + " " + run.versions;
            for (int64_t count : run.counts) rows += " " + std::to_string(count);
            rows += "\n";
            for (const records::HistoryEntry& e : index.EntriesOfRun(run.id))
                rows += e.url + " " + e.path + " " + std::to_string(e.page) + " " + e.status + " " + e.etag + " " +
                        e.lastModified + " " + std::to_string(e.size) + " " + e.hash + "\n";
        }
        files[name] = rows;
    }
    return files;
}

}  // namespace

TEST(ConsoleLanguage, UsageIsEnglishUnderTheCLocaleAndJapaneseUnderAJapaneseOne) {
    Sandbox box;
    const struct {
        const char* program;
        const char* option;
        const char* english;
        const char* japanese;
    } programs[] = {
        {"Sitrova", "--help", "Usage: Sitrova [arguments]\n", "使い方: Sitrova [引数]\n"},
        {"SitrovaCui", "/?", "\nSitrovaCui option [file-path] [Url]\n", "\nSitrovaCui オプション [ファイルパス] [Url]\n"},
        {"SitrovaCui", "--help", "\nSitrovaCui option [file-path] [Url]\n", "\nSitrovaCui オプション [ファイルパス] [Url]\n"},
        {"QdXScheduler", "--help", "Usage: QdXScheduler\n", "使い方: QdXScheduler\n"},
        {"QdxSuite", "-h", "Usage: QdxSuite ", "使い方: QdxSuite "},
        {"AlbumFetcher", "--help", "Usage: AlbumFetcher ", "使い方: AlbumFetcher "},
    };
    for (const auto& p : programs) {
        SCOPED_TRACE(std::string(p.program) + " " + p.option);
        const Output english = RunIn({"LANG=C.UTF-8"}, Built(p.program), {p.option}, box);
        EXPECT_EQ(english.code, 0);
        EXPECT_EQ(english.out.rfind(p.english, 0), 0u) << english.out;
        EXPECT_TRUE(IsAscii(english.out)) << english.out;
        const Output japanese = RunIn({"LANG=ja_JP.UTF-8"}, Built(p.program), {p.option}, box);
        EXPECT_EQ(japanese.code, 0);
        EXPECT_EQ(japanese.out.rfind(p.japanese, 0), 0u) << japanese.out;
        // The options, the exit codes and the version keep their spelling in either language.
        if (std::string(p.option) != "/?") {
            EXPECT_NE(english.out.find("Exit codes:\n  0  "), std::string::npos);
            EXPECT_NE(japanese.out.find("終了コード:\n  0  "), std::string::npos);
        }
        EXPECT_EQ(RunIn({"LANG=C.UTF-8"}, Built(p.program), {"--version"}, box).out,
                  RunIn({"LANG=ja_JP.UTF-8"}, Built(p.program), {"--version"}, box).out);
    }
    // What a start without a display refuses, and why, in English too.
    const Output refused = RunIn({"LANGUAGE=en"}, Built("Sitrova"), {"SomeComplete,\"http://127.0.0.1:9/\""}, box);
    EXPECT_EQ(refused.code, 2);
    EXPECT_EQ(refused.err, "Sitrova: SomeComplete needs five fields: URL, save location, options, upper level limit "
                           "and CPU level.\n");
    const Output bad = RunIn({"LANGUAGE=en"}, Built("Sitrova"), {"--wait-ms=x", "SomeComplete"}, box);
    EXPECT_EQ(bad.err, "Sitrova: The value of wait-ms is not valid (give a whole number from 0 to 60000).\n");
    const Output none = RunIn({"LANGUAGE=en"}, Built("SitrovaCui"), {}, box);
    EXPECT_EQ(none.code, 2);
    EXPECT_EQ(none.err, "SitrovaCui: No option given (usage: SitrovaCui /?).\n");
}

TEST(ConsoleLanguage, TheSettingBesideTheProgramOverridesTheLocale) {
    Sandbox box;
    const std::string cui = CopyProgram("SitrovaCui", box.Path());
    Sandbox::WriteFile(box / "Sitrov.ini", "[Display]\r\nLanguage=ja\r\n");
    EXPECT_EQ(RunIn({"LANG=C.UTF-8"}, cui, {"/?"}, box).out.rfind("\nSitrovaCui オプション", 0), 0u);
    Sandbox::WriteFile(box / "Sitrov.ini", "[Display]\r\nLanguage=en\r\n");
    EXPECT_EQ(RunIn({"LANG=ja_JP.UTF-8"}, cui, {"/?"}, box).out.rfind("\nSitrovaCui option", 0), 0u);
    // "auto" (and anything it does not know) leaves the choice to the locale.
    Sandbox::WriteFile(box / "Sitrov.ini", "[Display]\r\nLanguage=auto\r\n");
    EXPECT_EQ(RunIn({"LANG=ja_JP.UTF-8"}, cui, {"/?"}, box).out.rfind("\nSitrovaCui オプション", 0), 0u);
    EXPECT_EQ(RunIn({"LANGUAGE=en"}, cui, {"/?"}, box).out.rfind("\nSitrovaCui option", 0), 0u);
}

// The demo site, saved unattended once in English and once in Japanese into the same place by
// a program in the same place: every file the save leaves, its logs and records included, is
// the same. Only the messages on stderr differ.
TEST(ConsoleLanguage, TheLanguageChangesNoFileOfASave) {
    const std::string site = std::string(SITROVA_TEST_DATA) + "/demo-site";
    // Without the rule that breaks connections on the first tries only: both runs get alike answers.
    std::string rules = Sandbox::ReadFile(site + "/rules.json");
    rules = std::regex_replace(rules, std::regex(R"(\n[^\n]*"drop_after"[^\n]*)"), "");
    LoopbackServer other(site + "/other", "", "127.0.0.2");
    LoopbackServer main(site + "/main", rules, "127.0.0.1", {"PORT2=" + std::to_string(other.Port())});
    ASSERT_TRUE(other.Running());
    ASSERT_TRUE(main.Running());
    Sandbox box;
    const std::string url = main.BaseUrl() + "/site/top/index.html";
    // Data folder, record file, outside-domain list, dynamic pages.
    const std::string job = "SomeComplete,\"" + url + "\",\"" + box.Path() + "out/demo.html\",\"" +
                            std::to_string(0x1 | 0x10 | 0x100 | 0x200 | 0x80000) + "\",\"1\",\"4\"";
    std::map<std::string, std::map<std::string, std::string>> files;
    std::map<std::string, std::string> errors;
    for (const char* language : {"en", "ja"}) {
        SCOPED_TRACE(language);
        fs::create_directories(box / "bin");
        const Output run =
            RunIn({"LANG=C.UTF-8", std::string("LANGUAGE=") + language}, CopyProgram("Sitrova", box / "bin/"), {job}, box);
        EXPECT_EQ(run.code, 1) << run.err;  // saved, but the demo's missing pages are gone
        errors[language] = run.err;
        files[std::string(language) + " save"] = Contents(box / "out");
        files[std::string(language) + " program"] = Contents(box / "bin");
        fs::rename(box / "out", box / ("out-" + std::string(language)));
        fs::rename(box / "bin", box / ("bin-" + std::string(language)));
    }
    EXPECT_GT(files["ja save"].size(), 40u);
    for (const char* part : {" save", " program"}) {
        const auto& english = files[std::string("en") + part];
        const auto& japanese = files[std::string("ja") + part];
        EXPECT_EQ(english.size(), japanese.size()) << part;
        for (const auto& [name, bytes] : japanese) {
            SCOPED_TRACE(name);
            ASSERT_EQ(english.count(name), 1u);
            EXPECT_TRUE(english.at(name) == bytes) << "differs between the languages";
        }
    }
    EXPECT_EQ(errors["en"], "[Sitrova] The save has finished, but some files failed to download (listed in the error "
                            "log).\n");
    EXPECT_EQ(errors["ja"],
              "[Sitrova] 保存を終えましたが、ダウンロードに失敗したファイルがあります（エラーログに記録しました）。\n");
}
