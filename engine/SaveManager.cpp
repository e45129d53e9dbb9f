#include "engine/SaveManager.h"

#include <memory>

#include "engine/ClientSettings.h"
#include "engine/CrawlDriver.h"
#include "engine/JobRecords.h"
#include "engine/OutDomainList.h"
#include "engine/RenderStep.h"
#include "engine/SaveHost.h"
#include "engine/SaveJob.h"
#include "engine/SitemapSeeds.h"
#include "platform/ByteString.h"
#include "platform/Clock.h"
#include "platform/UiText.h"
#include "platform/DebugOut.h"
#include "platform/FileUtil.h"
#include "platform/HttpClient.h"

namespace engine {

using namespace engine::mode;

std::string MinutesSecondsText(uint64_t seconds) {
    return std::to_string(seconds / 60) + "分" + std::to_string(seconds % 60) + "秒";
}

int CompCopyDlFormatManager(SaveHost& host, SaveJob& job) {
    const std::string startPath = job.StartPath();
    const std::string startUrl = job.StartUrl();
    int result = 0;
    if (!job.UpdateCheck()) {
        platform::DebugOutput("NewSite Download - CompCopyDlFormatManager()\r\n");
        job.AppendLog(startUrl + "のサイト保存を開始しました･･･");
        job.AppendSimpleLog(" - Start - ");
        if (!job.Has(ModeMaker))
            result = NewSiteDownload(host, job, startPath, startUrl, 0, false, SitemapPages(job, startUrl)) == 1 ? 1 : 0;
        if (!job.StopRequested()) {
            if (job.Has(OutDomainSelect)) {
                (void)host.SelectOutDomainLinks(job);
                BuildOutDomainList(host, job);
            } else if (job.Has(OutDomainAll)) {
                BuildOutDomainList(host, job);
            }
        }
    } else {
        platform::DebugOutput("SavedSite Check. - CompCopyDlFormatManager()\r\n");
        job.AppendLog(startUrl + "のサイト更新ページの調査を開始しました･･･");
        JobRecords* records = job.Records();
        result = records ? records->CheckSavedSite(host, job, startPath, startUrl) : 8;
    }
    const uint64_t elapsed = (platform::TickCount() - job.StartTick()) / 1000;
    job.AppendLog("◆◇◆◇◆◇");
    job.AppendLog("サイト保存を終了しました。");
    job.AppendLog("所要時間：" + MinutesSecondsText(elapsed) + "　　／　　総発見ファイル数：" +
                  std::to_string(job.FoundCount()) + "（※重複あり）");
    job.AppendSimpleLog(" - Finished - ");
    return result;
}

int SaveWorker(SaveHost& host, SaveJob& job) {
    // The save's client settings, built once: its cookie jar is shared by the fetch-ahead
    // threads, which make their sessions with the same settings.
    std::vector<std::string> notes;
    platform::HttpClientSettings settings = MakeClientSettings(job.Named(), ClientUse::Save, &notes);
    if (JobRecords* records = job.Records()) settings.observer = records->ExchangeObserver();
    settings.replay = job.Run().Replay();
    platform::HttpSession http(std::move(settings));
    for (std::string& line : notes) job.AppendLog(std::move(line));
    job.SetHttp(&http);
    // The renderer, when the save renders, lives as long as the save.
    std::unique_ptr<RenderSession> render;
    if (job.Named().render) render = std::make_unique<RenderSession>(job);
    job.SetRenderer(render.get());
    int result = CompCopyDlFormatManager(host, job);
    job.SetRenderer(nullptr);
    job.SetHttp(nullptr);
    return result;
}

int PrepareSaveStart(SaveJob& job, std::string* refusal) {
    JobRecords* records = job.Records();
    std::string message;
    if (records && !records->LockTarget(job, message)) {
        job.AppendLog(message);
        if (refusal) *refusal = message;
        return 0;
    }
    // An index page whose name was not in the URL carries this mark, also in the saved-site
    // log; the hand-over of an earlier log compares the marked name, so it comes first.
    if (job.Has(ModeIndexAppended) && platform::EqualsI(job.UrlLeaf(), "index.html"))
        job.SetUrlLeaf("index.html#DefIndexNoName");
    if (records) records->BeginSave(job);
    return 1;
}

void StartSaveWorker(SaveHost& host, SaveJob& job) {
    job.SetStartTick(platform::TickCount());
    job.StartWorker([&host, &job] { return SaveWorker(host, job); });
    platform::DebugOutput("Start - ExeSite_BtnCrtAndExeDownload()\r\n");
}

namespace {

const char* AsWritten(const char* text) { return text; }

// `Tr` turns the written words into the shown ones: platform::Tr for the progress view, the
// words as written for the description log.
std::string Summary(const SaveJob& job, const char* (*Tr)(const char*)) {
    const uint32_t flags = job.ModeFlags();
    std::string s;
    if (flags & (ModeNormal | ModeSomeComplete)) {
        s += Tr("【コンプリートするURL】\r\n");
        s += job.UrlBase();
        if (!(flags & ModeIndexAppended)) s += job.UrlLeaf();
        s += Tr("\r\n【保存先のフルパス】\r\n");
        s += job.SaveFolder() + job.ChosenSaveName();
        s += Tr("\r\n\r\n上位階層の上限値：") + std::to_string(job.LankLimit()) + "\r\n";
        if (flags & neglect)
            s += (flags & agent) ? Tr("強制変換：yes（Agent利用）\r\n") : Tr("強制変換：yes\r\n");
        else
            s += Tr("強制変換：no\r\n");
        s += (flags & arias) ? Tr("Alias補正：yes\r\n") : Tr("Alias補正：no\r\n");
        s += (flags & datafolder) ? Tr("データフォルダ作成：yes\r\n") : Tr("データフォルダ作成：no\r\n");
        s += (flags & qdxfile) ? Tr("更新ログ（Qdxファイル）作成：yes\r\n") : Tr("更新ログ作成：no\r\n");
        if (flags & OutDomainAll)
            s += Tr("外部パスの処理：有効\r\n");
        else if (flags & OutDomainSelect)
            s += Tr("外部パスの処理：選択\r\n");
        else
            s += Tr("外部パスの処理：無効\r\n");
        s += "\r\n";
    } else {
        s += Tr("【ファイルURL】\r\n") + job.UrlBase() + job.UrlLeaf() + Tr("\r\n\r\n【保存先フルパス】\r\n");
        s += job.SaveFolder() + job.ChosenSaveName() + "\r\n";
    }
    return s;
}

}  // namespace

std::string BuildJobSummary(const SaveJob& job) { return Summary(job, AsWritten); }

std::string ShownJobSummary(const SaveJob& job) { return Summary(job, platform::Tr); }

}  // namespace engine
