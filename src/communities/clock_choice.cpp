#include "communities/clock_choice.h"

#include <ctime>

#include "communities/presets.h"

namespace tintwalk {

int64_t ClockSeconds() {
    return static_cast<int64_t>(std::time(nullptr));
}

int32_t CommunityRowFromTime(int64_t seconds) {
    // A floored remainder of the full-width time: a 32-bit time would turn
    // negative in 2038 and find no row.
    const int64_t row = seconds % kCommunityCount;
    return static_cast<int32_t>(row < 0 ? row + kCommunityCount : row);
}

uint32_t SeedFromTime(int64_t seconds) {
    return static_cast<uint32_t>(static_cast<uint64_t>(seconds));
}

}  // namespace tintwalk
