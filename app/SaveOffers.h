// What an interactive save offers when it has ended, for sites whose saved copy reads better
// after the advertisement removal: saves from the web archive and from blog service A. A save
// from that blog also gets a comment in its record on how to find pages that were missed.
#pragma once

#include <string>

namespace engine {
class SaveJob;
}

namespace app {

// The questions after a save from the web archive and from blog service A.
extern const char* const kWebArchiveOfferText;
extern const char* const kBlogOfferText;
// The comment put into the record of a save from blog service A.
extern const char* const kBlogAutoComment;

// The .qdx record that the save left ("" when there is none).
std::string RecordOfSave(const engine::SaveJob& job);

// The offers that apply to the finished job, in the order they are asked.
struct SaveOffers {
    bool webArchiveCleaning = false;
    bool blogServiceA = false;  // the automatic comment, then the cleaning question
};
// A cleaning is offered only for a save that left its .qdx record: the cleaning run finds the
// saved pages through it.
SaveOffers OffersAfterSave(const engine::SaveJob& job);

// Sets the record's comment to the automatic comment of a blog save, unless the record holds
// a comment of the user's own, which stays. 1 done; 0 failed, with the reason in `error`.
[[nodiscard]] int WriteBlogComment(const std::string& recordPath, std::string* error);

}  // namespace app
