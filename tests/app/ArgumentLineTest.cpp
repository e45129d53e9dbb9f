#include <gtest/gtest.h>

#include <algorithm>

#include "app/ArgumentLine.h"
#include "app/CommandLine.h"
#include "app/NamedArguments.h"
#include "app/StartUp.h"
#include "engine/NamedOptions.h"
#include "engine/SaveJob.h"
#include "platform/UiLanguage.h"
#include "records/SaveTarget.h"
#include "tests/support/Sandbox.h"

using namespace engine::mode;
using app::ParseArgumentLine;
using engine::SaveJob;
using testsupport::Sandbox;

TEST(ArgumentLine, SomeCompleteFillsEveryField) {
    SaveJob job;
    ParseArgumentLine("SomeComplete,\"http://h/a/\",\"/s/site\",\"1\",\"0\",\"4\"", job);
    EXPECT_EQ(job.ModeFlags(), ModeSomeComplete | ModeIndexAppended);  // the sender's ModeNormal is cleared
    EXPECT_EQ(job.UrlBase(), "http://h/a/");
    EXPECT_EQ(job.UrlLeaf(), "index.html");
    EXPECT_EQ(job.StartUrl(), "http://h/a/");
    EXPECT_EQ(job.SaveFolder(), "/s/");
    EXPECT_EQ(job.SaveName(), "site");
    EXPECT_EQ(job.LankLimit(), 0);
    EXPECT_EQ(job.CpuSleepMs(), 0u);
}

// A save from a web archive is a complete save with the archive beside it; options it does not
// name are the usual ones.
TEST(ArgumentLine, SomeWarcIsACompleteSaveFromItsArchive) {
    SaveJob job;
    const auto parsed = ParseArgumentLine(app::SomeWarcArgument("/a/site.warc.gz", "http://h/x.html", "/s/x.html"), job);
    EXPECT_EQ(parsed.archivePath, "/a/site.warc.gz");
    EXPECT_EQ(job.ModeFlags(), ModeSomeComplete | datafolder | qdxfile);
    EXPECT_EQ(job.StartUrl(), "http://h/x.html");
    EXPECT_EQ(job.SaveFolder() + job.SaveName(), "/s/x.html");
    EXPECT_EQ(job.CpuSleepMs(), 0u);
    SaveJob named;
    ParseArgumentLine("SomeWarc,\"/a/s.wacz\",\"http://h/\",\"/s/x.html\",\"265\",\"2\",\"3\"", named);
    EXPECT_EQ(named.ModeFlags(), ModeSomeComplete | datafolder | arias | ModeIndexAppended);
    EXPECT_EQ(named.LankLimit(), 2);
    EXPECT_EQ(named.CpuSleepMs(), 3u);
}

TEST(ArgumentLine, AStartUrlWithoutPathIsTheHostsStartPage) {
    for (const char* url : {"http://h:8080", "http://h:8080/"}) {
        SaveJob job;
        ParseArgumentLine(std::string("SomeComplete,\"") + url + "\",\"/s/site.html\",\"1\",\"0\",\"4\"", job);
        EXPECT_EQ(job.UrlBase(), "http://h:8080/") << url;
        EXPECT_EQ(job.StartUrl(), "http://h:8080/") << url;
        EXPECT_TRUE(job.Has(ModeIndexAppended)) << url;
    }
}

TEST(ArgumentLine, KeywordIsFoundInAnyCaseBehindBlanks) {
    SaveJob job;
    ParseArgumentLine("  somecomplete,\"http://h/x.html\",\"/s/x.html\",\"769\",\"2\",\"3\"", job);
    EXPECT_EQ(job.ModeFlags(), ModeSomeComplete | datafolder | qdxfile);
    EXPECT_EQ(job.LankLimit(), 2);
    EXPECT_EQ(job.CpuSleepMs(), 3u);

    SaveJob other;
    ParseArgumentLine("x SomeComplete,\"http://h/x.html\",\"/s/x.html\",\"1\",\"0\",\"4\"", other);
    EXPECT_EQ(other.ModeFlags(), ModeNormal);  // not at the very beginning: a plain argument
}

