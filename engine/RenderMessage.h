// The messages between a save and its page renderer (SitrovaRender), over a pipe: named
// fields of any bytes, each written as "name length\n" + the bytes + "\n", the message closed
// by a field named "end". Both sides use this one codec.
#pragma once

#include <map>
#include <string>

namespace engine {

using RenderFields = std::map<std::string, std::string>;

std::string EncodeRenderMessage(const RenderFields& fields);

enum RenderMessageResult : int { RenderMessageIncomplete = 0, RenderMessageComplete = 1, RenderMessageBroken = -1 };
// Takes the first whole message from the front of `buffer` into `fields` and removes it.
// Incomplete leaves both as they are; Broken means the bytes are no message at all.
[[nodiscard]] int TakeRenderMessage(std::string& buffer, RenderFields& fields);

}  // namespace engine
