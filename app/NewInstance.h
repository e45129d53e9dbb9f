// A URL handed to a running save (dropped on its window) opens a new Sitrova whose input view
// holds that URL and the save's folder.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// The "PresetUrl" argument for dropped text: its first line as the input view takes a dropped
// URL (`defMode` as there), and as save path `saveFolder` with the name the URL proposes.
// A double quote, which would end the field, travels as "%22". "" when the text is no
// http(s) URL.
std::string NewInstanceArgument(std::string_view text, const std::string& saveFolder, uint32_t defMode);

// Starts the program folder's Sitrova with `argument`, not waiting, through `start`
// (program, arguments → 1 started). 1 started, 0 not.
[[nodiscard]] int StartNewInstance(
    const std::string& programFolder, const std::string& argument,
    const std::function<int(const std::string& program, const std::vector<std::string>& args)>& start);

}  // namespace app
