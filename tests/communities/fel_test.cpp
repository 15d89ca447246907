// The fel row and its four rules (each shared by a pair of bots). Every
// expected value below was worked out by hand from the rule's steps; each Run
// also checks that the rule took exactly the draws that were staged for it.
#include <gtest/gtest.h>

#include "communities/community.h"
#include "communities/rules.h"
#include "core/biotope.h"
#include "support/rule_bench.h"

namespace tintwalk {
namespace {

using testing::Outcome;

class FelTest : public testing::RuleBench {};

TEST(FelPreset, RowMatchesTheCommunity) {
    const uint8_t genes[8][13] = {
        {5, 0, 10, 2, 11, 0, 6, 0, 2, 0, 205, 87, 243},
        {13, 0, 0, 12, 0, 15, 0, 2, 0, 1, 174, 247, 91},
        {32, 5, 9, 11, 0, 0, 2, 0, 2, 1, 232, 15, 84},
        {15, 4, 3, 11, 4, 0, 6, 0, 0, 0, 150, 40, 154},
        {32, 5, 9, 11, 0, 0, 2, 0, 2, 1, 243, 30, 57},
        {15, 4, 3, 11, 4, 0, 6, 0, 0, 0, 149, 17, 192},
        {5, 0, 10, 2, 11, 0, 6, 0, 2, 0, 195, 66, 224},
        {13, 0, 0, 12, 0, 15, 0, 2, 0, 1, 187, 227, 78},
    };
    // Pairs share their rule: 0 and 6, 1 and 7, 2 and 4, 3 and 5.
    const BotRule rules[8] = {FelRule0, FelRule1, FelRule2, FelRule3,
                              FelRule2, FelRule3, FelRule0, FelRule1};
    testing::ExpectRow(kFel, 5, "fel", 143, {198, 204, 199}, genes, rules);
}

TEST_F(FelTest, Rule0StepsTheCentreTowardsTheBase) {
    UseBot(kFel, 0);  // primary lum, secondary hue, base (205, 87, 243)
    Fill(bot.hue, 40);
    Fill(bot.sat, 77);
    bot.heading = 3;

    Fill(bot.lum, 255);  // above the base 243: down by four
    EXPECT_EQ(Run(FelRule0), (Outcome{251, 1, 40, 77, 253}));

    Fill(bot.lum, 0);  // below: up by four
    EXPECT_EQ(Run(FelRule0), (Outcome{4, 1, 40, 77, 2}));

    Fill(bot.lum, 243);  // equal to the base also goes up
    EXPECT_EQ(Run(FelRule0), (Outcome{247, 1, 40, 77, 245}));
}

TEST_F(FelTest, Rule0TurnsByTheFirstMatchingNeighbourInFanOrder) {
    UseBot(kFel, 6);  // primary lum, secondary hue, base (195, 66, 224)
    Fill(bot.lum, 100);
    Fill(bot.sat, 10);
    bot.heading = 0;

    // Positions 0 and 1 lie 16 away (not close enough); 7 lies 15 away and
    // comes before 2 in fan order.
    Set(bot.hue, {116, 84, 100, 0, 100, 0, 0, 115}, 100);
    EXPECT_EQ(Run(FelRule0), (Outcome{104, 5, 100, 10, 102}));

    // Only straight behind matches, and it is never looked at: -6.
    Set(bot.hue, {0, 0, 0, 0, 100, 0, 0, 0}, 100);
    bot.heading = 5;
    EXPECT_EQ(Run(FelRule0), (Outcome{104, -1, 100, 10, 102}));
}

TEST_F(FelTest, Rule1FollowsTheMeanOfAllNine) {
    UseBot(kFel, 1);  // primary hue, secondary sat, base (174, 247, 91)
    bot.heading = 6;

    // All 255: state 255, e = 63.
    Fill(bot.hue, 255);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 100);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 200);
    EXPECT_EQ(Run(FelRule1, {14, 0}), (Outcome{255, 6, 255, 135, 172}));

