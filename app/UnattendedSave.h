// A complete save that nobody watches: started by its argument where no display is set, it
// runs without any window code and writes what the progress window writes. Messages that a
// window would show go to stderr, questions take their default answer.
#pragma once

namespace engine {
class SaveJob;
}

namespace app {

// Runs the save of a filled job and returns once it has ended, or could not start (the job
// then holds why, as its refusal). The exit actions of the program follow as after the window.
void RunUnattendedSave(engine::SaveJob& job);

}  // namespace app
