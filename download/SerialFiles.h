// The single file save and the serial files that may follow it, as the plan of a session:
// the first file (tried again while its server is busy), the probe for a next number, the
// user's consent, and the series until a number is missing.
#pragma once

#include <string>

#include "download/SerialSession.h"

namespace download {

struct SerialSetup {
    std::string firstUrl;
    std::string firstPath;
    std::string saveName;  // the name the user chose: the serial names are made from it
    std::string iniPath;
    std::string programFolder;
    bool unattended = false;
    // How long a busy server is left alone before the file is tried again.
    int busyPauseMs = 30000;
};

// SessionJob::stage: the series list is shown from StageSeries on.
enum SerialStage : int { StageSingle = 0, StageSeries = 1 };
// SessionJob::question: whether to go on with the series; the answer is one of SerialAnswer.
enum SerialQuestion : int { QuestionSeries = 1 };
enum SerialAnswer : int { AnswerGoOn = 1, AnswerStop = 2 };
// SessionJob::outcome, with SessionJob::reason where it says so.
enum SerialOutcome : int {
    SerialStopped = 0,
    SerialNotFound = 1,    // the single file is not there; reason
    SerialNotSaved = 2,    // the single file was there but could not be kept; reason
    SerialNoAnswer = 3,    // unattended: the server stayed busy
    SerialSingleDone = 4,  // the single file is saved and no series follows it
    SerialSeriesDone = 5,  // reason: why the series was broken off, "" at the end of its numbering
};

// SessionJob of this plan: `lines` the progress lines, `rows` the series list (URL file
// name, saved name, size or state), `fileBar`, `fileCounter` the status under the bar,
// `savedCount` and `lastSaved`. Lines, states and the status are shown, never written, so
// they are in the user's language; `reason` is the suite's Japanese, `shownReason` the user's.
SerialSession::Plan SerialFilesPlan(SerialSetup setup);

}  // namespace download
