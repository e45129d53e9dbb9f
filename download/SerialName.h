// The numbering of serial files: the URL that follows a numbered one, and the local name of
// each file of a run.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace download {

// A URL split at the last "." of its last segment: name, and extension without the dot
// (none when the URL ends in "/" or its last segment has no ".").
struct UrlNameParts {
    std::string name;
    std::string extension;
    bool hasExtension = false;
};
UrlNameParts SplitUrlName(std::string_view url);

// The two ways of stepping a name. Way 1 raises a hexadecimal pair behind "_" (and a decimal
// digit before the "_"); empty when it does not apply. Way 2 raises the trailing decimal
// count with carry ("009" -> "010", "99" -> "100", no digits -> "1" appended).
std::string StepHexPair(std::string_view name);
std::string StepDecimal(std::string_view name);

// Probe result of a URL: 0 is "not there"; anything else counts as there.
using ExistsProbe = std::function<int32_t(const std::string& url)>;

// The URL after `url` in its numbering. 1 when a candidate was found to exist: `next` holds
// it; otherwise 0 and `next` holds the decimal candidate (the last one tried).
[[nodiscard]] int NextSerialUrl(const std::string& url, std::string& next, const ExistsProbe& exists);

// The changing part at the end of a name: "_" with a hexadecimal pair (and the decimal
// digits before it), else the trailing decimal digits.
std::string SerialTail(std::string_view name);

// Local name of a serial file: the first file's name without its serial tail and extension,
// the serial tail of the new URL's name, "." and the URL's extension.
std::string SerialLocalName(const std::string& firstSaveName, const std::string& nextUrl);

// The file name in a URL: the text after its last "/" (query included).
std::string UrlFileName(std::string_view url);

}  // namespace download
