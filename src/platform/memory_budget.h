// How much memory the process may still take before the system or its
// control group refuses it. An allocation that exceeds a control group's
// limit succeeds and the kernel kills the process later, when the pages are
// touched; asking first turns that into a clear refusal.
#pragma once

#include <cstdint>
#include <string>

namespace tintwalk {

// The bytes this process may still use: the least of the system's available
// memory and, for every control group above the process that has a memory
// limit, that limit less the group's usage (reclaimable file cache counted as
// free). UINT64_MAX when nothing is known. `procRoot` and `sysRoot` are the
// mount points of /proc and /sys, so that a test can hand in a fake tree.
uint64_t UsableMemory(const std::string& procRoot = "/proc", const std::string& sysRoot = "/sys");

// True when `bytes` more fit in UsableMemory().
bool MemoryFits(uint64_t bytes);

}  // namespace tintwalk
