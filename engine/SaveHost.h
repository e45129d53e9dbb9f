// What the save worker may ask of the window that shows the job. The worker calls these
// without holding the job lock; the window side blocks the worker until the user answers.
#pragma once

namespace engine {

class SaveJob;

class SaveHost {
public:
    virtual ~SaveHost() = default;
    // The user picks which links to other sites are saved (outDomainUrls is trimmed to the
    // choice). Runs on the worker thread and returns when the dialog has closed; result 1.
    virtual int SelectOutDomainLinks(SaveJob& job) = 0;
};

// A host for jobs without a window (tests, the console): takes every link as listed.
class SilentHost : public SaveHost {
public:
    int SelectOutDomainLinks(SaveJob&) override { return 1; }
};

}  // namespace engine
