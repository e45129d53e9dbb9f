// The numbering rules of serial files, both ways, and the local names of a run.
#include <gtest/gtest.h>

#include <set>

#include "download/ChunkChecks.h"
#include "download/SerialName.h"

using namespace download;

TEST(SerialName, NextUrlStepsHexPairFirstThenDecimal) {
    struct Case {
        const char* url;
        std::set<std::string> existing;
        int found;
        const char* next;
    } cases[] = {
        {"http://h/a/img009.jpg", {"http://h/a/img010.jpg"}, 1, "http://h/a/img010.jpg"},
        {"http://h/a/img99.jpg", {"http://h/a/img100.jpg"}, 1, "http://h/a/img100.jpg"},
        {"http://h/a/photo.jpg", {"http://h/a/photo1.jpg"}, 1, "http://h/a/photo1.jpg"},
        {"http://h/a/pic_0f.jpg", {"http://h/a/pic_10.jpg"}, 1, "http://h/a/pic_10.jpg"},
        {"http://h/a/pic_09.jpg", {"http://h/a/pic_0a.jpg"}, 1, "http://h/a/pic_0a.jpg"},
        {"http://h/a/p3_0f.jpg", {"http://h/a/p4_10.jpg"}, 1, "http://h/a/p4_10.jpg"},
        // The hexadecimal way finds nothing: the decimal candidate is tried and kept.
        {"http://h/a/pic_09.jpg", {"http://h/a/pic_10.jpg"}, 1, "http://h/a/pic_10.jpg"},
        {"http://h/a/img012.jpg", {}, 0, "http://h/a/img013.jpg"},
        {"http://h/a/pic_0z.jpg", {}, 0, "http://h/a/pic_0z1.jpg"},
        // A dot in the host is no extension; a URL ending in "/" has none either.
        {"http://h.example/a/file", {}, 0, "http://h.example/a/file1"},
        {"http://h/a/v2/", {}, 0, "http://h/a/v2/1"},
        // Escapes are no part of the number: the decoded name is counted and written back.
        {"http://h/a/a%209.jpg", {}, 0, "http://h/a/a%2010.jpg"},
        {"http://h/a/my%20pic%2099.jpg", {"http://h/a/my%20pic%20100.jpg"}, 1, "http://h/a/my%20pic%20100.jpg"},
        {"http://h/a/%E5%86%99%E7%9C%9F_0f.jpg", {}, 0, "http://h/a/%E5%86%99%E7%9C%9F_0f1.jpg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        std::string next;
        auto exists = [&](const std::string& url) { return c.existing.count(url) ? 100 : 0; };
        EXPECT_EQ(NextSerialUrl(c.url, next, exists), c.found);
        EXPECT_EQ(next, c.next);
    }
}

TEST(SerialName, LocalNameTakesOnlyTheChangingPartOfTheUrl) {
    struct Case {
        const char* firstName;
        const char* url;
        const char* local;
    } cases[] = {
        {"img001.jpg", "http://h/a/img002.jpg", "img002.jpg"},
        {"img099.jpg", "http://h/a/img100.jpg", "img100.jpg"},
        // Letters before the number appear once, not twice.
        {"abc001.jpg", "http://h/a/abc002.jpg", "abc002.jpg"},
        {"pic_0f.jpg", "http://h/a/pic_10.jpg", "pic_10.jpg"},
        {"mine.jpg", "http://h/a/img002.jpg", "mine002.jpg"},
        {"photo.png", "http://h/a/photo1.png", "photo1.png"},
        {"my pic 01.jpg", "http://h/a/my%20pic%2002.jpg", "my pic 02.jpg"},
        {"a01.jpg", "http://h/a/a02.j%2Fx", "a02.j_x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(SerialLocalName(c.firstName, c.url), c.local);
    }
}

TEST(ChunkChecks, ErrorPagesAreToldFromFiles) {
    EXPECT_TRUE(IsNotFoundChunk("<html><TITLE>File Not Found</TITLE>"));
    EXPECT_TRUE(IsNotFoundChunk("<title>Oops</title><p>error 404</p>"));
    EXPECT_FALSE(IsNotFoundChunk("404 not found without a title"));
    EXPECT_TRUE(IsServerBusyChunk("<title>503 Service Temporarily Unavailable</title>"));
    EXPECT_TRUE(IsServerBusyChunk("<h1>Service Unavailable</h1>"));
    EXPECT_FALSE(IsServerBusyChunk(std::string(300, ' ') + "<h1>Service Unavailable</h1>"));
    EXPECT_FALSE(IsServerBusyChunk("<title>home</title><h1>Service Unavailable</h1>"));
    EXPECT_TRUE(IsServerBusyChunk("<b>エラー発生！<br>お使いの帯域が割り当て数値を超えました"));
}
