// The world's own lines and life cycle, and the generator. How a bot reads,
// turns, paints and moves is checked by the fingerprints and the fast paths.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/biotope.h"
#include "core/random.h"

namespace tintwalk {
namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStderr;
using ::testing::internal::GetCapturedStdout;

// Where bots start and how they read their genes shows in every fingerprint.
TEST(Biotope, CreationAndResetPrintTheirLines) {
    Biotope world;
    CaptureStdout();
    ASSERT_TRUE(world.Create(8, 4, 3, 9));
    EXPECT_EQ(GetCapturedStdout(),
              "Biotope::Create(8, 4, 3, 9)\n"
              "created 4x3 habitat (3 8-bit rgb components)\n"
              "created 4x3 habitat (3 8-bit hsl components)\n"
              "Biotope::CreateCommunity(8, 9)\n");
    EXPECT_EQ(world.botCount, 8u);
    for (int i = 0; i < 12 * 3; ++i) {  // the grey background
        EXPECT_EQ(world.rgbHabitat.pixels[i], 196);
        EXPECT_EQ(world.hslHabitat.pixels[i], i % 3 == 2 ? 196 : 0);
    }
    const uint8_t genes[13] = {13, 3, 0, 10, 0, 7, 1, 1, 0, 1, 224, 4, 169};
    std::memcpy(world.bots[0].genes, genes, 13);
    CaptureStdout();
    world.Reset();
    const std::string first = GetCapturedStdout();
    EXPECT_EQ(first.substr(0, first.find('\n') + 1),
              "genes [0] 13  3  0 10  [1]  0  7  1  1 (224,  4, 169)\n");
    const int32_t state = world.bots[7].state;
    CaptureStdout();
    world.Reset();  // the very same start again
    EXPECT_EQ(GetCapturedStdout(), first);
    EXPECT_EQ(world.bots[7].state, state);
}

TEST(Biotope, TrailLengthAndReleaseKeepTheSettings) {
    Biotope world;
    world.SetTrailLength(5);  // no community yet: not stored
    EXPECT_EQ(world.trailLength, 1024u);
    CaptureStdout();
    world.Create(2, 30, 30, 5);
    world.SetTrailLength(0);
    const int32_t x = world.bots[0].x;
    world.Step();
    EXPECT_EQ(world.bots[0].x, x);
    EXPECT_EQ(world.bots[0].trailPoints, nullptr);
    world.SetTrailLength(4);
    world.SetHueShift(9);
    world.Release();
    EXPECT_EQ(world.hslHabitat.pixels, nullptr);
    EXPECT_EQ(world.passCount, 1u);
    EXPECT_TRUE(world.Create(2, 40, 30, 5));
    GetCapturedStdout();
    // New bots get the kept trail length and hue shift.
    EXPECT_EQ(world.bots[1].trailLength, 4u);
    EXPECT_EQ(world.bots[1].hueShift, 9);
}

TEST(Biotope, FailuresPrintTheirLinesAndLeaveNothingBehind) {
    Biotope world;
    CaptureStdout();
    CaptureStderr();
    EXPECT_FALSE(world.CreateCommunity(8, 1));
    EXPECT_EQ(GetCapturedStderr(), "Biotope::CreateCommunity() failure: no habitat\n");
    for (const auto& [width, height] : {std::pair{0u, 768u}, {5u, 0u}}) {
        ASSERT_TRUE(world.Create(8, 20, 20, 1));
        CaptureStderr();
        EXPECT_FALSE(world.Create(8, width, height, 1));
        EXPECT_EQ(GetCapturedStderr(), "Biotope::CreateHabitat() failure: cannot create " +
                                           std::to_string(width) + "x" + std::to_string(height) +
                                           " habitat\n");
        EXPECT_EQ(world.botCount, 0u);
        EXPECT_EQ(world.rgbHabitat.pixels, nullptr);
        EXPECT_EQ(world.hslHabitat.pixels, nullptr);
        // Everything after a failed creation is safe and does nothing.
        world.SetTrailLength(3);
        world.SetBackground({1, 2, 3});
        world.Reset();
        EXPECT_TRUE(world.Step());
    }
    GetCapturedStdout();
}

// Reseeding and the wraps of the table's indices show in every picture.
TEST(RandomGenerator, WorkedSequences) {
    const std::pair<int32_t, std::vector<int32_t>> cases[] = {
        {1, {1804289383, 846930886, 1681692777, 1714636915, 1957747793}},
        {0, {1804289383, 846930886, 1681692777, 1714636915, 1957747793}},
        {12345, {383100999, 858300821, 357768173}}};
    for (const auto& [seed, first] : cases) {
        RandomGenerator g;
        g.Seed(seed);
        for (int32_t expected : first)
            EXPECT_EQ(g.Next(), expected) << "seed " << seed;
    }
    RandomGenerator unseeded;
    EXPECT_EQ(unseeded.Next(), 1804289383);
}

}  // namespace
}  // namespace tintwalk
