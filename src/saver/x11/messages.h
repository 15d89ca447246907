// The Linux saver's own lines: every failure it reports, and the way it
// names a window.
#pragma once

#include <string>

namespace tintwalk {

// One line on standard error: "tintwalk: MESSAGE".
void Fail(const std::string& message);

// "0x1a00007".
std::string HexId(unsigned long id);

}  // namespace tintwalk
