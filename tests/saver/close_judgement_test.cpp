// What decides a close of the full-screen saver without asking the system:
// how far the pointer travelled, and whether a refused password may be asked
// for again yet.
#include <gtest/gtest.h>

#include "saver/password_retry.h"
#include "saver/pointer_travel.h"

namespace tintwalk {
namespace {

TEST(PointerTravel, FourPixelsInTotalAreToleratedAFifthWakes) {
    const PointerPosition anchor = {640, 512};
    EXPECT_FALSE(PointerTravelWakes(anchor, {642, 514}));  // 2 right, 2 down
    EXPECT_TRUE(PointerTravelWakes(anchor, {643, 514}));
    EXPECT_FALSE(PointerTravelWakes(anchor, {636, 512}));
    EXPECT_TRUE(PointerTravelWakes(anchor, {640, 507}));
    EXPECT_FALSE(PointerTravelWakes(anchor, {638, 514}));  // 2 left, 2 down
    EXPECT_FALSE(PointerTravelWakes(anchor, anchor));
}

TEST(PointerTravel, DistancesOfBothAxesAdd) {
    EXPECT_EQ(PointerTravel({0, 0}, {3, -4}), 7u);
    EXPECT_EQ(PointerTravel({-10, 20}, {10, -20}), 60u);
}

TEST(PointerTravel, ExtremeCoordinatesStillWake) {
    // 2^32 - 1 in one axis.
    EXPECT_EQ(PointerTravel({INT32_MIN, 0}, {INT32_MAX, 0}), 4294967295u);
    // (2^32 - 1) x 2 = 2^33 - 2, kept in 32 bits: 2^32 - 2.
    EXPECT_EQ(PointerTravel({INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}), 4294967294u);
    EXPECT_TRUE(PointerTravelWakes({INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}));
}

TEST(VerifyRetry, TheFirstRequestAlwaysAsks) {
    EXPECT_TRUE(VerifyRetryDue(kNeverVerified, 0));
    EXPECT_TRUE(VerifyRetryDue(kNeverVerified, 150));
    EXPECT_TRUE(VerifyRetryDue(kNeverVerified, 0xFFFFFFFFu));
}

TEST(VerifyRetry, AsksAgainAfter200Milliseconds) {
    EXPECT_FALSE(VerifyRetryDue(1000, 1000));
    EXPECT_FALSE(VerifyRetryDue(1000, 1199));
    EXPECT_TRUE(VerifyRetryDue(1000, 1200));
    EXPECT_TRUE(VerifyRetryDue(1000, 90000));
}

TEST(VerifyRetry, SurvivesTheWrapOfTheTickCount) {
    // 2^32 - 100: 99 ms after the wrap are 199 ms later.
    EXPECT_FALSE(VerifyRetryDue(0xFFFFFF9Cu, 99));
    EXPECT_TRUE(VerifyRetryDue(0xFFFFFF9Cu, 100));
}

}  // namespace
}  // namespace tintwalk
