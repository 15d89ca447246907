// The rock row and its eight rules. Every expected value below was worked out
// by hand from the rule's steps; each Run also checks that the rule took
// exactly the draws that were staged for it.
#include <gtest/gtest.h>

#include "communities/community.h"
#include "communities/rules.h"
#include "support/rule_bench.h"

namespace tintwalk {
namespace {

using testing::Outcome;

class RockTest : public testing::RuleBench {};

TEST(RockPreset, RowMatchesTheCommunity) {
    const uint8_t genes[8][13] = {
        {23, 0, 0, 10, 4, 2, 5, 1, 2, 1, 110, 27, 112},
        {0, 4, 9, 12, 4, 0, 7, 3, 1, 0, 28, 64, 22},
        {12, 6, 3, 3, 22, 10, 7, 0, 1, 1, 236, 224, 244},
        {14, 4, 9, 3, 22, 10, 7, 0, 1, 1, 236, 231, 212},
        {35, 7, 1, 3, 0, 9, 0, 0, 0, 0, 6, 110, 33},
        {7, 2, 3, 3, 2, 13, 2, 0, 1, 2, 68, 87, 195},
        {9, 4, 0, 12, 20, 0, 8, 0, 1, 0, 50, 221, 15},
        {12, 6, 1, 2, 4, 0, 3, 1, 0, 1, 219, 175, 212},
    };
    const BotRule rules[8] = {RockRule0, RockRule1, RockRule2, RockRule3,
                              RockRule4, RockRule5, RockRule6, RockRule7};
    testing::ExpectRow(kRock, 6, "rock", 0, {200, 204, 203}, genes, rules);
}

TEST_F(RockTest, Rule0ClampsItsEdgeFilter) {
    UseBot(kRock, 0);  // primary lum, secondary sat, base (110, 27, 112)
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 100);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 56);  // bits 3..5: 7
    bot.heading = 3;

    // ((0 - 255) >> 1) = -128, (-128 + 0) >> 1 = -64: state 0. The first
    // draw adds one before the -1; the second does not keep the heading.
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 255, 0}, 0);
    EXPECT_EQ(Run(RockRule0, {63, 2}), (Outcome{0, 7, 99, 55, 0}));

    // ((765 >> 1) + 255) >> 1 = 318: state 255. The second draw keeps 3.
    Set(bot.lum, {0, 0, 255, 0, 0, 0, 0, 0}, 255);
    EXPECT_EQ(Run(RockRule0, {62, 3}), (Outcome{255, 3, 102, 48, 255}));

    // (-1 >> 1) rounds down to -1, so (-1 + 4) >> 1 = 1; with a secondary
    // centre of 0 the direction is -1.
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 1, 0}, 4);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 0);
    EXPECT_EQ(Run(RockRule0, {0, 0}), (Outcome{1, -1, 99, 0, 1}));
}

TEST_F(RockTest, Rule1HoldsItsStateNearTheBase) {
    UseBot(kRock, 1);                           // primary sat, secondary hue, base (28, 64, 22)
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 0);  // direction 0 - 3
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 50);

    // State 200 is far from 64: the centre 100 steps down by two. The mix
    // of -3 with heading 0 is (-3 >> 1) + 4.
    Fill(bot.sat, 100);
    bot.state = 200;
    bot.heading = 0;
    EXPECT_EQ(Run(RockRule1), (Outcome{98, 2, 2, 99, 47}));

    // State 96 lies exactly 32 from the base: kept. From heading 7 the
    // distance is 10, so the mix is plainly (4 >> 1).
    Fill(bot.sat, 10);
    bot.state = 96;
    bot.heading = 7;
    EXPECT_EQ(Run(RockRule1), (Outcome{94, 2, 2, 52, 47}));

    bot.state = 97;  // 33 away: the centre 10 goes up
    EXPECT_EQ(Run(RockRule1).state, 12);

    // A centre equal to the base goes up; bits 3..5 of 255 give 7 - 3 = 4,
    // which agrees with heading 4: 4 + 4.
    Fill(bot.sat, 64);
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 255);
    bot.state = 0;
    bot.heading = 4;
    EXPECT_EQ(Run(RockRule1), (Outcome{66, 8, 239, 65, 48}));
}

