// robots.txt read into the rules for our agent.
#include <gtest/gtest.h>

#include <string>

#include "engine/RobotsRules.h"

using namespace engine;

TEST(RobotsRulesTest, LongestMatchWildcardsEscapesAndAgentGroups) {
    const RobotsRules r = ParseRobots(
        "# comment\r\n"
        "User-agent: *\r\n"
        "Disallow: /private/\r\n"
        "Allow: /private/open.html\r\n"
        "Disallow: /*.cgi$\r\n"
        "Disallow: /tmp*/x\r\n"
        "Disallow: /%7ejoe/\r\n"
        "Disallow: /caf\xC3\xA9/\r\n"
        "Disallow: /q?id=\r\n"
        "Allow: /same\r\n"
        "Disallow: /same\r\n"
        "Crawl-delay: 2.5\r\n"
        "Sitemap: http://h/sitemap.xml\r\n");
    EXPECT_FALSE(r.malformed) << r.problem;
    EXPECT_TRUE(r.Allows("/index.html"));
    EXPECT_FALSE(r.Allows("/private/a.html"));
    EXPECT_TRUE(r.Allows("/private/open.html"));  // the longer Allow wins
    EXPECT_FALSE(r.Allows("/bin/run.cgi"));
    EXPECT_TRUE(r.Allows("/bin/run.cgi?x=1"));     // "$" ties the pattern to the end
    EXPECT_FALSE(r.Allows("/tmp123/x/y"));
    EXPECT_FALSE(r.Allows("/~joe/page.html"));     // %7E is "~"
    EXPECT_FALSE(r.Allows("/caf%c3%a9/menu"));     // UTF-8 rule against the escaped path
    EXPECT_FALSE(r.Allows("/q?id=3"));
    EXPECT_TRUE(r.Allows("/same"));                // equal length: Allow wins
    EXPECT_EQ(r.crawlDelayMs, 2500);
    ASSERT_EQ(r.sitemaps.size(), 1u);
    EXPECT_EQ(r.sitemaps[0], "http://h/sitemap.xml");

    // Our own group (any case, with a version) wins over "*"; several of ours add up.
    const RobotsRules ours = ParseRobots(
        "User-agent: *\nDisallow: /\n\n"
        "User-agent: other\nUser-agent: sitrova/2.0\nDisallow: /a/\nCrawl-delay: 99\n\n"
        "User-agent: SITROVA\nDisallow: /b/\n");
    EXPECT_TRUE(ours.Allows("/c.html"));
    EXPECT_FALSE(ours.Allows("/a/1.html"));
    EXPECT_FALSE(ours.Allows("/b/1.html"));
    EXPECT_EQ(ours.crawlDelayMs, 10000);  // bounded
    EXPECT_TRUE(ParseRobots("User-agent: Other\nDisallow: /\n").Allows("/x"));
    EXPECT_TRUE(ParseRobots("User-agent: *\nDisallow:\n").Allows("/x"));

    EXPECT_EQ(RobotsPathOf("http://h:8080/a/b.html?x=1#f"), "/a/b.html?x=1");
    EXPECT_EQ(RobotsPathOf("http://h"), "/");
    EXPECT_EQ(RobotsPathOf("http://h?q"), "/?q");
}

TEST(RobotsRulesTest, MalformedFilesGiveWhatTheyCanAndSaySo) {
    // Binary, a wrong encoding, no group, junk lines: flagged, rules read so far kept.
    const RobotsRules binary = ParseRobots(std::string("User-agent: *\nDisallow: /x/\n", 28) + std::string("\0\x01\xff\xfe", 4));
    EXPECT_TRUE(binary.malformed);
    EXPECT_FALSE(binary.Allows("/x/1"));
    EXPECT_TRUE(ParseRobots("User-agent: *\nDisallow: /\x82\xa0/\n").malformed);  // Shift-JIS
    const RobotsRules orphan = ParseRobots("Disallow: /\n");
    EXPECT_TRUE(orphan.malformed);
    EXPECT_TRUE(orphan.Allows("/x"));
    EXPECT_TRUE(ParseRobots("<html><body>not found</body></html>").malformed);
    EXPECT_FALSE(ParseRobots("").malformed);
    EXPECT_TRUE(ParseRobots("User-agent: *\nCrawl-delay: soon\n").malformed);

    // Huge: read up to the limit; a rule beyond it is never seen.
    std::string huge = "User-agent: *\nDisallow: /a/\n" + std::string(kRobotsMaxBytes, '#') + "\nDisallow: /b/\n";
    const RobotsRules cut = ParseRobots(huge);
    EXPECT_TRUE(cut.malformed);
    EXPECT_FALSE(cut.Allows("/a/"));
    EXPECT_TRUE(cut.Allows("/b/"));

    // Many stars against a long path end in time and match as written.
    const RobotsRules stars = ParseRobots("User-agent: *\nDisallow: /" + std::string(2000, '*') + "z$\n");
    EXPECT_TRUE(stars.Allows("/" + std::string(5000, 'a')));
    EXPECT_FALSE(stars.Allows("/" + std::string(5000, 'a') + "z"));
}
