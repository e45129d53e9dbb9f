// The run of an album as the plan of a download session: the album's list page, then for
// each photo its view page and the picture itself, into one folder.
#pragma once

#include <string>

#include "download/SerialSession.h"

namespace album {

struct AlbumSetup {
    std::string albumUrl;
    std::string folder;  // ends in "/"; made once there is a photo to put in it
    std::string programFolder;
};

// SessionJob::outcome of a run.
enum AlbumOutcome : int {
    AlbumStopped = 0,
    AlbumDone = 1,      // every photo was tried
    AlbumNoPhoto = 2,   // the album or a photo's page could not be read
    AlbumNoFolder = 3,  // the folder could not be made
};

// SessionJob of this plan: `rows` the photo list (saved name, size, state), `fileBar` and
// `fileCounter` the photo in transfer, `totalBar` and `totalCounter` the whole album,
// `total` the photos found, `savedCount` and `lastSaved`.
download::SerialSession::Plan AlbumPlan(AlbumSetup setup);

}  // namespace album
