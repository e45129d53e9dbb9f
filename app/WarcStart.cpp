#include "app/WarcStart.h"

#include "engine/SaveJob.h"
#include "platform/ByteString.h"
#include "platform/HttpSettings.h"
#include "platform/UiText.h"
#include "records/WarcReplay.h"

namespace app {

bool IsWebArchiveName(const std::string& path) {
    return platform::EndsWithI(path, ".warc") || platform::EndsWithI(path, ".warc.gz") ||
           platform::EndsWithI(path, ".wacz");
}

bool OpenJobArchive(const std::string& path, engine::SaveJob& job, std::string& message) {
    std::string why;
    std::shared_ptr<records::WarcArchive> archive = records::OpenWebArchive(path, &why);
    if (!archive) {
        message = platform::TrArgs("Webアーカイブを読めません: %1", {why});
        return false;
    }
    job.AppendLog("Webアーカイブ " + path + " から保存します（" + std::to_string(archive->CaptureCount()) +
                  " URL）。");
    for (const std::string& problem : archive->Problems()) job.AppendLog("Webアーカイブの読めないレコード: " + problem);
    if (archive->ProblemCount() > archive->Problems().size())
        job.AppendLog("ほか " + std::to_string(archive->ProblemCount() - archive->Problems().size()) + " 件の読めないレコード");
    // The save's sessions read the archive (the worker's, and the fetch-ahead threads' made
    // with its settings), and so do the ones made with the program's defaults on its behalf
    // (blog skins): nothing of this job goes to the network.
    auto replay = std::make_shared<records::WarcReplay>(std::move(archive));
    job.Run().SetReplay(replay);
    platform::HttpClientSettings defaults = platform::DefaultHttpSettings();
    defaults.replay = replay;
    platform::SetDefaultHttpSettings(std::move(defaults));
    return true;
}

}  // namespace app
