#include <gtest/gtest.h>

#include "platform/FileUtil.h"
#include "records/SectionFile.h"
#include "tests/support/Sandbox.h"

using namespace records;
using testsupport::Sandbox;

namespace {

const std::string kRecordHead = "1164033\r\nEnd of Qdx file. Its contents is hidden file, SiteSaveInfoLog.\r\n";
const std::string kEnd = "__[KvMultiProfileSectionEnd]";

std::string Section(const std::string& header, const std::string& content) {
    return "\r\n" + header + "\r\n" + content + "\r\n" + kEnd;
}

std::string LinkContent(const std::string& sjisName, const std::string& sjisTarget) {
    char lengths[16];
    std::snprintf(lengths, sizeof lengths, "%03zu%03zu000", sjisName.size(), sjisTarget.size());
    return std::string(lengths) + "\r\n" + sjisName + "\r\n" + sjisTarget + "\r\n\r\n";
}

// A loaded record file in a sandbox.
struct Record {
    Sandbox box;
    std::string path = box / "site.qdx";
    SectionFile file;
    explicit Record(const std::string& bytes = kRecordHead) {
        Sandbox::WriteFile(path, bytes);
        EXPECT_EQ(file.Load(path), 1);
    }
    std::string Bytes() const { return Sandbox::ReadFile(path); }
};

}  // namespace

TEST(SectionFile, LoadCreatesAMissingFileEmpty) {
    Sandbox box;
    SectionFile file;
    ASSERT_EQ(file.Load(box / "new.qdx"), 1);
    EXPECT_TRUE(platform::IsRegularFile(box / "new.qdx"));
    EXPECT_EQ(file.Text(), "");
    EXPECT_EQ(file.GetSection("__[X]"), 0u);
    EXPECT_EQ(file.Load(box / "no/such/folder/x.qdx"), 0);
    Sandbox::WriteFile(box / "huge.qdx", std::string(kMaxSectionFileBytes + 1, 'x'));
    EXPECT_EQ(file.Load(box / "huge.qdx"), 0);
    EXPECT_EQ(file.SetSection("__[X]", "y"), 0);  // nothing loaded: nothing written
    EXPECT_EQ(platform::FileSize(box / "huge.qdx"), static_cast<int64_t>(kMaxSectionFileBytes + 1));
}

TEST(SectionFile, SetGetAndDeleteKeepTheSyntaxByteForByte) {
    Record r;
    ASSERT_EQ(r.file.SetSection("__[A]", "one\r\ntwo"), 1);
    ASSERT_EQ(r.file.SetSection("__[B]", "b"), 1);
    EXPECT_EQ(r.Bytes(), kRecordHead + Section("__[A]", "one\r\ntwo") + Section("__[B]", "b"));

    ASSERT_EQ(r.file.SetSection("__[a]", "new"), 1);  // headers are found without regard to case
    EXPECT_EQ(r.Bytes(), kRecordHead + Section("__[A]", "new") + Section("__[B]", "b"));
    EXPECT_EQ(r.file.GetSection("__[A]"), 3u);
    EXPECT_EQ(r.file.LastSection(), "new");

    EXPECT_EQ(r.file.DeleteSection("__[A]"), 1);
    EXPECT_EQ(r.file.DeleteSection("__[A]"), 0);
    EXPECT_EQ(r.Bytes(), kRecordHead + Section("__[A]", "new") + Section("__[B]", "b"));  // memory only
    EXPECT_EQ(r.file.Text(), kRecordHead + "\r\n__[B]\r\nb\r\n" + kEnd);
    ASSERT_EQ(r.file.Save(), 1);
    EXPECT_FALSE(platform::FileExists(r.path + "Temp"));
}

