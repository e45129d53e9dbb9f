// The web archive a save writes beside its copy when asked (the "warc" option): opened as the
// save starts, filled by the save's HTTP sessions through their exchange observer, and
// indexed (and packed into a WACZ with the "wacz" option) as the save ends.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "records/WarcWriter.h"

namespace engine {
class SaveJob;
}

namespace records {

class SaveArchive {
public:
    // Opens "<name>.warc.gz" beside the save's record file ("<name>-<time>.warc.gz" when an
    // earlier run's file is there: an earlier archive is never written over). Notes go to
    // `notes` (Japanese). Nothing happens unless the job asks for an archive.
    void Begin(const engine::SaveJob& job, std::vector<std::string>& notes);
    // The observer for the save's client settings (null when no archive is written).
    std::shared_ptr<WarcWriter> Writer() const { return m_writer; }
    // Closes the file and writes the index (and the package); the log lines go to the job.
    // Once per save.
    void Finish(engine::SaveJob& job);

private:
    std::shared_ptr<WarcWriter> m_writer;
    std::string m_stem;  // the path without ".warc.gz"
    bool m_package = false;
};

}  // namespace records
