// The fast passes (rule built in or through its pointer, byte-shuffle or
// portable gather) against the plain step; ring helpers against plain loops.
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

enum class Path { kPlain, kPasses, kPassesPortable, kRulePointer };

// Habitats, bots and generator after 8 passes of `row` at width x height.
std::vector<int64_t> RunCommunity(int32_t row, Path path, int32_t width, int32_t height) {
    surfaceWidth = width;
    surfaceHeight = height;
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    InitCommunity(row, 2024);
    ::testing::internal::GetCapturedStdout();
    ::testing::internal::GetCapturedStderr();
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

// Rings of two or three values, extremes among them, tie in every position.
TEST(FastPaths, RingHelpersAgreeWithThePlainLoops) {
    const int values[] = {0, 1, 127, 128, 254, 255};
    const int refs[] = {0, 1, 17, 100, 127, 128, 200, 254, 255, -1, 256, -255, 510};
    RandomGenerator g;
    g.Seed(99);
    for (int i = 0; i < 50000; ++i) {
        const int pick[3] = {values[g.Next() % 6], values[g.Next() % 6], g.Next() & 255};
        std::array<uint8_t, 9> ring;
        for (uint8_t& v : ring)
            v = static_cast<uint8_t>(pick[g.Next() % (2 + i % 2)]);
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
