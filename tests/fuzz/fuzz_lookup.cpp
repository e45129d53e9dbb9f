// Any parameter-file text, and any path, given to the console tool's element look-up: it
// stays inside the text and the element it returns lies within it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cui/CuiCommands.h"
#include "cui/ElementLookup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // The first line, when short, is a path of its own; the rest is the file text.
    const size_t nl = input.find('\n');
    const std::string_view path = nl != std::string_view::npos && nl < 64 ? input.substr(0, nl) : std::string_view();
    const std::string text(nl != std::string_view::npos && nl < 64 ? input.substr(nl + 1) : input);
    const std::string_view whole(text);
    std::vector<std::string_view> paths = {"/qdxsome:document/url", "/qdxsome:document/workmode/outdomain/all",
                                           "/a/b[2]/c[@x]"};
    if (!path.empty()) paths.push_back(path);
    for (std::string_view p : paths) {
        std::string_view element;
        if (cui::FindElement(whole, p, element)) {
            if (element.data() < whole.data() || element.data() + element.size() > whole.data() + whole.size())
                std::abort();
        }
        std::string value;
        (void)cui::LookUpValue(whole, p, value);
    }
    std::string argument;
    std::vector<std::string> message;
    (void)cui::SomeArgument(text, "f.xml", argument, message);
    return 0;
}
