// The program entry of Sitrova, kept in the library so tests can run it in-process.
#pragma once

namespace appqt {

// Runs the whole program; always returns 0.
int SitrovaMain(int argc, char** argv);

}  // namespace appqt
