// The program entry of Sitrova, kept in the library so tests can run it in-process.
#pragma once

namespace appqt {

// Runs the whole program; returns 0, or 2 when started without a display and without a job.
int SitrovaMain(int argc, char** argv);

}  // namespace appqt
