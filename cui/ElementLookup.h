// The console tool's own reading of a parameter file: a plain text search for elements,
// so that a hand-edited file works as long as its tags are found.
#pragma once

#include <string>
#include <string_view>

namespace cui {

// Finds the element a path names ("/qdxsome:document/workmode/neglect"; a step may carry
// "[n]" to skip n further occurrences). Names are compared without regard to ASCII case.
// On success `element` is the text from the start tag's "<" to the end of its end tag (or
// of its "/>"). The search never leaves `text`.
bool FindElement(std::string_view text, std::string_view path, std::string_view& element);

// The value of an element found above: the text between its tags, without line breaks at
// either end (blanks and tabs stay). An empty element has the empty value.
std::string ElementValue(std::string_view element, std::string_view name);

// Looks the element up and returns its value; false when it is not there.
bool LookUpValue(std::string_view text, std::string_view path, std::string& value);

}  // namespace cui