TEST(SectionFile, GetSectionOnDamagedText) {
    struct Case {
        const char* name;
        std::string text;
        std::string content;  // "" with 0 length when not found
    } cases[] = {
        {"well formed", "\r\n__[S]\r\nabc\r\n" + kEnd, "abc"},
        {"empty content", "\r\n__[S]\r\n\r\n" + kEnd, ""},
        {"marker right after the header", "\r\n__[S]\r\n" + kEnd, ""},
        {"no CR LF before the marker", "\r\n__[S]\r\nabc" + kEnd, "abc"},
        {"marker in other case", "\r\n__[S]\r\nabc\r\n__[kvmultiprofilesectionend]", "abc"},
        {"no marker", "\r\n__[S]\r\nabc", ""},
        {"header at the very end", "x__[S]", ""},
        {"header in content of another", "\r\n__[T]\r\n__[S]\r\nq\r\n" + kEnd, "q"},
    };
    for (const Case& c : cases) {
        Record r(c.text);
        EXPECT_EQ(r.file.GetSection("__[S]"), c.content.size()) << c.name;
        EXPECT_EQ(r.file.LastSection(), c.content) << c.name;
    }
}

TEST(SectionFile, SetSectionRefusesTheEndMarkerAndClosesAnOpenSection) {
    Record r(kRecordHead + "\r\n__[S]\r\nold");
    EXPECT_EQ(r.file.SetSection("__[T]", "x" + kEnd), 0);
    EXPECT_EQ(r.file.Text(), kRecordHead + "\r\n__[S]\r\nold");
    ASSERT_EQ(r.file.SetSection("__[S]", "new"), 1);
    EXPECT_EQ(r.Bytes(), kRecordHead + "\r\n__[S]\r\nnew\r\n" + kEnd + "\r\nold");
    EXPECT_EQ(r.file.GetSection("__[S]"), 3u);
}

TEST(SectionFile, RelatedLinksAreAddedWithLengthsAndRelativeTargets) {
    Record r;
    ASSERT_EQ(AddLink(r.file, "トップ", "http://example.com/"), 1);
    ASSERT_EQ(AddLink(r.file, "two\r\nlines", r.box / "関連ファイル/a.pdf"), 1);
    ASSERT_EQ(CountLinks(r.file), 2);
    ASSERT_EQ(AddLink(r.file, "outside", "/etc/hosts"), 1);
    EXPECT_EQ(CountLinks(r.file), 3);
    // "トップ" = 83 67 83 62 83 76; "関連ファイル" = 8A D6 98 41 83 74 83 40 83 43 83 8B.
    const std::string top = "\x83\x67\x83\x62\x83\x76";
    const std::string related = "\x8a\xd6\x98\x41\x83\x74\x83\x40\x83\x43\x83\x8b/a.pdf";
    EXPECT_EQ(r.Bytes(), kRecordHead + Section("__[QdxLinkFile.000]", LinkContent(top, "http://example.com/")) +
                             Section("__[QdxLinkFile.001]", LinkContent("two\r\nlines", related)) +
                             Section("__[QdxLinkFile.002]", LinkContent("outside", "/etc/hosts")));
    EXPECT_EQ(LinkContent(top, "x").substr(0, 9), "006001000");

    RelatedLink link;
    ASSERT_EQ(ReadLink(r.file, 1, link), 1);
    EXPECT_EQ(link.name, "two\r\nlines");  // cut by length, not by line
    EXPECT_EQ(link.target, r.box / "関連ファイル/a.pdf");
    EXPECT_EQ(link.third, "");
    ASSERT_EQ(ReadLink(r.file, 0, link), 1);
    EXPECT_EQ(link.name, "トップ");
    EXPECT_EQ(link.target, "http://example.com/");
    ASSERT_EQ(ReadLink(r.file, 2, link), 1);
    EXPECT_EQ(link.target, "/etc/hosts");  // exists: used as it is
    EXPECT_EQ(ReadLink(r.file, 3, link), 0);
}

TEST(SectionFile, LinkFieldsThatCannotBeStoredAreRefused) {
    Record r;
    struct Case {
        const char* name;
        std::string linkName, target;
    } cases[] = {
        {"name over 999 bytes", std::string(1000, 'n'), "http://h/"},
        {"target outside Shift-JIS", "n", "/x/☃.pdf"},
        {"section header in the name", "a __[QdxExtraComment] b", "http://h/"},
        {"end marker in the target", "n", "http://h/" + kEnd},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(AddLink(r.file, c.linkName, c.target, &error), 0) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
    }
    EXPECT_EQ(r.Bytes(), kRecordHead);
    EXPECT_EQ(AddLink(r.file, std::string(999, 'n'), "http://h/"), 1);
}

