#include <gtest/gtest.h>

#include <climits>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/FileUtil.h"
#include "platform/ProfileFile.h"
#include "tests/support/Sandbox.h"

using namespace platform;
using testsupport::Sandbox;

namespace {

// "設定" in Shift-JIS, and a value whose second byte is "\" (表 = 0x95 0x5C).
const std::string kSjisSettei = "\x90\xdd\x92\xe8";
const std::string kSjisHyou = "\x95\x5c";

struct ReadCase {
    const char* name;
    std::string file;
    const char* section;
    const char* key;
    std::string expected;
};

}  // namespace

TEST(ProfileFile, ReadTextFindsValuesTheWayProfilesDo) {
    const ReadCase cases[] = {
        {"plain", "[A]\r\nk=v\r\n", "A", "k", "v"},
        {"names ignore case", "[basicoption]\r\nDEFMODE=7\r\n", "BasicOption", "DefMode", "7"},
        {"blanks around key and value", "[A]\r\n  k \t=  v w  \r\n", "A", "k", "v w"},
        {"enclosing quotes dropped", "[A]\r\nk=\" padded \"\r\n", "A", "k", " padded "},
        {"single quotes too", "[A]\r\nk='x'\r\n", "A", "k", "x"},
        {"LF-only lines", "[A]\nk=v\n[B]\nk=w\n", "B", "k", "w"},
        {"missing section", "[A]\r\nk=v\r\n", "B", "k", "DEF"},
        {"missing key", "[A]\r\nk=v\r\n", "A", "x", "DEF"},
        {"key without equals sign", "[A]\r\nk\r\n", "A", "k", "DEF"},
        {"empty value is a value", "[A]\r\nk=\r\n", "A", "k", ""},
        {"comment line", "[A]\r\n;k=v\r\n", "A", "k", "DEF"},
        {"key before any section", "k=v\r\n[A]\r\n", "A", "k", "DEF"},
        {"first of two keys", "[A]\r\nk=1\r\nk=2\r\n", "A", "k", "1"},
        {"first of two sections", "[A]\r\nk=1\r\n[B]\r\n[a]\r\nk=2\r\nj=3\r\n", "A", "j", "DEF"},
        {"NUL ends the value", std::string("[A]\r\nk=ab\0cd\r\n", 14), "A", "k", "ab"},
        {"no final line break", "[A]\r\nk=v", "A", "k", "v"},
        {"section name with blanks", "[ A ]\r\nk=v\r\n", "A", "k", "v"},
        {"Shift-JIS value", "[A]\r\nk=" + kSjisSettei + "\r\n", "A", "k", "設定"},
        {"trail byte backslash", "[A]\r\nk=" + kSjisHyou + "\r\n", "A", "k", "表"},
        {"invalid Shift-JIS gives the default", "[A]\r\nk=\x81\x20\r\n", "A", "k", "DEF"},
        {"unclosed section header", "[A\r\nk=v\r\n", "A", "k", "DEF"},
    };
    for (const ReadCase& c : cases) {
        ProfileText text(c.file);
        EXPECT_EQ(text.ReadText(c.section, c.key, "DEF", 260), c.expected) << c.name;
    }
}

TEST(ProfileFile, CapacityCutsWholeCharacters) {
    ProfileText text("[A]\r\nk=ab" + kSjisSettei + "\r\n");
    EXPECT_EQ(text.ReadText("A", "k", "", 4), "ab");    // 3 bytes fit: "ab" and half a character
    EXPECT_EQ(text.ReadText("A", "k", "", 5), "ab設");
    EXPECT_EQ(text.ReadText("A", "k", "", 1), "");
    EXPECT_EQ(text.ReadText("A", "k", "", 0), "");
}

