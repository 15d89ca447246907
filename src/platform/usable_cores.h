// How many processors the process may keep busy: those its processor
// affinity allows, fewer when its control group's processor quota grants
// less time than that (rounded up). At least 1.
#pragma once

#include <cstdint>
#include <string>

namespace tintwalk {

// `procRoot` and `sysRoot` are the mount points of /proc and /sys, so that a
// test can hand in a fake tree.
uint32_t UsableCores(const std::string& procRoot = "/proc", const std::string& sysRoot = "/sys");

}  // namespace tintwalk
