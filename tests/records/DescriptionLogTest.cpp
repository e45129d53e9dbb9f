#include <gtest/gtest.h>

#include <string>

#include "engine/ModeFlags.h"
#include "engine/ProgressText.h"
#include "engine/SaveJob.h"
#include "engine/SaveManager.h"
#include "platform/ByteString.h"
#include "platform/Clock.h"
#include "records/DescriptionLog.h"
#include "tests/support/Sandbox.h"

using testsupport::Sandbox;

namespace {

const std::string kGolden = std::string(SITROVA_TEST_DATA) + "/records/Description.golden";

void PrepareJob(engine::SaveJob& job, const std::string& target) {
    job.SetModeBits(engine::mode::ModeSomeComplete | 0x301);
    job.ClearModeBits(engine::mode::ModeNormal);
    job.SetStartUrl("http://example.com/docs/page.html");
    job.SetSaveTarget(target);
    job.SetLankLimit(2);
    job.SetJobSummary(engine::BuildJobSummary(job));
}

std::string Expected(const std::string& folder, const std::string& date, const std::string& time) {
    std::string text = Sandbox::ReadFile(kGolden);
    EXPECT_FALSE(text.empty());
    platform::ReplaceAll(text, "@FOLDER@", folder);
    platform::ReplaceAll(text, "@DATE@", date);
    platform::ReplaceAll(text, "@TIME@", time);
    return text;
}

}  // namespace

TEST(DescriptionLog, WrittenByteForByteInShiftJis) {
    Sandbox box;
    engine::SaveJob job;
    PrepareJob(job, box / "docs～.html");
    const std::string result = engine::CompletionText(job.ModeFlags(), false, "docs～", 1);
    EXPECT_EQ(records::DescriptionLogPath(job), box / "docs～-Description.log");

    const std::string dateBefore = platform::LocalDateText(), timeBefore = platform::LocalTimeText();
    std::string error;
    ASSERT_EQ(records::WriteDescriptionLogFile(job, result, error), 1) << error;
    const std::string dateAfter = platform::LocalDateText(), timeAfter = platform::LocalTimeText();

    // The clock may tick between the write and the reading of the stamp.
    const std::string written = Sandbox::ReadFile(box / "docs～-Description.log");
    if (written != Expected(box.Path(), dateBefore, timeBefore)) {
        EXPECT_EQ(written, Expected(box.Path(), dateAfter, timeAfter));
    }
    EXPECT_FALSE(Sandbox::Exists(box / "docs～-Description.logTemp"));
}

TEST(DescriptionLog, UnmappableTextIsReportedAndNothingWritten) {
    Sandbox box;
    engine::SaveJob job;
    PrepareJob(job, box / "docs.html");
    std::string error;
    EXPECT_EQ(records::WriteDescriptionLogFile(job, "emoji \xF0\x9F\x98\x80 here", error), 0);
    EXPECT_NE(error.find("説明ログに書けない文字があります"), std::string::npos) << error;
    EXPECT_FALSE(Sandbox::Exists(box / "docs-Description.log"));
}

TEST(DescriptionLog, NameLosesOnlyItsLastExtension) {
    const std::pair<std::string, std::string> cases[] = {
        {"site.html", "site"}, {"a.b.htm", "a.b"}, {"noext", "noext"}, {"folder.x/", "folder.x/"}, {".html", ""},
    };
    for (const auto& [name, stripped] : cases) EXPECT_EQ(records::StripExtension(name), stripped) << name;
}