TEST(ProfileFile, NumbersReadThroughTextAndAsIntegers) {
    ProfileText text(
        "[N]\r\nword=1164033\r\ntext=abc\r\nlead=12abc\r\nbig=99999999999999999999\r\nneg=-5\r\nempty=\r\n"
        "long=0000000000000000000000000000000000001\r\n");
    struct Case {
        const char* key;
        int32_t number;  // through text, default 77
        int32_t integer; // profile integer, default 77
    } cases[] = {
        {"word", 1164033, 1164033}, {"text", 0, 0},           {"lead", 12, 12}, {"big", INT32_MAX, INT32_MAX},
        {"neg", -5, -5},            {"empty", 0, 77},         {"missing", 77, 77},
        {"long", 0, 0},  // 31 bytes of zeros: the 32-byte buffer never sees the 1
    };
    for (const Case& c : cases) {
        EXPECT_EQ(text.ReadNumber("N", c.key, 77), c.number) << c.key;
        EXPECT_EQ(text.ReadInt("N", c.key, 77), c.integer) << c.key;
    }
}

TEST(ProfileFile, ReplaceSectionKeepsEverythingElseByteForByte) {
    struct Case {
        const char* name;
        std::string before;
        ProfileEntries entries;
        std::string after;
    } cases[] = {
        {"middle section", "; top\r\n[A]\r\na=1\r\n\r\n[B]\r\nold=1\r\n;c\r\nold2=2\r\n\r\n[C]\nc=3\n",
         {{"x", "1"}, {"y", "2"}},
         "; top\r\n[A]\r\na=1\r\n\r\n[B]\r\nx=1\r\ny=2\r\n\r\n[C]\nc=3\n"},
        {"empty list keeps the header", "[B]\r\nk=v\r\n[C]\r\n", {}, "[B]\r\n[C]\r\n"},
        {"appended to a file without final break", "[A]\r\na=1", {{"k", "v"}}, "[A]\r\na=1\r\n[B]\r\nk=v\r\n"},
        {"new file", "", {{"k", "v"}}, "[B]\r\nk=v\r\n"},
        {"header at the very end", "[A]\r\n[b]", {{"k", "v"}}, "[A]\r\n[b]\r\nk=v\r\n"},
        {"header ending in a lone CR", "[b]\r", {{"k", "v"}}, "[b]\r\nk=v\r\n"},
        {"value ending in a lone CR", "[A]\r\na=1\r", {{"k", "v"}}, "[A]\r\na=1\r\n[B]\r\nk=v\r\n"},
        {"later duplicates removed", "[B]\r\nk=1\r\n[A]\r\n[b]\r\nk=2\r\n", {{"k", "3"}}, "[B]\r\nk=3\r\n[A]\r\n"},
        {"quoted where reading would change it", "", {{"k", " a "}, {"q", "\"x\""}},
         "[B]\r\nk=\" a \"\r\nq=\"\"x\"\"\r\n"},
    };
    for (const Case& c : cases) {
        ProfileText text(c.before);
        std::string error;
        ASSERT_EQ(text.ReplaceSection("B", c.entries, &error), ProfileWritten) << c.name << error;
        EXPECT_EQ(text.Bytes(), c.after) << c.name;
        for (const auto& [key, value] : c.entries) EXPECT_EQ(text.ReadText("B", key, "DEF", 260), value) << c.name;
    }
}

TEST(ProfileFile, UnstorableTextIsAnErrorAndChangesNothing) {
    struct Case {
        const char* name;
        const char* section;
        ProfileEntries entries;
    } cases[] = {
        {"line break in value", "S", {{"k", "a\nb"}}},
        {"equals sign in key", "S", {{"k=x", "v"}}},
        {"empty key", "S", {{"", "v"}}},
        {"bracket in section", "S]", {{"k", "v"}}},
        {"character outside Shift-JIS", "S", {{"k", "snow ☃"}}},
        {"yen sign would come back as a backslash", "S", {{"k", "C:¥x"}}},
    };
    for (const Case& c : cases) {
        ProfileText text("[S]\r\nk=old\r\n");
        std::string error;
        EXPECT_EQ(text.ReplaceSection(c.section, c.entries, &error), ProfileWriteFailed) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
        EXPECT_EQ(text.Bytes(), "[S]\r\nk=old\r\n") << c.name;
    }
}