    // Mean (80 + 250) / 9 = 36; the midpoint with hue 250 goes round 0.
    Set(bot.hue, {10, 10, 10, 10, 10, 10, 10, 10}, 250);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 50);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 120);
    EXPECT_EQ(Run(FelRule1, {0, 0}), (Outcome{36, 6, 15, 56, 118}));
}

TEST_F(FelTest, Rule1NudgesWithTheFirstDrawAndMayDropItWithTheSecond) {
    UseBot(kFel, 7);
    Fill(bot.hue, 0);
    Fill(bot.sat, 0);
    Fill(bot.lum, 0);
    bot.heading = 6;

    EXPECT_EQ(Run(FelRule1, {15, 32}).heading, 7);  // nudge +1, kept
    EXPECT_EQ(Run(FelRule1, {15, 31}).heading, 6);  // nudge +1, dropped
    EXPECT_EQ(Run(FelRule1, {31, 15}).heading, 7);  // the same draws the other way round
}

TEST_F(FelTest, Rule2WorksFromTheCentreOnACalmRing) {
    UseBot(kFel, 2);  // primary lum, secondary sat, base (232, 15, 84)
    Set(bot.lum, {20, 20, 20, 20, 20, 20, 20, 20}, 0);
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 100);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 200);
    bot.heading = 7;
    EXPECT_EQ(Run(FelRule2), (Outcome{2, 9, 132, 153, 2}));
}

TEST_F(FelTest, Rule2PicksTheFirstRingValueNearestTheMean) {
    UseBot(kFel, 2);
    // Mean 822 >> 3 = 102; 100 (position 0) and 104 (position 5) tie at 2.
    Set(bot.lum, {100, 140, 60, 130, 90, 104, 118, 80}, 30);
    // The hue is a plain byte mix: 10 and 232 give 43, not a value near 0.
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 10);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 15);
    bot.heading = 0;
    EXPECT_EQ(Run(FelRule2), (Outcome{98, 2, 43, 14, 98}));
}

TEST_F(FelTest, Rule2WalksASquareOfFourCells) {
    // Moves as the step makes them: heading = newHeading & 7, then one cell.
    UseBot(kFel, 4);
    Fill(bot.hue, 0);
    Fill(bot.sat, 0);
    Fill(bot.lum, 0);
    const auto walk = [&](int32_t heading, const int32_t(&expected)[4][2]) {
        int32_t x = 2;
        int32_t y = 2;
        bot.heading = heading;
        for (const auto& at : expected) {
            bot.heading = Run(FelRule2).heading & 7;
            x += kDirectionOffsets[bot.heading].dx;
            y += kDirectionOffsets[bot.heading].dy;
            EXPECT_EQ(x, at[0]);
            EXPECT_EQ(y, at[1]);
        }
    };
    walk(0, {{3, 1}, {4, 2}, {3, 3}, {2, 2}});  // diagonals round one cell
    walk(1, {{3, 2}, {3, 3}, {2, 3}, {2, 2}});  // a 2 x 2 block
}

TEST_F(FelTest, Rule3ReflectsTheCentreOnlyNearTheBase) {
    UseBot(kFel, 3);  // primary and secondary hue, base (150, 40, 154)
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 80);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 154);
    bot.heading = 1;

    // Reflection -255 is far from 150: the centre 255 plus 4 wraps to 3;
    // bits 3..5 of 255 give 7, less 2.
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 255);
    EXPECT_EQ(Run(FelRule3), (Outcome{3, 5, 3, 69, 153}));

    // Centre 0: state 4, direction 0 - 2.
    Fill(bot.hue, 0);
    const Outcome zero = Run(FelRule3);
    EXPECT_EQ(zero.state, 4);
    EXPECT_EQ(zero.heading, -2);

    // Reflection 2 * 166 - 150 = 182 lies exactly 32 from the base: kept.
    Set(bot.hue, {166, 166, 166, 166, 166, 166, 166, 166}, 150);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 200);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 10);
    EXPECT_EQ(Run(FelRule3), (Outcome{186, 0, 186, 188, 19}));

    // 2 * 166 - 149 = 183 lies 33 away: the centre 149 is used.
    bot.hue[8] = 149;
    EXPECT_EQ(Run(FelRule3).state, 153);
}

}  // namespace
}  // namespace tintwalk