TEST(ArgumentLine, CpuLevelsOfTheCommandLine) {
    for (auto [level, sleep] : {std::pair{"1", 999u}, {"2", 99u}, {"3", 3u}, {"4", 0u}, {"7", 0u}, {"x", 0u}}) {
        SaveJob job;
        ParseArgumentLine(std::string("SomeComplete,\"http://h/i.html\",\"/s/i.html\",\"0\",\"0\",\"") + level + "\"",
                          job);
        EXPECT_EQ(job.CpuSleepMs(), sleep) << level;
    }
}

TEST(ArgumentLine, MissingFieldsReadAsEmptyOrZero) {
    SaveJob job;
    ParseArgumentLine("SomeComplete,\"http://h/i.html\"", job);
    EXPECT_EQ(job.StartUrl(), "http://h/i.html");
    EXPECT_EQ(job.SaveName(), "");
    EXPECT_EQ(job.LankLimit(), 0);
    EXPECT_EQ(job.ModeFlags(), ModeSomeComplete);

    SaveJob bare;
    ParseArgumentLine("SomeComplete", bare);
    EXPECT_EQ(bare.StartUrl(), "");
    EXPECT_EQ(bare.ModeFlags(), ModeSomeComplete);
}

TEST(ArgumentLine, NegativeLimitAndSenderBits) {
    SaveJob job;
    ParseArgumentLine("SomeComplete,\"http://h/i.html\",\"/s/i.html\",\"4294967295\",\"-5\",\"4\"", job);
    EXPECT_EQ(job.LankLimit(), 0);
    EXPECT_FALSE(job.Has(ModeNormal));
    EXPECT_TRUE(job.Has(neglect | arias));
}

TEST(ArgumentLine, SomeSeriesAndPresetUrl) {
    SaveJob series;
    ParseArgumentLine("SomeSeries,\"http://h/d/\",\"/s/f.zip\"", series);
    EXPECT_EQ(series.ModeFlags(), ModeSomeSeries | ModeIndexAppended);
    EXPECT_EQ(series.SaveName(), "f.zip");

    SaveJob preset;
    ParseArgumentLine("PresetUrl,\"http://h/d/\",\"\"", preset);
    EXPECT_EQ(preset.ModeFlags(), ModePresetUrl);  // no index.html rule for a preset URL
    EXPECT_EQ(preset.UrlBase(), "http://h/d/");
    EXPECT_EQ(preset.UrlLeaf(), "");
    EXPECT_EQ(preset.SaveName(), "");
    EXPECT_EQ(preset.SaveFolder(), "");

    SaveJob filled;
    ParseArgumentLine("PresetUrl,\"http://h/p.html\",\"/s/p.html\"", filled);
    EXPECT_EQ(filled.SaveFolder(), "/s/");
    EXPECT_EQ(filled.SaveName(), "p.html");
}

TEST(ArgumentLine, AdvertisementAndMaker) {
    SaveJob ad;
    ParseArgumentLine("advertisement,\"/s/site.qdx\"", ad);
    EXPECT_EQ(ad.ModeFlags(), ModeAdRemoval);
    EXPECT_EQ(ad.QdxPath(), "/s/site.qdx");

    SaveJob maker;
    ParseArgumentLine("ravevorANYTHING", maker);
    EXPECT_EQ(maker.ModeFlags(), ModeMaker);
}

TEST(ArgumentLine, RecordPathsAndPlainArguments) {
    struct Case {
        const char* line;
        bool qdx;
        const char* path;
    } cases[] = {
        {"\"/s/My Site.QDX\"", true, "/s/My Site.QDX"},
        {"a.qdx", true, "a.qdx"},
        {".qdx", false, ""},           // four characters: the plain input view
        {"/s/page.html", false, ""},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        SaveJob job;
        app::ParsedArguments parsed = ParseArgumentLine(c.line, job);
        EXPECT_EQ(parsed.qdxArgument, c.qdx) << c.line;
        EXPECT_EQ(parsed.qdxPath, c.path) << c.line;
        EXPECT_EQ(job.ModeFlags(), c.qdx ? 0u : ModeNormal) << c.line;
    }
}

