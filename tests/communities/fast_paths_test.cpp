// The fast ways of running the simulation must paint exactly what the plain
// step paints: passes with the rule built in and stepping through the rule
// pointer, the byte-shuffle neighbourhood fill against the portable
// one, and the eight-bytes-at-once ring helpers against their plain loops.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "communities/community.h"
#include "communities/rule.h"
#include "core/bot_step.h"
#include "core/random.h"
#include "support/plain_step.h"

namespace tintwalk {
namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStderr;
using ::testing::internal::GetCapturedStdout;

enum class Path { kPlain, kPasses, kPassesPortable, kRulePointer };

// Both habitats, the bots and the generator after `passes` passes of
// community `row` on a width x height habitat.
std::vector<uint8_t> RunCommunity(int32_t row, Path path, int32_t width, int32_t height,
                                  int passes) {
    surfaceWidth = width;
    surfaceHeight = height;
    CaptureStdout();
    CaptureStderr();
    InitCommunity(row, 2024);
    GetCapturedStdout();
    GetCapturedStderr();
    biotope.SetTrailLength(60);
    if (path == Path::kRulePointer) {
        for (uint32_t i = 0; i < biotope.botCount; ++i)
            biotope.bots[i].pass = nullptr;
    }
    const bool saved = useSsse3Gather;
    if (path == Path::kPassesPortable)
        useSsse3Gather = false;
    for (int i = 0; i < passes; ++i) {
        if (path == Path::kPlain) {
            PlainBiotopeStep(biotope);
        } else {
            biotope.Step();
        }
    }
    useSsse3Gather = saved;

    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 3;
    std::vector<uint8_t> cells(biotope.rgbHabitat.pixels, biotope.rgbHabitat.pixels + bytes);
    cells.insert(cells.end(), biotope.hslHabitat.pixels, biotope.hslHabitat.pixels + bytes);
    for (uint32_t i = 0; i < biotope.botCount; ++i) {
        const Bot& bot = biotope.bots[i];
        const int32_t fields[4] = {bot.x, bot.y, bot.state, bot.heading};
        cells.insert(cells.end(), reinterpret_cast<const uint8_t*>(fields),
                     reinterpret_cast<const uint8_t*>(fields + 4));
        for (uint32_t k = 0; k < bot.trailLength; ++k) {
            const TrailPoint& t = bot.trailPoints[k];
            // Trail points always lie inside the habitat.
            EXPECT_TRUE(t.x >= 0 && t.x < width && t.y >= 0 && t.y < height) << t.x << "," << t.y;
        }
    }
    cells.push_back(static_cast<uint8_t>(randomGenerator.Next()));
    biotope.Release();
    return cells;
}

// Every side of 1, 2 and 3 (where every cell is on the border or next to
// it), against an odd side that has an interior, in both orientations.
TEST(FastPaths, EveryCommunityPaintsTheSameWhicheverWayItRunsOnEveryShape) {
    for (int32_t width : {1, 2, 3, 61}) {
        for (int32_t height : {1, 2, 3, 47}) {
            for (int32_t row = 0; row < kCommunityCount; ++row) {
                SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height) + " " +
                             kCommunityPresets[row]->name);
                const auto plain = RunCommunity(row, Path::kPlain, width, height, 8);
                ASSERT_EQ(RunCommunity(row, Path::kRulePointer, width, height, 8), plain);
                ASSERT_EQ(RunCommunity(row, Path::kPasses, width, height, 8), plain);
                ASSERT_EQ(RunCommunity(row, Path::kPassesPortable, width, height, 8), plain);
            }
        }
    }
}

TEST(FastPaths, PassIsIgnoredOnceTheRuleIsReplaced) {
    surfaceWidth = 40;
    surfaceHeight = 40;
    CaptureStdout();
    CaptureStderr();
    InitCommunity(6, 1);
    GetCapturedStdout();
    GetCapturedStderr();
    for (uint32_t i = 0; i < biotope.botCount; ++i)
        biotope.bots[i].rule = DefaultRule;
    biotope.Step();
    // The default rule paints the base hue and saturation: the rock rules
    // built into the passes would not.
    const Bot& bot = biotope.bots[0];
    const TrailPoint last = bot.trailPoints[bot.trailLength - 1];
    const uint8_t* cell = biotope.hslHabitat.pixels + (last.y * 40 + last.x) * 3;
    EXPECT_EQ(cell[0], bot.baseColour.hue);
    EXPECT_EQ(cell[1], bot.baseColour.saturation);
    biotope.Release();
}

// Rings that stress the helpers: ties in every position, extremes, and
// pseudo-random bytes.
std::vector<std::array<uint8_t, 9>> TestRings() {
    std::vector<std::array<uint8_t, 9>> rings;
    for (int a : {0, 1, 127, 128, 254, 255}) {
        for (int b : {0, 1, 127, 128, 254, 255}) {
            for (int mask = 0; mask < 256; mask += 7) {
                std::array<uint8_t, 9> ring{};
                for (int k = 0; k < 9; ++k) {
                    ring[k] = static_cast<uint8_t>((mask >> (k & 7)) & 1 ? a : b);
                }
                rings.push_back(ring);
            }
        }
    }
    RandomGenerator g;
    g.Seed(99);
    for (int i = 0; i < 20000; ++i) {
        std::array<uint8_t, 9> ring{};
        // Few distinct values make ties common.
        const int spread = 1 + (g.Next() & 255);
        for (uint8_t& v : ring)
            v = static_cast<uint8_t>((g.Next() % spread) * (256 / spread));
        rings.push_back(ring);
    }
    return rings;
}

TEST(FastPaths, RingHelpersAgreeWithThePlainLoops) {
    const int refs[] = {0, 1, 17, 100, 127, 128, 200, 254, 255, -1, 256, -255, 510};
    for (const auto& ring : TestRings()) {
        const uint8_t* a = ring.data();
        ASSERT_EQ(RingSum(a), scalar::RingSum(a));
        ASSERT_EQ(RingSpread(a), scalar::RingSpread(a));
        for (int ref : refs) {
            ASSERT_EQ(FanArgMaxDiff(a, ref), scalar::FanArgMaxDiff(a, ref)) << ref;
            ASSERT_EQ(FanArgMinDiff(a, ref), scalar::FanArgMinDiff(a, ref)) << ref;
            ASSERT_EQ(RingPickFarthest(a, ref, 77), scalar::RingPickFarthest(a, ref, 77)) << ref;
            ASSERT_EQ(RingPickNearest(a, ref, 77), scalar::RingPickNearest(a, ref, 77)) << ref;
        }
    }
}

}  // namespace
}  // namespace tintwalk
