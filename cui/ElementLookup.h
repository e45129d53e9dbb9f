// The console tool's reading of a parameter file: the file is read as the XML it is (its
// declared encoding, comments, CDATA sections, entities), and its elements are looked up by
// the tool's paths.
#pragma once

#include <string>
#include <string_view>

#include "xml/XmlDocument.h"

namespace cui {

enum ParamReadResult : int {
    ParamReadOk = 1,
    ParamUnreadable = 0,  // the file cannot be read at all
    ParamMalformed = 2,   // its bytes are not in the encoding it declares, or it is not well-formed XML
};

// Reads and parses the file. On failure `reason` says why.
[[nodiscard]] int ReadParamFile(const std::string& path, xml::Document& doc, std::string& reason);

// Finds the element a path names ("/qdxsome:document/workmode/neglect"). Each step looks
// through the elements inside the one found before, in document order and at any depth;
// names are compared without regard to ASCII case. A step may carry "[n]" to skip n further
// matches; a bracket that starts with "@" is ignored, one without its "]" fails. Null when
// the element is not there.
const xml::Node* FindElement(const xml::Document& doc, std::string_view path);

// The value of an element: its text with entities decoded and white space trimmed at both
// ends. An empty element, or one holding elements, has the empty value.
std::string ElementValue(const xml::Node* element);

// Looks the element up and returns its value; false when it is not there.
bool LookUpValue(const xml::Document& doc, std::string_view path, std::string& value);

}  // namespace cui
