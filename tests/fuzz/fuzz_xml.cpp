// Any text given to the XML parser: it ends without reading past the text, and a tree it
// builds writes out and reads back to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "xml/XmlDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so that the address sanitizer sees any read past the end.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    xml::Document doc;
    if (!doc.Parse(text)) return 0;
    (void)doc.Select("/a/b[2]/c[text()='x']");
    (void)doc.Select("../a/@id");
    const std::string written = doc.ToText();
    xml::Document back;
    if (!back.Parse(written) || back.ToText() != written) std::abort();
    return 0;
}
