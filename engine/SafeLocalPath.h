// The checks that keep every file a save writes inside its data folder, whatever a page
// links to.
#pragma once

#include <string>
#include <string_view>

namespace engine {

constexpr size_t kNameMax = 255;  // longest file or folder name the file systems take

enum class PathProblem { None, Outside, BadName, TooLong };

// The reason text for the log ("" for None).
std::string_view PathProblemText(PathProblem problem);

// A folder or file name taken from a link: no "." or ".." (also percent-encoded), no
// backslash, no NUL, at most kNameMax bytes. An empty name is fine (it adds no level).
PathProblem CheckNameFromLink(std::string_view name);

// The query and anchor of a link as the end of a local file name: their "/" and "\" are
// encoded so that they can never reach into folders.
std::string QueryAsNamePart(std::string_view tail);

// Lexical normal form of a local path: "//" collapsed, "." dropped, ".." taken back.
std::string NormaliseLocalPath(std::string_view path);

// True when `path` is `folder` itself or lies below it (both normalised first).
bool IsInsideFolder(std::string_view path, std::string_view folder);

}  // namespace engine
