#include "core/biotope.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/random.h"

namespace tintwalk {
namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStderr;
using ::testing::internal::GetCapturedStdout;

// How a bot reads, turns, paints and moves is checked against an independent
// model by the fingerprints and against the plain step by the fast-path
// tests; here are the world's own lines, draws and life cycle.
TEST(Biotope, CreationPrintsItsLinesAndPaintsTheGrey) {
    Biotope world;
    CaptureStdout();
    ASSERT_TRUE(world.Create(8, 4, 3, 9));
    EXPECT_EQ(GetCapturedStdout(),
              "Biotope::Create(8, 4, 3, 9)\n"
              "created 4x3 habitat (3 8-bit rgb components)\n"
              "created 4x3 habitat (3 8-bit hsl components)\n"
              "Biotope::CreateCommunity(8, 9)\n");
    EXPECT_EQ(world.botCount, 8u);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(world.hslHabitat.pixels[3 * i], 0);
        EXPECT_EQ(world.hslHabitat.pixels[3 * i + 1], 0);
        EXPECT_EQ(world.hslHabitat.pixels[3 * i + 2], 196);
        EXPECT_EQ(world.rgbHabitat.pixels[3 * i], 196);
    }
}

TEST(Biotope, PlacementAndResetDrawFromTheSameSeededSequence) {
    // Seed 1 gives 1804289383 (0x6B8B4567), 846930886 (0x327B23C6),
    // 1681692777 (0x643C9869), 1714636915 (0x66334873), ...
    Biotope world;
    CaptureStdout();
    ASSERT_TRUE(world.Create(2, 100, 100, 1));
    world.bots[0].genes[8] = 0;
    world.bots[0].genes[9] = 1;
    world.bots[0].genes[10] = 224;
    world.bots[0].genes[11] = 4;
    world.bots[0].genes[12] = 169;
    world.bots[1].genes[8] = 7;
    world.Reset();
    GetCapturedStdout();
    EXPECT_EQ(world.bots[0].x, 83);  // x is drawn first
    EXPECT_EQ(world.bots[0].y, 86);
    EXPECT_EQ(world.bots[1].x, 77);
    EXPECT_EQ(world.bots[1].y, 15);
    EXPECT_EQ(world.bots[0].state, 0x67);
    EXPECT_EQ(world.bots[0].heading, 6);
    EXPECT_EQ(world.bots[1].state, 0x69);
    EXPECT_EQ(world.bots[1].heading, 3);
    // Channels and bases follow genes 8 and 9; the rest default to lightness.
    EXPECT_EQ(world.bots[0].primary, world.bots[0].hue);
    EXPECT_EQ(world.bots[0].primaryBase, 224);
    EXPECT_EQ(world.bots[0].secondary, world.bots[0].sat);
    EXPECT_EQ(world.bots[0].secondaryBase, 4);
    EXPECT_EQ(world.bots[1].primary, world.bots[1].lum);
    // The rules start again from the first draw of the sequence.
    EXPECT_EQ(randomGenerator.Next(), 1804289383);
}

TEST(Biotope, ResetTwiceGivesTheSameStartAndGenesLines) {
    Biotope world;
    CaptureStdout();
    world.Create(3, 50, 40, 77);
    const uint8_t genes[13] = {13, 3, 0, 10, 0, 7, 1, 1, 2, 0, 224, 4, 169};
    std::memcpy(world.bots[0].genes, genes, 13);
    GetCapturedStdout();
    CaptureStdout();
    world.Reset();
    const std::string first = GetCapturedStdout();
    const int32_t state = world.bots[2].state;
    const int32_t heading = world.bots[2].heading;
    CaptureStdout();
    world.Reset();
    EXPECT_EQ(GetCapturedStdout(), first);
    EXPECT_EQ(world.bots[2].state, state);
    EXPECT_EQ(world.bots[2].heading, heading);
    EXPECT_EQ(first.substr(0, first.find('\n') + 1),
              "genes [2] 13  3  0 10  [0]  0  7  1  1 (224,  4, 169)\n");
}

