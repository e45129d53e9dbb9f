// How the process's heap is laid out, chosen once at start-up before any thread runs.
#pragma once

namespace platform {

// One heap for all threads, and big blocks (a large page's text) handed back to the system
// as soon as they are freed. A save's threads pass pages between them: with a heap each,
// every thread would keep its own largest footprint.
void KeepHeapSmall();

// Hands the heap's free pages back to the system, those between blocks in use too. For the
// moment before a big piece of work whose copies would otherwise come on top of them.
void ReturnFreeHeap();

}  // namespace platform
