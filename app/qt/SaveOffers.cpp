#include "app/qt/SaveOffers.h"

#include "app/SaveOffers.h"
#include "app/qt/MainCommands.h"
#include "app/qt/UiHooks.h"
#include "engine/SaveJob.h"
#include "platform/UiText.h"
#include "records/SavedSiteText.h"

namespace appqt {

namespace {

bool AskCleaning(QWidget* owner, const UiHooks& hooks, const char* text) {
    const int defaultAnswer = platformqt::IsHeadless() ? platformqt::AnswerNo : platformqt::AnswerYes;
    return hooks.message(owner, "Sitrova", text, platformqt::IconQuestion, platformqt::ButtonsYesNo, defaultAnswer) ==
           platformqt::AnswerYes;
}

}  // namespace

void AskOffersAfterSave(QWidget* owner, engine::SaveJob& job, const UiHooks& hooks) {
    const app::SaveOffers offers = app::OffersAfterSave(job);
    const std::string record = app::RecordOfSave(job);
    if (offers.webArchiveCleaning && AskCleaning(owner, hooks, platform::Tr(app::kWebArchiveOfferText)))
        StartSitrova(owner, hooks, {records::AdRemovalArgument(record)});
    if (!offers.blogServiceA) return;
    std::string error;
    if (app::WriteBlogComment(record, &error) != 1) job.AppendLog("  ！" + error);
    if (AskCleaning(owner, hooks, platform::Tr(app::kBlogOfferText))) StartSitrova(owner, hooks, {records::AdRemovalArgument(record)});
}

}  // namespace appqt
