// When a refused password may be asked for again. The tick count is the
// system's millisecond counter, which wraps about every 49.7 days; the
// difference is taken unsigned so that the wrap does not matter.
#pragma once

#include <cstdint>

namespace tintwalk {

// The least time between the end of one password request and the next.
constexpr uint32_t kVerifyRetryMs = 200;

// The tick of a request that never happened.
constexpr uint32_t kNeverVerified = 0xFFFFFFFFu;

inline bool VerifyRetryDue(uint32_t lastVerifyTick, uint32_t now) {
    return lastVerifyTick == kNeverVerified || now - lastVerifyTick >= kVerifyRetryMs;
}

}  // namespace tintwalk
