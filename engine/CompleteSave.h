// The start and the end of a complete save as every front end runs them: the progress
// window and the runner without a display call these, so both leave the same files.
#pragma once

#include <string>

#include "engine/SaveHost.h"

namespace engine {

class SaveJob;

// Window thread, before the worker starts: takes and lays out the target and builds the job
// summary. 1 ready; 0 when the target
// belongs to another save (`refusal` says so and the save must not start).
[[nodiscard]] int OpenCompleteSave(SaveJob& job, std::string* refusal);

// Window thread, once the worker has ended: marks the job finished, keeps the error log of
// a failed save, writes the saved-site log and, for an unattended save, the description log.
// Returns the completion text the user is shown.
std::string CloseCompleteSave(SaveJob& job);

// Whether the save starts with the link trace selection (not for an update check).
[[nodiscard]] bool AsksTraceSelection(const SaveJob& job);
// The log lines of a save whose link trace selection nobody can make: every link is followed.
void NoteTraceSelectionUnasked(SaveJob& job);

// The log line of a save whose selection of links to other sites nobody can answer.
inline constexpr const char* kNoDisplayOutDomainLine = "  画面が無いため、外部ドメインのリンクは選択せずに全て対象とします。";

// A host without a display: every link to another site is taken, and the log says why.
class NoDisplayHost : public SaveHost {
public:
    int SelectOutDomainLinks(SaveJob& job) override;
};

}  // namespace engine