TEST(SectionFile, ReadLinkCutsByTheStoredLengthsAndChecksThem) {
    struct Case {
        const char* name;
        std::string content;
        int result;
        std::string linkName, target;
    } cases[] = {
        {"lengths decide", "004004000\r\na\r\nb\r\nhttp\r\n\r\n", 1, "a\r\nb", "@http"},
        {"lengths past the end", "010010010\r\nab\r\ncd\r\n\r\n", 0, "", ""},
        {"no digits", "abcdefghi\r\nab\r\ncd\r\n\r\n", 0, "", ""},
        {"too short", "00100", 0, "", ""},
        {"windows relative target", "001008000\r\nn\r\nsub\\x.js\r\n\r\n", 1, "n", "@sub/x.js"},
        {"invalid Shift-JIS name", "002001000\r\n\x81\x20\r\nx\r\n\r\n", 0, "", ""},
    };
    for (const Case& c : cases) {
        Record r(kRecordHead + Section("__[QdxLinkFile.000]", c.content));
        RelatedLink link;
        EXPECT_EQ(ReadLink(r.file, 0, link), c.result) << c.name;
        EXPECT_EQ(link.name, c.linkName) << c.name;
        std::string target = c.target;
        if (!target.empty() && target[0] == '@') target = r.box.Path() + target.substr(1);
        EXPECT_EQ(link.target, target) << c.name;
    }
}

TEST(SectionFile, DeletingLinksRenumbersFromZero) {
    Record r;
    for (const char* name : {"zero", "one", "two"}) ASSERT_EQ(AddLink(r.file, name, std::string("http://h/") + name), 1);
    ASSERT_EQ(WriteComment(r.file, "note"), 1);
    ASSERT_EQ(DeleteLinks(r.file, {0, 2}), 1);
    EXPECT_EQ(r.Bytes(), kRecordHead + Section("__[QdxExtraComment]", "note") +
                             Section("__[QdxLinkFile.000]", LinkContent("one", "http://h/one")));
    EXPECT_EQ(CountLinks(r.file), 1);

    ASSERT_EQ(DeleteLinks(r.file, {0}), 1);  // written although no link remains
    EXPECT_EQ(r.Bytes(), kRecordHead + Section("__[QdxExtraComment]", "note") + "\r\n");
    EXPECT_EQ(r.Bytes().find("QdxLinkFile"), std::string::npos);
    EXPECT_EQ(CountLinks(r.file), 0);
    EXPECT_EQ(ReadComment(r.file), "note");
}

TEST(SectionFile, CommentWrittenTwiceLeavesOneSection) {
    Record r;
    EXPECT_EQ(ReadComment(r.file), "");
    ASSERT_EQ(WriteComment(r.file, "最初の\nコメント"), 1);
    ASSERT_EQ(WriteComment(r.file, "二度目\r\nの"), 1);
    // "二度目" = 93 F1 93 78 96 DA, "の" = 82 CC.
    EXPECT_EQ(r.Bytes(), kRecordHead + Section("__[QdxExtraComment]", "\x93\xf1\x93\x78\x96\xda\r\n\x82\xcc"));
    EXPECT_EQ(ReadComment(r.file), "二度目\r\nの");

    std::string error;
    EXPECT_EQ(WriteComment(r.file, "x\r\n" + kEnd, &error), 0);
    EXPECT_EQ(WriteComment(r.file, "see __[QdxLinkFile.000]", &error), 0);
    EXPECT_EQ(WriteComment(r.file, "☃", &error), 0);
    EXPECT_NE(error.find("U+2603"), std::string::npos);
    EXPECT_EQ(ReadComment(r.file), "二度目\r\nの");
}
