// A companion program the caller talks to over its standard input and output: started once,
// fed requests and read for answers, ended with the object. Used for work that must not run
// inside our own process (a browser engine with threads and a memory appetite of its own).
#pragma once

#include <cstddef>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

class PipeProcess {
public:
    PipeProcess() = default;
    ~PipeProcess() { Stop(); }
    PipeProcess(const PipeProcess&) = delete;
    PipeProcess& operator=(const PipeProcess&) = delete;

    // Starts `program` with `args` and `environment` entries ("NAME=value") added to ours.
    // 1 started, 0 not (no such program, no pipes).
    [[nodiscard]] int Start(const std::string& program, const std::vector<std::string>& args,
                            const std::vector<std::string>& environment = {});
    bool Running() const { return m_pid > 0; }
    // Writes all of `data` to the program's input. 1 written, 0 when the program is gone or
    // did not take it within `timeoutMs`.
    [[nodiscard]] int Write(const std::string& data, int timeoutMs = 15000);
    // Reads what the program wrote until `done(buffer)` says a whole answer is there, or
    // `timeoutMs` passed. 1 complete, 0 timed out or the program ended first.
    template <typename Done>
    [[nodiscard]] int ReadUntil(std::string& buffer, int timeoutMs, Done done) {
        while (!done(buffer))
            if (ReadSome(buffer, timeoutMs) != 1) return 0;
        return 1;
    }
    // Appends what the program wrote within `timeoutMs`: 1 read some, 0 nothing came in
    // time, -1 the program closed its output (it ended). One reader at a time; writing from
    // another thread meanwhile is safe.
    [[nodiscard]] int ReadSome(std::string& buffer, int timeoutMs);
    // Ends the program (closes its input, then kills it when it does not end at once).
    void Stop();

private:
    pid_t m_pid = -1;
    int m_in = -1;
    int m_out = -1;
};

}  // namespace platform