TEST(ProfileFile, FileOperationsConvertAndReplaceWhole) {
    Sandbox box;
    const std::string ini = box / "Sitrov.ini";
    EXPECT_EQ(ReadProfileText(ini, "A", "k", "none", 260), "none");  // no file
    ASSERT_EQ(WriteProfileSection(ini, "QdxDirectBrowse", {{"BrowserPath", "/opt/ブラウザ/run"}}), ProfileWritten);
    EXPECT_EQ(Sandbox::ReadFile(ini), "[QdxDirectBrowse]\r\nBrowserPath=/opt/\x83u\x83\x89\x83\x45\x83U/run\r\n");
    EXPECT_EQ(ReadProfileText(ini, "qdxdirectbrowse", "browserpath", "", 260), "/opt/ブラウザ/run");
    EXPECT_FALSE(FileExists(ini + "Temp"));

    std::string error;
    EXPECT_EQ(WriteProfileSection(ini, "X", {{"k", "☃"}}, &error), ProfileWriteFailed);
    EXPECT_NE(error.find("U+2603"), std::string::npos);
    EXPECT_EQ(ReadProfileText(ini, "QdxDirectBrowse", "BrowserPath", "", 260), "/opt/ブラウザ/run");
}

TEST(ProfileFile, OversizedFileIsReadAtItsStartAndNeverReplaced) {
    Sandbox box;
    const std::string ini = box / "Sitrov.ini";
    std::string huge = "[A]\r\nk=v\r\n" + std::string(kMaxProfileBytes + 10, 'x');  // one endless line
    Sandbox::WriteFile(ini, huge);
    EXPECT_EQ(ReadProfileText(ini, "A", "k", "", 260), "v");
    std::string error;
    EXPECT_EQ(WriteProfileSection(ini, "B", {{"k", "v"}}, &error), ProfileWriteFailed);
    EXPECT_EQ(FileSize(ini), static_cast<int64_t>(huge.size()));
}

// Each writer is the only one to write its section, so before every write it must find its
// own previous value: a save that replaced the file from a stale read would roll it back.
bool WriteRounds(const std::string& ini, const char* section, int rounds) {
    for (int i = 0; i < rounds; ++i) {
        if (i > 0 && ReadProfileInt(ini, section, "Round", -1) != i - 1) return false;
        if (WriteProfileSection(ini, section, {{"Round", std::to_string(i)}}) != ProfileWritten) return false;
    }
    return true;
}

TEST(ProfileFile, ConcurrentThreadsKeepEachOthersSections) {
    Sandbox box;
    const std::string ini = box / "Sitrov.ini";
    constexpr int kRounds = 300;
    bool okA = false, okB = false;
    std::thread a([&] { okA = WriteRounds(ini, "WholeOption", kRounds); });
    std::thread b([&] { okB = WriteRounds(ini, "SeriesOption", kRounds); });
    a.join();
    b.join();
    EXPECT_TRUE(okA);
    EXPECT_TRUE(okB);
    EXPECT_EQ(ReadProfileInt(ini, "WholeOption", "Round", -1), kRounds - 1);
    EXPECT_EQ(ReadProfileInt(ini, "SeriesOption", "Round", -1), kRounds - 1);
}

TEST(ProfileFile, ConcurrentProcessesKeepEachOthersSections) {
    Sandbox box;
    const std::string ini = box / "Sitrov.ini";
    constexpr int kRounds = 300;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    const bool ok = WriteRounds(ini, child == 0 ? "Child" : "Parent", kRounds);
    if (child == 0) ::_exit(ok ? 0 : 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadProfileInt(ini, "Child", "Round", -1), kRounds - 1);
    EXPECT_EQ(ReadProfileInt(ini, "Parent", "Round", -1), kRounds - 1);
}
