#include "app/SaveOffers.h"

#include "engine/ArchivePages.h"
#include "engine/BlogPages.h"
#include "engine/SaveJob.h"
#include "platform/FileUtil.h"
#include "records/SaveTarget.h"
#include "records/SectionFile.h"

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

const char* const kBlogOfferText =
    "アメーバブログから保存したファイル群を、\r\n"
    "ローカルコンピューターで快適に開くためには、\r\n"
    "「バナー広告等削除」の実施をお勧めします。\r\n\r\n"
    "広告等削除を実行しますか？";

const char* const kBlogAutoComment =
    "保存されていないページを見つけた場合は、\r\n"
    "『THEME LIST』もしくは『ARCHIVE』から\r\n"
    "辿り直してみてください。\r\n\r\n"
    "多くの場合に、見つけることが可能です。\r\n"
    "  [Sitrovaによる自動生成コメント]";

SaveOffers OffersAfterSave(const engine::SaveJob& job) {
    SaveOffers offers;
    const bool haveRecord = !RecordOfSave(job).empty();
    offers.webArchiveCleaning = haveRecord && engine::IsWebArchiveUrl(job.UrlBase()) == 1;
    offers.blogServiceA = haveRecord && engine::IsBlogServiceA(job.UrlBase()) == 1;
    return offers;
}

int WriteBlogComment(const std::string& recordPath, std::string* error) {
    records::SectionFile record;
    if (!record.Load(recordPath)) {
        if (error) *error = "Qdxファイルを読み込めません: " + recordPath;
        return 0;
    }
    // A comment the user wrote is theirs: only an earlier automatic comment is replaced.
    const bool commented = record.GetSection(records::kCommentHeader) > 0;
    if (commented && records::ReadComment(record) != kBlogAutoComment) return 1;
    return records::WriteComment(record, kBlogAutoComment, error);
}

}  // namespace app