TEST_F(RockTest, Rule2FollowsTheDiagonalsAndTurnsByTheSideSpreads) {
    UseBot(kRock, 2);  // primary and secondary sat, base (236, 224, 244)
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 7);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 9);

    // Equal side spreads turn by -1, then the drift, then -3.
    Fill(bot.sat, 100);
    bot.heading = 2;
    EXPECT_EQ(Run(RockRule2, {0}), (Outcome{104, -3, 7, 101, 9}));
    EXPECT_EQ(Run(RockRule2, {15}).heading, -1);

    // Spread 230: the centre 200 is used. Left spread 220 beats right 20.
    Set(bot.sat, {0, 230, 10, 20, 30, 40, 50, 60}, 200);
    bot.heading = 5;
    EXPECT_EQ(Run(RockRule2, {16}), (Outcome{204, 2, 7, 201, 9}));

    // Spread exactly 224: the diagonal mean (224 + 20 + 40 + 60) >> 2 = 86.
    Set(bot.sat, {0, 224, 10, 20, 30, 40, 50, 60}, 100);
    EXPECT_EQ(Run(RockRule2, {2}), (Outcome{90, 3, 7, 97, 9}));

    Fill(bot.sat, 255);  // 255 + 4 clamps
    bot.heading = 0;
    EXPECT_EQ(Run(RockRule2, {3}), (Outcome{255, -4, 7, 255, 9}));
}

TEST_F(RockTest, Rule3StepsTheRingMeanTowardsTheBase) {
    UseBot(kRock, 3);  // primary and secondary sat, base (236, 231, 212)
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 7);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 9);
    bot.heading = 0;

    // Mean 240 is near 231: down by two. Left spread 20 beats 0: +1.
    Set(bot.sat, {240, 250, 230, 240, 240, 240, 240, 240}, 250);
    EXPECT_EQ(Run(RockRule3, {15}), (Outcome{238, -1, 7, 247, 9}));

    // Mean 100 is far away: the centre, equal to the base, goes up.
    Set(bot.sat, {100, 100, 100, 100, 100, 100, 100, 100}, 231);
    EXPECT_EQ(Run(RockRule3, {3}), (Outcome{233, -4, 7, 231, 9}));

    // Mean 199 lies exactly 32 below the base: kept, and up by two.
    Set(bot.sat, {199, 199, 199, 199, 199, 199, 199, 199}, 0);
    EXPECT_EQ(Run(RockRule3, {3}), (Outcome{201, -4, 7, 50, 9}));
}

TEST_F(RockTest, Rule4BringsTheCentreIntoACalmRing) {
    UseBot(kRock, 4);  // primary and secondary hue, base (6, 110, 33)
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 70);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 80);

    // Ring 10..30: 200 comes down to 30. The cell's hue 200 moves a quarter
    // of the way to 31 the short way round, past 255.
    Set(bot.hue, {10, 15, 20, 25, 30, 12, 18, 22}, 200);
    bot.heading = 0;
    EXPECT_EQ(Run(RockRule4, {0}), (Outcome{31, -1, 222, 70, 80}));

    // Ring 10..60 (spread 50): the centre stays.
    Set(bot.hue, {10, 60, 20, 30, 40, 50, 15, 25}, 200);
    bot.heading = 7;
    EXPECT_EQ(Run(RockRule4, {6}), (Outcome{201, 8, 201, 70, 80}));

    // 255 in a flat ring of 255 wraps to 0.
    Fill(bot.hue, 255);
    bot.heading = 5;
    EXPECT_EQ(Run(RockRule4, {3}), (Outcome{0, 5, 0, 70, 80}));

    // Spread exactly 32 still counts as calm: 200 comes down to 132.
    Set(bot.hue, {100, 132, 110, 120, 105, 115, 125, 130}, 200);
    bot.heading = 0;
    EXPECT_EQ(Run(RockRule4, {7}), (Outcome{133, 1, 184, 70, 80}));

    // A centre below the ring goes up to its smallest value.
    Set(bot.hue, {100, 120, 110, 105, 115, 101, 119, 108}, 50);
    EXPECT_EQ(Run(RockRule4, {1}), (Outcome{101, 0, 63, 70, 80}));
}

