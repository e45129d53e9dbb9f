#include "records/SaveArchive.h"

#include "engine/SaveJob.h"
#include "platform/FileUtil.h"
#include "platform/Version.h"
#include "records/SaveTarget.h"
#include "records/WarcIndex.h"
#include "records/WarcRecord.h"

#include <chrono>

namespace records {

namespace {

std::string Software() { return std::string("Sitrova ") + platform::kSuiteVersion; }

int64_t NowSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

std::string RecordStem(const engine::SaveJob& job) {
    std::string qdx = job.QdxPath();
    // The working name may have become the start page's by now; the record file keeps the
    // name the user gave.
    if (qdx.empty()) qdx = QdxPathOf(job.SaveFolder(), job.ChosenSaveName().empty() ? job.SaveName() : job.ChosenSaveName());
    return qdx.size() > 4 ? qdx.substr(0, qdx.size() - 4) : qdx;
}

}  // namespace

void SaveArchive::Begin(const engine::SaveJob& job, std::vector<std::string>& notes) {
    if (!job.Named().warc) return;
    const std::string base = RecordStem(job);
    auto writer = std::make_shared<WarcWriter>();
    const std::string stamped = base + "-" + WarcTimestamp(NowSeconds());
    for (const std::string& stem : {base, stamped, stamped + "-2", stamped + "-3"}) {
        const int opened = writer->Open(stem + ".warc.gz", Software(), "Sitrova save of " + job.StartUrl());
        if (opened == WarcWriter::WarcNameTaken) continue;
        if (opened != WarcWriter::WarcOpened) break;
        m_writer = std::move(writer);
        m_stem = stem;
        m_package = job.Named().wacz;
        notes.push_back("  WARCファイルに記録します：" + m_stem + ".warc.gz");
        return;
    }
    notes.push_back("  ！WARCファイルを作成できません。WARCなしで保存を続けます：" + base + ".warc.gz");
}

void SaveArchive::Finish(engine::SaveJob& job) {
    std::shared_ptr<WarcWriter> writer = std::move(m_writer);
    if (!writer) return;
    writer->Close();
    const std::vector<WrittenCapture> captures = writer->Captures();
    if (writer->Lost() > 0)
        job.AppendLog("  ！WARCファイルに書き込めなかった記録が" + std::to_string(writer->Lost()) + "件あります：" +
                      writer->Path());
    const std::string warcName = platform::NameOf(writer->Path());
    const std::string cdxj = CdxjText(captures, warcName);
    if (!platform::WriteFileReplacing(m_stem + ".cdxj", cdxj)) {
        job.AppendLog("  ！WARCの索引（CDXJ）を書き込めません：" + m_stem + ".cdxj");
        return;
    }
    job.AppendLog("  WARCファイルに" + std::to_string(captures.size()) + "件の応答を記録しました：" + writer->Path());
    if (!m_package) return;
    std::string error;
    const WaczAbout about{Software(), WarcDate(NowSeconds()), job.StartUrl()};
    if (WriteWacz(m_stem + ".wacz", writer->Path(), cdxj, PagesJsonl(captures), about, error) != 1)
        job.AppendLog("  ！WACZファイルを作成できません（" + error + "）：" + m_stem + ".wacz");
}

}  // namespace records
