// Any parameter-file bytes, and any path, given to the console tool's reading of parameter
// files: the encoding, the parse, the look-up and the argument built from it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cui/CuiCommands.h"
#include "cui/ElementLookup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // The first line, when short, is a path of its own; the rest is the file's bytes.
    const size_t nl = input.find('\n');
    const std::string_view path = nl != std::string_view::npos && nl < 64 ? input.substr(0, nl) : std::string_view();
    const std::string_view bytes = nl != std::string_view::npos && nl < 64 ? input.substr(nl + 1) : input;
    std::string text, reason;
    xml::Document doc;
    if (!xml::FileBytesToText(bytes, text, reason) || !doc.Parse(text, &reason)) return 0;
    std::vector<std::string_view> paths = {"/qdxsome:document/url", "/qdxsome:document/workmode/outdomain/all",
                                           "/a/b[2]/c[@x]"};
    if (!path.empty()) paths.push_back(path);
    for (std::string_view p : paths) {
        const xml::Node* element = cui::FindElement(doc, p);
        if (element && element->Kind() != xml::NodeElement) std::abort();
        std::string value;
        (void)cui::LookUpValue(doc, p, value);
    }
    std::string argument;
    std::vector<std::string> message;
    (void)cui::SomeArgument(doc, "f.xml", argument, message);
    return 0;
}
