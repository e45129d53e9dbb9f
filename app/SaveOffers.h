// What an interactive save offers when it has ended, for sites whose saved copy reads better
// after the advertisement removal: saves from the web archive.
#pragma once

#include <string>

namespace engine {
class SaveJob;
}

namespace app {

// The question after a save from the web archive.
extern const char* const kWebArchiveOfferText;

// The .qdx record that the save left ("" when there is none).
std::string RecordOfSave(const engine::SaveJob& job);

// The offers that apply to the finished job, in the order they are asked.
struct SaveOffers {
    bool webArchiveCleaning = false;
};
// A cleaning is offered only for a save that left its .qdx record: the cleaning run finds the
// saved pages through it.
SaveOffers OffersAfterSave(const engine::SaveJob& job);

}  // namespace app