TEST(Biotope, DefaultRuleWandersWithItsBaseHue) {
    Biotope world;
    CaptureStdout();
    world.Create(1, 10, 10, 1);
    world.bots[0].genes[10] = 30;
    world.bots[0].genes[11] = 40;
    world.Reset();
    world.SetTrailLength(1);
    GetCapturedStdout();
    const int32_t x = world.bots[0].x;
    const int32_t y = world.bots[0].y;
    world.Step();
    // First two draws of seed 1: state 0x67, heading 0x327B23C6 & 7 = 6.
    EXPECT_EQ(world.bots[0].state, 0x67);
    EXPECT_EQ(world.bots[0].heading, 6);
    const uint8_t* cell = world.hslHabitat.pixels + (y * 10 + x) * 3;
    EXPECT_EQ(cell[0], 30);
    EXPECT_EQ(cell[1], 40);
    EXPECT_EQ(cell[2], 0x67);
}

TEST(Biotope, TrailLengthHandling) {
    Biotope world;
    world.SetTrailLength(5);  // no community yet: not stored
    EXPECT_EQ(world.trailLength, 1024u);
    CaptureStdout();
    world.Create(2, 30, 30, 3);
    GetCapturedStdout();
    EXPECT_EQ(world.bots[1].trailLength, 1024u);
    TrailPoint* points = world.bots[0].trailPoints;
    world.SetTrailLength(1024);
    EXPECT_EQ(world.bots[0].trailPoints, points);
    world.SetTrailLength(7);
    EXPECT_EQ(world.bots[0].trailLength, 7u);
    EXPECT_EQ(world.bots[1].trailLength, 7u);

    world.SetTrailLength(0);
    const int32_t x = world.bots[0].x;
    world.Step();
    world.Step();
    EXPECT_EQ(world.passCount, 2u);
    EXPECT_EQ(world.bots[0].x, x);
    EXPECT_EQ(world.bots[0].trailPoints, nullptr);
}

TEST(Biotope, HabitatFailurePrintsWidthByHeightAndLeavesNoCommunity) {
    Biotope world;
    CaptureStdout();
    ASSERT_TRUE(world.Create(8, 20, 20, 1));
    CaptureStderr();
    EXPECT_FALSE(world.Create(8, 0, 768, 1));
    EXPECT_EQ(GetCapturedStderr(),
              "Biotope::CreateHabitat() failure: cannot create 0x768 habitat\n");
    GetCapturedStdout();
    EXPECT_EQ(world.botCount, 0u);
    EXPECT_EQ(world.bots, nullptr);
    EXPECT_EQ(world.rgbHabitat.pixels, nullptr);
    // Everything after a failed creation is safe and does nothing.
    world.SetTrailLength(3);
    world.SetBackground({1, 2, 3});
    world.Reset();
    EXPECT_TRUE(world.Step());
    world.Release();

    CaptureStdout();
    CaptureStderr();
    EXPECT_FALSE(world.Create(8, 5, 0, 1));
    EXPECT_EQ(GetCapturedStderr(), "Biotope::CreateHabitat() failure: cannot create 5x0 habitat\n");
    GetCapturedStdout();
}

TEST(Biotope, CommunityNeedsAHabitat) {
    Biotope world;
    CaptureStdout();
    CaptureStderr();
    EXPECT_FALSE(world.CreateCommunity(8, 1));
    EXPECT_EQ(GetCapturedStderr(), "Biotope::CreateCommunity() failure: no habitat\n");
    GetCapturedStdout();
    EXPECT_EQ(world.botCount, 0u);
}

TEST(Biotope, ReleaseKeepsSettingsAndAllowsANewStart) {
    Biotope world;
    CaptureStdout();
    world.Create(2, 40, 30, 5);
    world.SetTrailLength(4);
    world.SetHueShift(9);
    world.Step();
    world.Release();
    EXPECT_EQ(world.botCount, 0u);
    EXPECT_EQ(world.hslHabitat.pixels, nullptr);
    EXPECT_EQ(world.trailLength, 4u);
    EXPECT_EQ(world.seed, 5u);
    EXPECT_EQ(world.passCount, 1u);
    EXPECT_EQ(world.hueShift, 9);
    EXPECT_TRUE(world.Create(2, 40, 30, 5));
    GetCapturedStdout();
    EXPECT_EQ(world.bots[0].trailLength, 4u);  // the kept length is given to new bots
    EXPECT_EQ(world.bots[0].hueShift, 9);
}

}  // namespace
}  // namespace tintwalk
