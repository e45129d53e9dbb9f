// The text forms a link goes through: as written in a page's attribute, as a URL joined to
// its page's address, and as a local name on disk.
#pragma once

#include <string>
#include <string_view>

namespace engine {

// An attribute value as HTML means it: character references ("&amp;", "&#46;", "&#x2F;",
// "&quot;", ...) decoded and surrounding blanks trimmed.
std::string DecodeAttributeValue(std::string_view value);

// "%XX" escapes decoded. False (and `out` unusable) when an escape stands for "/", "\" or
// NUL, which no single file or folder name may hold.
bool DecodePercentName(std::string_view name, std::string& out);

// Bytes a request may not carry as they are (blanks, controls, non-ASCII) as "%XX"; the
// other characters, escapes included, stay.
std::string EncodeRequestPath(std::string_view path);

// A local name written as a link in a saved page: characters a browser would read as escape,
// query, anchor or end of value become "%XX".
std::string EncodeLocalLink(std::string_view path);

// "scheme:" at the start other than http and https ("ftp:", "tel:", "data:", "javascript:").
bool IsOtherScheme(std::string_view link);

// A URL without a path ("http://host:port") is the host's start page: "/" is added.
std::string WithRootPath(std::string_view url);

// "http://host:port" of an absolute URL (no "/"); empty for anything else.
std::string SchemeAndHost(std::string_view url);

// The link resolved against the base URL as a browser does (".", ".." and root-relative
// paths, "//host" links, query- and fragment-only links). Links of other schemes and
// absolute links come back as they are.
std::string JoinUrl(std::string_view base, std::string_view link);

// The link from the file at `fromPath` to the file at `toPath` (both local paths).
std::string RelativeLocalLink(std::string_view fromPath, std::string_view toPath);

}  // namespace engine