TEST_F(RockTest, Rule5IgnoresTheOldHeading) {
    UseBot(kRock, 5);  // primary sat, secondary lum, base (68, 87, 195)
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 7);
    bot.heading = 5;

    // The larger of centre 50 and state 80 stays at or below 87. Bits 1..3
    // of 255 give 7, then the nudge and +2.
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 50);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 255);
    bot.state = 80;
    EXPECT_EQ(Run(RockRule5, {7}), (Outcome{84, 10, 7, 58, 255}));

    bot.state = 88;  // above the base: the centre is used
    EXPECT_EQ(Run(RockRule5, {0}), (Outcome{54, 9, 7, 51, 255}));

    // Equal to the base is not above it.
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 87);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 0);
    bot.state = 87;
    EXPECT_EQ(Run(RockRule5, {6}), (Outcome{91, 2, 7, 88, 0}));

    // 253 + 4 clamps; bits 1..3 of 6 give 3.
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 253);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 6);
    bot.state = 0;
    EXPECT_EQ(Run(RockRule5, {15}), (Outcome{255, 6, 7, 253, 6}));
}

TEST_F(RockTest, Rule6KeepsItsStateUnlessTheCentreIsClose) {
    UseBot(kRock, 6);  // primary sat, secondary hue, base (50, 221, 15)
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 100);

    // The centre 240 is close to state 200 and near the base. Equal sides:
    // -5.
    Fill(bot.sat, 240);
    Fill(bot.hue, 0);
    bot.state = 200;
    bot.heading = 1;
    EXPECT_EQ(Run(RockRule6), (Outcome{240, -4, 11, 240, 79}));

    // The centre 100 is far from state 230: the state stays. L < R: -3.
    Fill(bot.sat, 100);
    Set(bot.hue, {0, 10, 10, 10, 0, 20, 20, 20}, 0);
    bot.state = 230;
    bot.heading = 2;
    EXPECT_EQ(Run(RockRule6), (Outcome{230, -1, 11, 165, 80}));

    // A distance of exactly 64 is not close. L > R: -5.
    Fill(bot.sat, 136);
    Set(bot.hue, {0, 30, 30, 30, 0, 0, 0, 0}, 0);
    bot.state = 200;
    bot.heading = 0;
    EXPECT_EQ(Run(RockRule6), (Outcome{200, -5, 9, 168, 83}));

    // State 180 is kept by the first test but lies 41 from the base: the
    // centre replaces it.
    Fill(bot.sat, 100);
    Fill(bot.hue, 0);
    bot.state = 180;
    EXPECT_EQ(Run(RockRule6), (Outcome{100, -5, 4, 100, 91}));
}

TEST_F(RockTest, Rule7SteersByTheSecondaryCentre) {
    UseBot(kRock, 7);  // primary hue, secondary sat, base (219, 175, 212)
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 40);
    bot.heading = 6;

    // 255 + 1 wraps to 0; the midpoint of 0 and 255 is 255. s[8] = 0: 3.
    Fill(bot.hue, 255);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 0);
    EXPECT_EQ(Run(RockRule7, {0}), (Outcome{0, 3, 255, 0, 40}));

    // Diagonal mean 40, plus one; the midpoint with 200 goes round 0.
    // s[8] = 255: 7 + 3 = 10, unless the draw keeps the heading.
    Set(bot.hue, {0, 10, 0, 30, 0, 50, 0, 70}, 200);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 255);
    EXPECT_EQ(Run(RockRule7, {2}), (Outcome{41, 10, 248, 255, 40}));
    EXPECT_EQ(Run(RockRule7, {3}), (Outcome{41, 6, 248, 255, 40}));

    // Spread 230: the centre is used.
    Set(bot.hue, {0, 10, 230, 30, 0, 50, 0, 70}, 200);
    EXPECT_EQ(Run(RockRule7, {0}), (Outcome{201, 10, 200, 255, 40}));
}

}  // namespace
}  // namespace tintwalk
