// The parameter file of an unattended save: its template, written by SitrovaCui /template
// and by Sitrova when a job is added to the batch, and the names of its elements.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace app {

// Where the namespace of the document element points; no reader compares it.
constexpr const char* kParamNamespace = "http://sitrova.invalid/SoftwareManager/Sitrova/SomeComplete";

// Where a parameter file keeps the named save options: one optional element per option,
// named as the option, inside this one ("<weboptions><cookie-file>/home/me/c.txt</cookie-file>").
constexpr const char* kWebOptionsPath = "/qdxsome:document/weboptions";

// The 58 lines of the template, UTF-8, without line ends.
const std::vector<std::string>& ParamTemplateLines();

// The template as it is written: Shift-JIS, each line ended by CR LF.
std::string ParamTemplateBytes();

enum TemplateResult : int { TemplateWritten = 1, TemplateNotWritten = 0, TemplateExists = 2 };

// Writes the template to `path` unless something is already there (TemplateExists).
[[nodiscard]] int WriteParamTemplate(const std::string& path);

// The option elements of a complete save, in the order of their flag values.
struct ParamOption {
    const char* path;
    uint32_t bit;
};
const std::vector<ParamOption>& ParamOptions();

}  // namespace app