TEST(ArgumentLine, UnquoteAndBlanks) {
    EXPECT_EQ(app::Unquote("  \"/a b/c.qdx\" trailing"), "/a b/c.qdx");
    EXPECT_EQ(app::Unquote("\"/open"), "/open");
    EXPECT_EQ(app::Unquote("  plain"), "plain");
    EXPECT_EQ(app::SkipLeadingBlanks("   "), " ");  // the last character always stays
    EXPECT_EQ(app::SomeCompleteArgument("http://h/", "/s/x", 769, "1", 3),
              "SomeComplete,\"http://h/\",\"/s/x\",\"769\",\"1\",\"3\"");
}

TEST(StartUp, UnreadableRecordLeavesWithItsMessage) {
    testsupport::Sandbox box;
    SaveJob job;
    app::StartDecision d = app::DecideStart(box / "missing.qdx", job);
    EXPECT_TRUE(d.leave);
    EXPECT_EQ(d.errorMessage, "Qdx-Error:2\r\n指定されたファイルが開けません。");
    EXPECT_EQ(job.ModeFlags(), 0u);
}

TEST(StartUp, KindsAndCatalogueArguments) {
    SaveJob job;
    app::StartDecision d = app::DecideStart("SomeComplete,\"http://h/d/\",\"/s/site.html\",\"0\",\"0\",\"4\"", job);
    EXPECT_FALSE(d.leave);
    EXPECT_EQ(d.windowKind, ModeSomeComplete);
    EXPECT_EQ(app::CatalogueArguments(job), (std::vector<std::string>{"SITE", "http://h/d/", "/s/site.html"}));
    job.SetModeBits(ModeMainClosed);
    EXPECT_TRUE(app::CatalogueArguments(job).empty());

    SaveJob interactive;
    EXPECT_EQ(app::DecideStart("", interactive).windowKind, ModeNormal);
    EXPECT_EQ(app::InstanceNameOf("/a/b/site.qdx"), "/a/b/site.qdx");
}

TEST(StartUp, ExitOfAFinishedInteractiveSaveOpensTheResult) {
    testsupport::Sandbox box;
    SaveJob job;
    job.SetProgramFolder(box.Path().substr(0, box.Path().size() - 1));
    job.SetModeBits(ModeNormal | ModeJobFinished);
    job.SetStartUrl("http://h/i.html");
    job.SetSaveTarget(box / "site.html");
    auto started = app::ExitActions(job, false);
    ASSERT_EQ(started.size(), 2u);  // default settings: open the page, then the catalogue
    EXPECT_EQ(started[0], (std::vector<std::string>{"xdg-open", box / "site.html"}));
    EXPECT_EQ(started[1][1], "SITE");

    SaveJob unattended;
    unattended.SetModeBits(ModeSomeComplete | ModeJobFinished);
    started = app::ExitActions(unattended, false);
    ASSERT_EQ(started.size(), 1u);  // the catalogue only
    EXPECT_EQ(started[0][1], "SITE");
}

TEST(StartUp, CatalogueGetsTheSavedStartPageAndTheRecord) {
    testsupport::Sandbox box;
    SaveJob job;
    ASSERT_FALSE(app::DecideStart("SomeComplete,\"http://h/d/i.html\",\"" + (box / "docs.html") + "\",\"768\",\"0\",\"4\"", job).leave);
    std::vector<std::string> notes;
    records::PrepareSaveTarget(job, notes);  // data folder and record
    const std::vector<std::string> site = app::CatalogueArguments(job);
    ASSERT_EQ(site.size(), 3u);
    EXPECT_EQ(site[2], box / "docs.files/i.html");
    EXPECT_TRUE(app::CatalogueRecordArguments(job).empty());  // not finished yet
    job.SetModeBits(ModeJobFinished);
    EXPECT_EQ(app::CatalogueRecordArguments(job), (std::vector<std::string>{"QDX", box / "docs.qdx"}));
}

TEST(StartUp, ASettingsValueItsOptionCannotTakeIsNamedInTheSaveLog) {
    testsupport::Sandbox box;
    Sandbox::WriteFile(box / "Sitrov.ini", "[WebOptions]\r\nwait-ms=fast\r\nsitemaps=1\r\n");
    engine::SaveJob job;
    job.SetProgramFolder(box.Path());
    app::SetNamedOptionsForStart(job, {"--ignore-robots=1", "SomeComplete,\"http://h/\",\"/s/site.html\""});
    EXPECT_EQ(job.Named().waitMs, 0);
    EXPECT_TRUE(job.Named().sitemaps && job.Named().ignoreRobots);
    const std::vector<std::string> log = job.DetailedLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("Sitrov.ini の [WebOptions]: wait-ms の値が正しくありません", 0), 0u) << log[0];
}

