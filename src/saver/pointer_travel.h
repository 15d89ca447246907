// Whether the pointer has travelled far enough from its anchor to wake the
// saver: the sum of the horizontal and vertical distances, compared
// unsigned, must exceed the tolerated travel.
#pragma once

#include <cstdint>

namespace tintwalk {

constexpr uint32_t kWakeThreshold = 4;

struct PointerPosition {
    int32_t x;
    int32_t y;
};

inline uint32_t PointerTravel(PointerPosition anchor, PointerPosition now) {
    const int64_t dx = static_cast<int64_t>(now.x) - anchor.x;
    const int64_t dy = static_cast<int64_t>(now.y) - anchor.y;
    return static_cast<uint32_t>((dx < 0 ? -dx : dx) + (dy < 0 ? -dy : dy));
}

inline bool PointerTravelWakes(PointerPosition anchor, PointerPosition now,
                               uint32_t threshold = kWakeThreshold) {
    return PointerTravel(anchor, now) > threshold;
}

}  // namespace tintwalk
