// The bits of a job's mode word. The values travel as a decimal number on the command line
// of the console tool and the scheduler, so they never change. Most are options of the save
// or its job kind; the run state bits (RunStateBits) tell how far the run has come: they
// live in the job's progress, not in its options, and join the word only where it is shown
// or stored.
#pragma once

#include <cstdint>

namespace engine::mode {

constexpr uint32_t ModeNormal = 0x1;
constexpr uint32_t ModeMaker = 0x2;
constexpr uint32_t neglect = 0x4;
constexpr uint32_t arias = 0x8;
constexpr uint32_t OutDomainAll = 0x10;
constexpr uint32_t OutDomainSelect = 0x20;
constexpr uint32_t ModeSomeComplete = 0x40;
constexpr uint32_t agent = 0x80;
constexpr uint32_t datafolder = 0x100;
constexpr uint32_t qdxfile = 0x200;
constexpr uint32_t ModeUpdateCheck = 0x400;
constexpr uint32_t ModeUpdateClosed = 0x800;
constexpr uint32_t ModeAdRemoval = 0x1000;
constexpr uint32_t TraceSelect = 0x2000;
constexpr uint32_t ModeIndexAppended = 0x4000;
constexpr uint32_t BlogSite = 0x20000;
constexpr uint32_t ModeJobFinished = 0x40000;
constexpr uint32_t FollowDynamicPages = 0x80000;
constexpr uint32_t WebArchiveSite = 0x400000;
constexpr uint32_t RetryOnFailure = 0x800000;
constexpr uint32_t NotFoundTitleCheck = 0x1000000;
constexpr uint32_t ModeSomeSeries = 0x2000000;
constexpr uint32_t ModePresetUrl = 0x4000000;
constexpr uint32_t ModeMainClosed = 0x10000000;

// The bits that record how far a run has come rather than what was asked for.
constexpr uint32_t RunStateBits = ModeUpdateClosed | ModeJobFinished | ModeMainClosed;

// With BlogSite set, links are followed only down to the blog cut-off setting; this value of
// the setting lifts the limit.
constexpr uint16_t BlogCutOffUnlimited = 65535;

// Option bits compared between an earlier saved-site log and a new save of the same site.
constexpr uint32_t SavedOptionMask = 0x63BF;

// The window kind of a job: the first set bit of these, in this order, else ModeNormal.
uint32_t JobKind(uint32_t modeFlags);

}  // namespace engine::mode