TEST(StartUp, NamedOptionsComeBeforeTheJobAndOverrideTheSettings) {
    testsupport::Sandbox box;
    const std::string ini = box / "Sitrov.ini";
    const std::string job = "SomeComplete,\"http://h/\",\"/s/site.html\",\"1\",\"0\",\"4\"";
    Sandbox::WriteFile(ini, "[WebOptions]\r\ncookie-file=/etc/ini-cookies.txt\r\n");
    EXPECT_EQ(app::NamedOptionsForStart(ini, {job}).cookieFile, "/etc/ini-cookies.txt");
    EXPECT_EQ(app::NamedOptionsForStart(ini, {"--cookie-file=/home/me/c.txt", job}).cookieFile, "/home/me/c.txt");
    EXPECT_EQ(app::NamedOptionsForStart(ini, {"--cookie-file=", job}).cookieFile, "");

    std::vector<std::string> args = {"Sitrova", "--cookie-file=/home/me/c.txt", job};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    EXPECT_EQ(app::ArgumentLineFromArgv(static_cast<int>(argv.size()), argv.data()), job);
    EXPECT_FALSE(app::CheckCommandLine({"--cookie-file=/home/me/c.txt", job}, false, "1").leave);

    for (const auto& [argument, why] : std::vector<std::pair<std::string, std::string>>{
             {"--cookie-file=c.txt", "cookie-file の値が正しくありません"}, {"--no-such=1", "不明なオプションです: --no-such"}}) {
        const platform::StartVerdict verdict = app::CheckCommandLine({argument, job}, false, "1");
        EXPECT_TRUE(verdict.leave);
        EXPECT_EQ(verdict.exitCode, 2);
        EXPECT_NE(verdict.err.find(why), std::string::npos) << verdict.err;
    }
    EXPECT_NE(app::UsageText().find("  --cookie-file=値"), std::string::npos);
}

// In English the user reads English, while the save log keeps the Japanese it always had.
TEST(CommandLineLanguage, UsageAndRefusalsAreEnglishAndTheSaveLogStaysJapanese) {
    struct English {
        English() { platform::SetUiLanguage(platform::UiLanguage::English); }
        ~English() { platform::SetUiLanguage(platform::UiLanguage::Japanese); }
    } english;
    const std::string usage = app::UsageText();
    EXPECT_TRUE(std::all_of(usage.begin(), usage.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        << usage;
    // Each named option has its help, in the column of the other arguments' help.
    for (const engine::NamedOptionDescriptor& option : engine::NamedOptionTable()) {
        SCOPED_TRACE(option.name);
        const std::string head = "\n  --" + std::string(option.name) + "=value ";
        const size_t at = usage.find(head);
        ASSERT_NE(at, std::string::npos);
        const size_t help = usage.find_first_not_of(' ', at + head.size());
        EXPECT_EQ(help - at - 1, std::max<size_t>(32, head.size() - 1)) << usage.substr(at, 80);
    }
    const std::string job = "SomeComplete,\"http://h/\",\"/s/site.html\",\"1\",\"0\",\"4\"";
    EXPECT_EQ(app::CheckCommandLine({"--cookie-file=c.txt", job}, false, "1").err,
              "Sitrova: The value of cookie-file is not valid (give an absolute path starting with /).\n");
    EXPECT_EQ(app::CheckCommandLine({"--no-such=1", job}, false, "1").err, "Sitrova: Unknown option: --no-such\n");

    testsupport::Sandbox box;
    Sandbox::WriteFile(box / "Sitrov.ini", "[WebOptions]\r\nwait-ms=99999\r\n");
    engine::SaveJob saved;
    saved.SetProgramFolder(box.Path());
    app::SetNamedOptionsForStart(saved, {job});
    const std::vector<std::string> log = saved.DetailedLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "Sitrov.ini の [WebOptions]: wait-ms の値が正しくありません（0～60000 の整数を指定してください）。"
                      "既定の値で保存します。");
}
