// The index of a save's WARC file (CDXJ: one line per capture, sorted by the URL's SURT key
// and the time) and its WACZ package (a zip that replay tools open in the browser).
#pragma once

#include <string>
#include <vector>

#include "records/WarcWriter.h"

namespace records {

// "http://www.Example.com:8080/a/b?z=1&a=2#x" becomes "com,example:8080)/a/b?a=2&z=1": the
// host's labels reversed (a leading "www." dropped), a port other than the scheme's kept, the
// path and the query's sorted arguments, all in lower case, without the fragment.
std::string SurtKey(const std::string& url);

// The CDXJ lines of the captures, sorted, each ending in LF.
std::string CdxjText(const std::vector<WrittenCapture>& captures, const std::string& warcName);

// The pages list of a WACZ: a header line, then each HTML page that was answered 200.
std::string PagesJsonl(const std::vector<WrittenCapture>& captures);

// What the package says of itself besides its parts.
struct WaczAbout {
    std::string software;
    std::string created;   // "YYYY-MM-DDThh:mm:ssZ"
    std::string mainPage;  // the save's start URL ("" for none)
};

// Packs the WARC, its index and its pages list with a datapackage.json that names each
// with its SHA-256. 1 written; 0 not, with the reason in `error`.
[[nodiscard]] int WriteWacz(const std::string& waczPath, const std::string& warcPath, const std::string& cdxj,
                            const std::string& pages, const WaczAbout& about, std::string& error);

// A JSON string literal of UTF-8 text.
std::string JsonString(const std::string& text);

}  // namespace records
