#include "app/SaveOffers.h"

#include "engine/ArchivePages.h"
#include "engine/SaveJob.h"
#include "platform/FileUtil.h"
#include "records/SaveTarget.h"

namespace app {

const char* const kWebArchiveOfferText =
    "Internet Archive から保存したファイル群を、\r\n"
    "ローカルコンピューターで快適に開くためには、\r\n"
    "「バナー広告等削除」の実施をお勧めします。\r\n\r\n"
    "広告等削除を実行しますか？";

std::string RecordOfSave(const engine::SaveJob& job) {
    std::string qdx = job.QdxPath();
    if (qdx.empty()) qdx = records::QdxPathOf(job.SaveFolder(), job.ChosenSaveName());
    return platform::IsRegularFile(qdx) ? qdx : std::string();
}

SaveOffers OffersAfterSave(const engine::SaveJob& job) {
    SaveOffers offers;
    const bool haveRecord = !RecordOfSave(job).empty();
    offers.webArchiveCleaning = haveRecord && engine::IsWebArchiveUrl(job.UrlBase()) == 1;
    return offers;
}

}  // namespace app
