// The parts of a WARC record the writer puts together: an HTTP head made to describe the
// payload stored under it, and the SURT keys of the index.
#include <gtest/gtest.h>

#include "records/WarcIndex.h"
#include "records/WarcRecord.h"

TEST(WarcRecord, StoredHeadDescribesTheStoredPayload) {
    struct Case {
        const char* trace;
        const char* head;
        uint64_t payload;
        bool decoded;
        const char* stored;  // nullptr: the head as it came, byte for byte
    };
    const Case cases[] = {
        {"as it came", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nX-A:  b \r\n\r\n", 5, false, nullptr},
        {"no length", "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n", 9, false, nullptr},
        {"chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nA: 1\r\n\r\n", 7, false,
         "HTTP/1.1 200 OK\r\nX-Archive-Orig-Transfer-Encoding: chunked\r\nA: 1\r\nContent-Length: 7\r\n\r\n"},
        {"unpacked gzip", "HTTP/1.1 200 OK\r\ncontent-encoding: gzip\r\nContent-Length: 40\r\n\r\n", 100, true,
         "HTTP/1.1 200 OK\r\nX-Archive-Orig-content-encoding: gzip\r\nX-Archive-Orig-Content-Length: 40\r\n"
         "Content-Length: 100\r\n\r\n"},
        {"gzip kept packed", "HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nContent-Length: 40\r\n\r\n", 40, false,
         nullptr},
        {"body not kept", "HTTP/1.1 302 Found\r\nLocation: /a\r\nContent-Length: 90\r\n\r\n", 0, false,
         "HTTP/1.1 302 Found\r\nLocation: /a\r\nX-Archive-Orig-Content-Length: 90\r\nContent-Length: 0\r\n\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trace);
        EXPECT_EQ(records::StoredHttpHead(c.head, c.payload, c.decoded), c.stored ? c.stored : c.head);
    }
    EXPECT_EQ(records::HeaderValue("HTTP/1.1 200 OK\r\ncontent-type:  Text/HTML; charset=x \r\n\r\n", "Content-Type"),
              "Text/HTML; charset=x");
    EXPECT_EQ(records::MediaType("Text/HTML; charset=x"), "text/html");
}

TEST(WarcRecord, SurtKeysAsReplayToolsMakeThem) {
    const std::pair<const char*, const char*> cases[] = {
        {"http://www.Example.com:8080/A/b?z=1&a=2#x", "com,example:8080)/a/b?a=2&z=1"},
        {"https://example.com:443/", "com,example)/"},
        {"http://example.com", "com,example)/"},
        {"http://user:pw@sub.example.org/p", "org,example,sub)/p"},
        {"http://127.0.0.1:8000/index.html", "1,0,0,127:8000)/index.html"},
        {"http://example.com?q", "com,example)/?q"},
    };
    for (const auto& [url, key] : cases) EXPECT_EQ(records::SurtKey(url), key) << url;
    EXPECT_EQ(records::Base32(std::string(20, '\0')), std::string(32, 'A'));
    EXPECT_EQ(records::Base32("f"), "MY======");
}
