// The save options that are not bits of the mode word, each known by its name. They are
// frozen with the rest of a save's options when the save starts.
#pragma once

namespace engine {

struct NamedOptions {};

}  // namespace engine
