// The link tables of one page step: URLs, local paths, kinds and levels, indexed alike.
// Slot 0 is never used. The tables grow with the page's links, up to a limit that keeps a
// freak page from filling the memory; the links past it are only counted.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace engine {

constexpr size_t kLinkMax = 1284;     // longest URL, link or local path handled
constexpr int kLinkSlots = 65536;     // slots per table at most, slot 0 unused

struct LinkTable {
    std::vector<std::string> urls{1};
    std::vector<std::string> paths{1};
    std::vector<int32_t> kinds{0};
    std::vector<int32_t> levels{0};
    std::vector<std::string> found{1};  // each link's text as written in the page
    // Marks a link found only as a form or parameter value ("value="): such a text is as often
    // a button's label or an option as an address, so it is followed only when its name says
    // what it is, never fetched to let the answer decide.
    std::vector<char> nameMustSay{0};
    int capacity = kLinkSlots;  // slots including the unused slot 0
    // Links found once the table was full (lower case, each once): they stay online.
    std::unordered_set<std::string> leftOnline;

    int Count() const { return static_cast<int>(urls.size()) - 1; }
    bool Full() const { return Count() >= capacity - 1; }
    // Adds a URL in the next slot; paths, kinds and levels are filled by the classification.
    void Add(std::string url, std::string asWritten = {}, bool onlyByName = false) {
        found.push_back(asWritten.empty() ? url : std::move(asWritten));
        nameMustSay.push_back(onlyByName);
        urls.push_back(std::move(url));
        paths.emplace_back();
        kinds.push_back(0);
        levels.push_back(0);
    }
};

}  // namespace engine
