// The three URL-kind handlers of the analysis window, in the order they are asked: plain
// files, album list pages of the photo service (saved by AlbumFetcher), and watch pages of the
// video service (whose steps find the address of the video file itself).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/UrlHandlerRegistry.h"

namespace app {

struct UrlHandlerOptions {
    // Takes the place of the watch page's host in the first video step (tests point it at a
    // loopback server); empty: the companion service's host.
    std::string videoCompanionHost;
    // Starts a program without waiting; 1 started. Empty: the process layer.
    std::function<int(const std::string& program, const std::vector<std::string>& args)> startProgram;
    // A downloaded page that cannot be opened yet is tried this many more times.
    int pageReadRetries = 3;
    uint32_t pageReadWaitMs = 1000;
};

// Adds the three handlers; 1 done, 0 when the registry had no room for them.
[[nodiscard]] int RegisterUrlHandlers(UrlHandlerRegistry& registry, const UrlHandlerOptions& options = {});

// An album list page of the photo service.
bool IsPhotoAlbumUrl(std::string_view url);

// The address of the video file in a page: the text around the first "videoplayback?" (case
// ignored), from behind the double quote, LF or CR found walking back from 18 bytes before
// the hit, up to the next double quote, LF or CR behind it. 1 when the page has one.
[[nodiscard]] int FindVideoAddress(std::string_view page, std::string& address);

}  // namespace app
