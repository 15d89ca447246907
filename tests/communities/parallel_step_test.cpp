// The parallel pass against the plain one: after every pass the habitats,
// the bots, their trails and the generator must be the same, with any number
// of threads, on habitats so small that the bots meet at every step and on
// ordinary ones. The rules' fixed draws per call, which the parallel pass
// builds on, are counted over many neighbourhoods.
#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "communities/community.h"
#include "core/parallel_step.h"
#include "core/random.h"
#include "support/fingerprint_check.h"

namespace tintwalk {
namespace {

void Load(int32_t row, int32_t width, int32_t height, uint32_t seed) {
    surfaceWidth = width;
    surfaceHeight = height;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    ASSERT_TRUE(InitCommunity(row, seed));
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
}

// Everything a pass leaves that the next pass or the picture reads.
std::vector<int64_t> WorldState() {
    const size_t bytes = size_t{biotope.hslHabitat.width} * biotope.hslHabitat.height * 3;
    std::vector<int64_t> state(biotope.rgbHabitat.pixels, biotope.rgbHabitat.pixels + bytes);
    state.insert(state.end(), biotope.hslHabitat.pixels, biotope.hslHabitat.pixels + bytes);
    for (const Bot& bot : std::span(biotope.bots, biotope.botCount)) {
        state.insert(state.end(), {bot.x, bot.y, bot.state, bot.heading, bot.stepIndex});
        for (uint32_t i = 0; i < bot.trailLength; ++i) {
            const RgbPixel& c = bot.trailColours[i];
            state.insert(state.end(), {bot.trailPoints[i].x, bot.trailPoints[i].y,
                                       c.red << 16 | c.green << 8 | c.blue});
        }
    }
    RandomGenerator next = randomGenerator;
    state.insert(state.end(), {next.Next(), next.Next(), biotope.passCount});
    return state;
}

TEST(ParallelStep, EveryPassEqualsThePlainPassWithAnyNumberOfThreads) {
    struct Shape {
        int32_t width, height;
        uint32_t trail;
    };
    // Sides of 1, 2 and 3 and small crowded habitats, where trial runs meet
    // other bots' cells all the time; then one where they seldom do.
    const Shape shapes[] = {{1, 1, 40},    {2, 3, 60},    {3, 1, 50},   {1, 2, 30},
                            {40, 30, 300}, {64, 64, 500}, {201, 97, 16}};
    constexpr int kPasses = 6;
    uint64_t runAgain = 0;
    for (int32_t row = 0; row < kCommunityCount; ++row) {
        for (const Shape& shape : shapes) {
            const uint32_t seed = 1000 + row;
            Load(row, shape.width, shape.height, seed);
            biotope.SetTrailLength(shape.trail);
            std::vector<std::vector<int64_t>> plain;
            for (int pass = 0; pass < kPasses; ++pass) {
                biotope.Step();
                plain.push_back(WorldState());
            }
            for (uint32_t threads : {1u, 2u, 3u, 8u}) {
                SCOPED_TRACE(std::string(kCommunityPresets[row]->name) + " " +
                             std::to_string(shape.width) + "x" + std::to_string(shape.height) +
                             ", " + std::to_string(threads) + " threads");
                Load(row, shape.width, shape.height, seed);
                biotope.SetTrailLength(shape.trail);
                ParallelStepper stepper(threads, true);
                for (int pass = 0; pass < kPasses; ++pass) {
                    stepper.Step(biotope);
                    ASSERT_EQ(WorldState(), plain[pass]) << "pass " << pass + 1;
                }
                runAgain += stepper.StepsRunAgain();
            }
        }
    }
    biotope.Release();
    // The crowded habitats made trial runs meet earlier bots' cells.
    EXPECT_GT(runAgain, 0u);
}

TEST(ParallelStep, TheRecordedFingerprintsHoldWithTwoAndThreeThreads) {
    for (uint32_t threads : {2u, 3u}) {
        ParallelStepper stepper(threads, true);
        CheckFingerprintTable([&stepper] { stepper.Step(biotope); },
                              ", " + std::to_string(threads) + " threads");
    }
}

// Every rule takes the same number of draws on every call, the number
// DrawsPerCall gives; counted over many random neighbourhoods, states and
// headings.
TEST(ParallelStep, EveryRuleTakesItsFixedNumberOfDrawsOnEveryCall) {
    RandomGenerator inputs;
    for (const CommunityPreset* row : kCommunityPresets) {
        for (int index = 0; index < 8; ++index) {
            const BotRule rule = row->rules[index];
            Bot bot;
            uint8_t* channels[3] = {bot.hue, bot.sat, bot.lum};
            const uint8_t* g = row->genes[index].genes;
            bot.baseColour = {g[10], g[11], g[12]};
            bot.primary = channels[g[8] < 2 ? g[8] : 2];
            bot.secondary = channels[g[9] < 2 ? g[9] : 2];
            bot.primaryBase = g[10 + (g[8] < 2 ? g[8] : 2)];
            bot.secondaryBase = g[10 + (g[9] < 2 ? g[9] : 2)];
            bot.cell = channels[0] + 8;
            const int32_t expected = DrawsPerCall(rule);
            ASSERT_GE(expected, 0) << row->name << " bot " << index;
            for (int call = 0; call < 4000; ++call) {
                for (uint8_t* channel : channels) {
                    // Flat, two-level and random neighbourhoods.
                    const int32_t kind = inputs.Next() % 3;
                    const uint8_t level = static_cast<uint8_t>(inputs.Next());
                    for (int k = 0; k < 9; ++k)
                        channel[k] = kind == 0   ? level
                                     : kind == 1 ? static_cast<uint8_t>(level ^ (k & 1) * 0x80)
                                                 : static_cast<uint8_t>(inputs.Next());
                }
                bot.state = inputs.Next() % 512 - 128;
                bot.heading = inputs.Next() & 7;
                RandomGenerator counted = randomGenerator;
                int32_t newState, newHeading;
                HslPixel newColour;
                rule(bot, newState, newHeading, newColour);
                int32_t draws = 0;
                while (!(counted == randomGenerator) && draws <= expected) {
                    counted.Next();
                    ++draws;
                }
                ASSERT_EQ(draws, expected) << row->name << " bot " << index << " call " << call;
            }
        }
    }
}

}  // namespace
}  // namespace tintwalk
