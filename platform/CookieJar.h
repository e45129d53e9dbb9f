// The cookies of one save. Every HttpSession that works for the save (the crawl's own and
// those of the fetch-ahead threads) uses the same jar, so a session cookie a site sets on its
// first page goes with every later request of that save, and with no other save's. The jar
// lives in memory only: nothing in it is ever written to disk.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

class CookieJar {
public:
    CookieJar();
    ~CookieJar();  // every session using the jar must have ended before it
    CookieJar(const CookieJar&) = delete;
    CookieJar& operator=(const CookieJar&) = delete;

    // Adds the cookies of a text in the Netscape cookies.txt format (what browsers' export
    // extensions write). Comment and blank lines are skipped; `badLines` receives the number
    // of other lines that are no cookie line (they are left out). Returns the cookies taken.
    size_t AddCookiesTxt(std::string_view text, size_t* badLines = nullptr);

    // Every cookie the jar holds now, as cookies.txt lines: what a browser engine that
    // fetches for the save is given to send.
    std::string CookiesTxt() const;

    // The libcurl share handle (CURLSH*), for HttpClient only.
    void* Share() const;

private:
    struct Shared;
    std::unique_ptr<Shared> m_shared;
};

// The largest cookie file read; a browser's export of a whole profile stays far below.
constexpr size_t kMaxCookieFileBytes = 4u << 20;

enum CookieFileResult : int {
    CookieFileRead = 1,        // every line was taken (or the file holds no cookie)
    CookieFileUnreadable = 0,  // missing, no regular file, unreadable or too large: nothing taken
    CookieFilePartly = -1,     // some lines were no cookie lines; the others were taken
};

struct CookieFileReport {
    int result = CookieFileUnreadable;
    size_t cookies = 0;
    size_t badLines = 0;
    bool openToOthers = false;  // readable by the file's group or by everyone
    std::string error;          // why the file could not be read (English, from the system)
};

// Reads a cookies.txt file into the jar. The file is only read.
CookieFileReport LoadCookieFile(CookieJar& jar, const std::string& path);

}  // namespace platform
