// The record files of one save job: what the engine reaches through its JobRecords
// interface. One object per job, created by the program before the save starts.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "engine/JobRecords.h"

namespace records {

class SaveRecords : public engine::JobRecords {
public:
    SaveRecords();
    ~SaveRecords() override;

    void BeginSave(engine::SaveJob& job) override;
    void RecordPage(engine::SaveJob& job, const std::string& path, const std::string& url, int32_t level,
                    int64_t size) override;
    int CheckSavedSite(engine::SaveHost& host, engine::SaveJob& job, const std::string& startPath,
                       const std::string& startUrl) override;
    void WriteErrorLine(std::string_view line) override;
    void FinishSavedSiteLog(engine::SaveJob& job) override;
    void KeepErrorLog(engine::SaveJob& job) override;
    void WriteDescriptionLog(engine::SaveJob& job, const std::string& resultText) override;

private:
    std::mutex m_lock;
};

}  // namespace records
