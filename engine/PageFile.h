// The rewrite of a saved page in place, shared by every pass that changes a page's text, and the
// text of a page while its step edits it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace engine {

class SaveJob;

// Writes `text` over the saved page through a temporary name. When the write fails the old
// page stays whole and the job's log says so, which is all a caller needs. Worker thread.
void WritePageText(SaveJob& job, const std::string& pagePath, std::string_view text);

// The log line of a page that could not be rewritten.
std::string PageNotRewrittenLine(const std::string& pagePath);

// The text of a page in its step: read once after the fetch, changed in memory by every edit
// of the step and written back once at its end (through a temporary name, so a crash never
// leaves half a page), when an edit changed it. Worker thread.
struct PageText {
    // Larger pages are not held in memory while the walk follows their links: they are
    // written as far as they are edited and read again afterwards, so that a deep walk
    // through big pages keeps its memory small.
    static constexpr size_t kHeldMax = 128 * 1024;

    std::string text;
    bool readable = false;
    bool changed = false;
    bool parked = false;
    // Where the fetched page waits for the end of its step (empty: it lies at its path). The
    // edited text is written over that temporary file, which then takes the page's place: the
    // file system makes one file per page, and the page's path holds the old copy or the
    // whole new one.
    std::string staged;

    // An unreadable page is edited as an empty one: nothing changes, nothing is written.
    // A staged page is read from its staging file.
    void Read(const std::string& path);
    // False when the page had to be written and could not be (the log says so). A page at its
    // path stays as it was; a staged page is dropped, and the copy at its path stays.
    bool Save(SaveJob& job, const std::string& path);
    // Before and after the walk through the page's links.
    void Park(SaveJob& job, const std::string& path);
    void Unpark(const std::string& path);
};

}  // namespace engine
