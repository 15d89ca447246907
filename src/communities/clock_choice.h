// The community and seed that the clock chooses when nothing else does.
#pragma once

#include <cstdint>

namespace tintwalk {

// The preset row and the seed that a clock reading in whole seconds since
// the epoch chooses. Every time gives a row from 0 to 9, also past 2038.
int32_t CommunityRowFromTime(int64_t seconds);
uint32_t SeedFromTime(int64_t seconds);
// Seconds since the epoch, now.
int64_t ClockSeconds();

}  // namespace tintwalk
