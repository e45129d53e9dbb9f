// How the process's heap is laid out, chosen once at start-up before any thread runs.
#pragma once

namespace platform {

// One heap for all threads, and big blocks (a large page's text) handed back to the system
// as soon as they are freed. A save's threads pass pages between them: with a heap each,
// every thread would keep its own largest footprint.
void KeepHeapSmall();

}  // namespace platform
