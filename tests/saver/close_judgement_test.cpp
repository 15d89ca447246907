// What decides a close of the full-screen saver without asking the system:
// how far the pointer travelled, and whether a refused password may be asked
// for again yet.
#include <gtest/gtest.h>

#include "saver/password_retry.h"
#include "saver/pointer_travel.h"

namespace tintwalk {
namespace {

TEST(PointerTravel, FourPixelsInTotalAreToleratedAFifthWakes) {
    struct Case {
        PointerPosition from, to;
        uint32_t travel;
    };
    const Case cases[] = {
        {{640, 512}, {642, 514}, 4},
        {{640, 512}, {643, 514}, 5},
        {{640, 512}, {636, 512}, 4},
        {{640, 512}, {640, 507}, 5},
        {{640, 512}, {638, 514}, 4},
        {{640, 512}, {640, 512}, 0},
        {{-10, 20}, {10, -20}, 60},
        {{INT32_MIN, 0}, {INT32_MAX, 0}, 4294967295u},
        // (2^32 - 1) x 2 = 2^33 - 2, kept in 32 bits: 2^32 - 2.
        {{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}, 4294967294u},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PointerTravel(c.from, c.to), c.travel) << c.to.x << "," << c.to.y;
        EXPECT_EQ(PointerTravelWakes(c.from, c.to), c.travel > 4) << c.to.x << "," << c.to.y;
    }
}

TEST(VerifyRetry, AsksFirstThenAfter200MillisecondsAcrossTheTickWrap) {
    struct Case {
        uint32_t last, now;
        bool due;
    };
    const Case cases[] = {
        {kNeverVerified, 0, true}, {kNeverVerified, 0xFFFFFFFFu, true},
        {1000, 1000, false},       {1000, 1199, false},
        {1000, 1200, true},        {1000, 90000, true},
        {0xFFFFFF9Cu, 99, false},  {0xFFFFFF9Cu, 100, true},  // 2^32 - 100
    };
    for (const Case& c : cases)
        EXPECT_EQ(VerifyRetryDue(c.last, c.now), c.due) << c.last << " " << c.now;
}

}  // namespace
}  // namespace tintwalk
