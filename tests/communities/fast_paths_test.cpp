// The fast ways of running the simulation (passes with the rule built in,
// through the rule pointer, byte-shuffle or portable gather) against the
// plain step, and the eight-bytes-at-once ring helpers against plain loops.
#include <gtest/gtest.h>

#include <array>
#include <span>
#include <string>
#include <vector>

#include "communities/community.h"
#include "communities/rule.h"
#include "core/bot_step.h"
#include "core/random.h"
#include "support/plain_step.h"

namespace tintwalk {
namespace {

// Loads community `row`, swallowing the lines it prints.
void Load(int32_t row, uint32_t seed, int32_t width, int32_t height) {
    surfaceWidth = width;
    surfaceHeight = height;
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    InitCommunity(row, seed);
    ::testing::internal::GetCapturedStdout();
    ::testing::internal::GetCapturedStderr();
}

enum class Path { kPlain, kPasses, kPassesPortable, kRulePointer };

// Both habitats, the bots and the generator after 8 passes of community
// `row` on a width x height habitat.
std::vector<int64_t> RunCommunity(int32_t row, Path path, int32_t width, int32_t height) {
    Load(row, 2024, width, height);
    biotope.SetTrailLength(60);
    if (path == Path::kRulePointer) {
        for (uint32_t i = 0; i < biotope.botCount; ++i)
            biotope.bots[i].pass = nullptr;
    }
    const bool saved = useSsse3Gather;
    useSsse3Gather = saved && path != Path::kPassesPortable;
    for (int i = 0; i < 8; ++i) {
        if (path == Path::kPlain)
            PlainBiotopeStep(biotope);
        else
            biotope.Step();
    }
    useSsse3Gather = saved;

    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 3;
    std::vector<int64_t> cells(biotope.rgbHabitat.pixels, biotope.rgbHabitat.pixels + bytes);
    cells.insert(cells.end(), biotope.hslHabitat.pixels, biotope.hslHabitat.pixels + bytes);
    for (const Bot& bot : std::span(biotope.bots, biotope.botCount)) {
        cells.insert(cells.end(), {bot.x, bot.y, bot.state, bot.heading});
        // Trail points always lie inside the habitat.
        for (const TrailPoint& t : std::span(bot.trailPoints, bot.trailLength))
            EXPECT_TRUE(t.x >= 0 && t.x < width && t.y >= 0 && t.y < height) << t.x << "," << t.y;
    }
    cells.push_back(randomGenerator.Next());
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
                const auto plain = RunCommunity(row, Path::kPlain, width, height);
                for (Path path : {Path::kRulePointer, Path::kPasses, Path::kPassesPortable})
                    ASSERT_EQ(RunCommunity(row, path, width, height), plain) << int(path);
            }
        }
    }
}

// A replaced rule runs instead of the pass made for the rule it replaces.
// The default rule draws the state, then the heading, and paints the base
// hue and saturation.
TEST(FastPaths, ReplacedRuleRunsInsteadOfThePass) {
    Load(6, 1, 40, 40);  // one step per pass
    for (uint32_t i = 0; i < biotope.botCount; ++i)
        biotope.bots[i].rule = DefaultRule;
    const Bot& bot = biotope.bots[0];
    const uint8_t* cell = biotope.hslHabitat.pixels + (bot.y * 40 + bot.x) * 3;
    biotope.Step();
    // Seed 1 draws 0x6B8B4567, then 0x327B23C6.
    EXPECT_EQ(bot.state, 0x67);
    EXPECT_EQ(bot.heading, 6);
    const HslPixel& base = bot.baseColour;
    EXPECT_EQ((std::array{cell[0], cell[1], cell[2]}),
              (std::array<uint8_t, 3>{base.hue, base.saturation, 0x67}));
    biotope.Release();
}

TEST(FastPaths, RingHelpersAgreeWithThePlainLoops) {
    // Ties in every position and extremes, then pseudo-random rings of few
    // distinct values, which make ties common.
    std::vector<std::array<uint8_t, 9>> rings;
    for (int a : {0, 1, 127, 128, 254, 255}) {
        for (int b : {0, 1, 127, 128, 254, 255}) {
            for (int mask = 0; mask < 256; mask += 7) {
                std::array<uint8_t, 9> ring{};
                for (int k = 0; k < 9; ++k)
                    ring[k] = static_cast<uint8_t>((mask >> (k & 7)) & 1 ? a : b);
                rings.push_back(ring);
            }
        }
    }
    RandomGenerator g;
    g.Seed(99);
    for (int i = 0; i < 20000; ++i) {
        const int spread = 1 + (g.Next() & 255);
        std::array<uint8_t, 9> ring{};
        for (uint8_t& v : ring)
            v = static_cast<uint8_t>((g.Next() % spread) * (256 / spread));
        rings.push_back(ring);
    }
    const int refs[] = {0, 1, 17, 100, 127, 128, 200, 254, 255, -1, 256, -255, 510};
    for (const auto& ring : rings) {
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
