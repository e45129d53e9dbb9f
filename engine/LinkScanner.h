// Conversion of a saved page, extraction of its links and their classification.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/LinkTable.h"

namespace engine {

class SaveJob;

// Rewrites the saved page in place: alias correction (with `arias`) and same-site absolute
// links made relative. Appends its progress marks to the job's log.
void ConvertPage(SaveJob& job, const std::string& pagePath, const std::string& pageUrl);
void CorrectRootLinks(const std::string& pagePath, const std::string& base);

// Reads the page, extracts its links into table.urls[1..n] and writes the normalised text
// back. Returns n.
int ScanLinks(SaveJob& job, const std::string& pagePath, LinkTable& table);

// In-memory passes (the text is normalised in place).
int ExtractLinks(std::string& text, LinkTable& table);
int ExtractAttribute(std::string_view text, std::string_view attribute, bool isScript, LinkTable& table, int index);
int ExtractCssUrls(std::string_view text, LinkTable& table, int index);
int CleanLink(std::string& link);
int UrlFromScript(std::string_view text, std::string& value);
int MakeRelative(std::string& url, std::string_view pageUrl);

// Resolves one link of the page (ResolveLink) and applies the rule for links to other
// sites. Returns LinkAbsolute, LinkTaken or LinkNotTaken as ResolveLink does.
[[nodiscard]] int ClassifyLink(SaveJob& job, const std::string& pagePath, const std::string& pageUrl,
                               int32_t pageLevel, std::string& outPath, std::string& link, int32_t& outKind,
                               int32_t& outLevel);

}  // namespace engine
