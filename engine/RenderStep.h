// The "render" option's step in a page's save: the fetched page goes through the renderer
// and its rendered document takes the place of the fetched text. Runs on the save's worker.
#pragma once

#include <string>

namespace engine {

class SaveJob;

// Renders the page fetched from `url` when the save asks for it and `text` is an HTML page:
// `text` becomes the serialised document (UTF-8, with the URLs the page asked for added as
// embedded links) and `contentType` says so. False when nothing changed: rendering is off,
// or the renderer is missing or failed (a log line says why; the page is saved as fetched).
bool RenderFetchedPage(SaveJob& job, const std::string& url, std::string& text, std::string& contentType);

// Ends the calling worker's renderer (its program ends with it). Called when a save ends.
void EndPageRenderer();

// Where the save looks for SitrovaRender: beside the running program, unless
// SITROVA_RENDER_PROGRAM names another file.
std::string RenderProgramPath();

}  // namespace engine
