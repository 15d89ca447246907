// The somspaars row, its seven rules and the borrowed rule of bot 4. Every
// expected value below was worked out by hand from the rule's steps; each Run
// also checks that the rule took exactly the draws that were staged for it.
#include <gtest/gtest.h>

#include "communities/community.h"
#include "communities/rules.h"
#include "support/rule_bench.h"

namespace tintwalk {
namespace {

using testing::Outcome;

class SomspaarsTest : public testing::RuleBench {};

TEST_F(SomspaarsTest, RowValuesAndRules) {
    const uint8_t genes[8][13] = {
        {14, 0, 13, 12, 13, 2, 0, 2, 2, 0, 38, 119, 221},
        {15, 0, 7, 11, 0, 13, 0, 0, 2, 2, 221, 27, 213},
        {14, 0, 5, 12, 3, 0, 0, 0, 0, 1, 110, 37, 193},
        {12, 0, 1, 10, 5, 5, 7, 0, 0, 2, 138, 140, 33},
        {11, 0, 10, 11, 4, 6, 0, 0, 0, 0, 30, 244, 15},
        {14, 7, 9, 13, 7, 10, 0, 0, 2, 1, 30, 111, 195},
        {11, 0, 5, 10, 13, 0, 7, 2, 1, 2, 97, 4, 38},
        {15, 5, 5, 11, 5, 5, 0, 0, 0, 0, 125, 78, 223},
    };
    const BotRule rules[8] = {SomspaarsRule0,    SomspaarsRule1, SomspaarsRule2, SomspaarsRule3,
                              PaarsebergenRule3, SomspaarsRule5, SomspaarsRule6, SomspaarsRule7};
    testing::ExpectRow(kSomspaars, 2, "somspaars", 192, {200, 207, 202}, genes, rules);

    const int32_t primaryBase[8] = {221, 213, 110, 138, 30, 195, 4, 125};
    const int32_t secondaryBase[8] = {38, 213, 37, 33, 30, 111, 38, 125};
    for (int b = 0; b < 8; ++b) {
        UseBot(kSomspaars, b);
        EXPECT_EQ(bot.primaryBase, primaryBase[b]) << "bot " << b;
        EXPECT_EQ(bot.secondaryBase, secondaryBase[b]) << "bot " << b;
    }
}

TEST_F(SomspaarsTest, Rule0ThreeDrawsAndKeep) {
    UseBot(kSomspaars, 0);  // primary lum, secondary hue, bases 221 and 38
    bot.state = 0;
    bot.heading = 4;

    // Secondaries all at the base: h = heading. (63 & 63) = 63 adds
    // kSign2[1] = +1; the third draw 0 delivers h.
    Fill(bot.lum, 100);
    Fill(bot.hue, 38);
    Fill(bot.sat, 0);
    EXPECT_EQ(Run(SomspaarsRule0, {1, 63, 0}), (Outcome{102, 5, 37, 11, 101}));

    // Farthest secondary behind (+4), +1 from the second draw, but the third
    // (31) keeps the old heading. 255 + 2 clamps to 255.
    Set(bot.hue, {38, 38, 38, 38, 200, 38, 38, 38}, 38);
    Fill(bot.sat, 200);
    Fill(bot.lum, 255);
    EXPECT_EQ(Run(SomspaarsRule0, {1, 63, 31}), (Outcome{255, 4, 37, 179, 255}));
    // Neither test fires: heading + 4. 0 - 2 clamps to 0.
    Fill(bot.lum, 0);
    EXPECT_EQ(Run(SomspaarsRule0, {0, 62, 30}), (Outcome{0, 8, 37, 199, 0}));
}

TEST_F(SomspaarsTest, Rule1ReflectionClamp) {
    UseBot(kSomspaars, 1);  // primary and secondary lum, base (221, 27, 213)

    // Reflection 4 - 4 = 0: lightness 0.
    Fill(bot.lum, 4);
    Fill(bot.hue, 0);
    Fill(bot.sat, 255);
    bot.state = 0;
    bot.heading = 7;
    EXPECT_EQ(Run(SomspaarsRule1, {7}), (Outcome{0, 8, 54, 197, 0}));

    // Reflection (2040 - 1004) >> 2 = 259: 255.
    Set(bot.lum, {255, 255, 255, 255, 255, 255, 255, 255}, 251);
    Fill(bot.hue, 100);
    Fill(bot.sat, 10);
    bot.state = 128;
    bot.heading = 0;
    EXPECT_EQ(Run(SomspaarsRule1, {6}), (Outcome{255, 0, 99, 9, 255}));

    // (2040 - 1008) >> 2 = 258, less 4: 254. (0 - 1020) >> 2 = -255, less 4,
    // clamps to 0.
    Fill(bot.hue, 0);
    Fill(bot.sat, 0);
    Set(bot.lum, {255, 255, 255, 255, 255, 255, 255, 255}, 252);
    EXPECT_EQ(Run(SomspaarsRule1, {0}).state, 254);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 255);
    EXPECT_EQ(Run(SomspaarsRule1, {0}).state, 0);
}

TEST_F(SomspaarsTest, Rule2MeanLessOneWraps) {
    UseBot(kSomspaars, 2);  // primary hue, secondary sat, base (110, 37, 193)
    bot.state = 0;

    // Ring mean 0 - 1 wraps to 255 (w = 63); 255 and 128 lie 127 apart, so
    // the midpoint takes them as they are: 383 >> 1.
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 128);
    Fill(bot.sat, 0);
    Fill(bot.lum, 255);
    bot.heading = 5;
    EXPECT_EQ(Run(SomspaarsRule2), (Outcome{255, 0, 191, 9, 238}));

    // Heading straight from (255 >> 2) & 7 = 7, whatever the current one.
    Set(bot.hue, {100, 100, 100, 100, 100, 100, 100, 100}, 0);
    Fill(bot.sat, 255);
    Fill(bot.lum, 0);
    bot.heading = 2;
    EXPECT_EQ(Run(SomspaarsRule2), (Outcome{99, 7, 49, 233, 18}));
}

TEST_F(SomspaarsTest, Rule3CrossPlusOne) {
    UseBot(kSomspaars, 3);  // primary hue, secondary lum, base (138, 140, 33)

    // Cross 255 + 1 wraps to 0; heading (200 >> 4) & 7 = 4, -1 - 3.
    Set(bot.hue, {0, 255, 0, 255, 0, 255, 0, 255}, 0);
    Fill(bot.sat, 100);
    Fill(bot.lum, 200);
    EXPECT_EQ(Run(SomspaarsRule3, {0}), (Outcome{0, 0, 0, 99, 199}));

    // Cross (10 + 20 + 30 + 41) >> 2 = 25.
    Set(bot.hue, {0, 10, 0, 20, 0, 30, 0, 41}, 0);
    Fill(bot.sat, 0);
    Fill(bot.lum, 0);
    EXPECT_EQ(Run(SomspaarsRule3, {3}), (Outcome{26, -2, 26, 3, 0}));
}

TEST_F(SomspaarsTest, Bot4BorrowedRuleWithItsOwnBase) {
    UseBot(kSomspaars, 4);  // primary and secondary hue, base (30, 244, 15)

    // Centre mean 31 above the base 30: 27; 30 is not above it: 34.
    Fill(bot.hue, 31);
    Fill(bot.sat, 100);
    Fill(bot.lum, 50);
    EXPECT_EQ(Run(PaarsebergenRule3, {7}), (Outcome{27, 4, 27, 131, 42}));
    Fill(bot.hue, 30);
    Fill(bot.sat, 0);
    Fill(bot.lum, 0);
    EXPECT_EQ(Run(PaarsebergenRule3, {0}).state, 34);
}

TEST_F(SomspaarsTest, Rule5SpreadLimitAndBase) {
    UseBot(kSomspaars, 5);  // primary lum, secondary sat, primary base 195
    Fill(bot.hue, 0);
    bot.state = 0;

    // Spread exactly 32 takes the ring mean 1560 >> 3 = 195, not above the
    // base: 197. The largest secondary first in fan order at position 2.
    Set(bot.lum, {179, 211, 195, 195, 195, 195, 195, 195}, 0);
    Set(bot.sat, {0, 0, 50, 0, 0, 0, 50, 0}, 255);
    bot.heading = 3;
    EXPECT_EQ(Run(SomspaarsRule5, {0}), (Outcome{197, 4, 1, 246, 98}));

    // Mean 196 is above: 194. All secondaries 0: position 0.
    Set(bot.lum, {196, 196, 196, 196, 196, 196, 196, 196}, 0);
    Fill(bot.sat, 0);
    bot.heading = 7;
    EXPECT_EQ(Run(SomspaarsRule5, {15}), (Outcome{194, 8, 1, 6, 97}));

    // Spread 33 takes the centre 50: 52.
    Set(bot.lum, {179, 212, 195, 195, 195, 195, 195, 195}, 50);
    bot.heading = 0;
    EXPECT_EQ(Run(SomspaarsRule5, {1}), (Outcome{52, -1, 5, 21, 51}));
}

TEST_F(SomspaarsTest, Rule6TurnBackAndKeep) {
    UseBot(kSomspaars, 6);  // primary sat, secondary lum, bases 4 and 38
    bot.state = 0;

    // Centre mean 0 - 1 clamps to 0; nothing differs from 38: heading - 3.
    Fill(bot.sat, 0);
    Fill(bot.lum, 38);
    Fill(bot.hue, 200);
    bot.heading = 1;
    EXPECT_EQ(Run(SomspaarsRule6, {0}), (Outcome{0, -2, 199, 0, 37}));

    // Position 7 differs most: heading + 7 - 3, unless the draw is 31.
    Set(bot.sat, {0, 200, 0, 200, 0, 200, 0, 200}, 200);
    Set(bot.lum, {38, 38, 38, 38, 38, 38, 38, 0}, 255);
    Fill(bot.hue, 0);
    bot.heading = 2;
    EXPECT_EQ(Run(SomspaarsRule6, {30}), (Outcome{199, 6, 18, 199, 212}));
    EXPECT_EQ(Run(SomspaarsRule6, {31}).heading, 2);
}

TEST_F(SomspaarsTest, Rule7SpreadLimitAndWrap) {
    UseBot(kSomspaars, 7);  // primary and secondary hue, base (125, 78, 223)

    // Spread 31 takes the centre 60: 59; heading (60 >> 4) & 7 = 3, -1.
    Set(bot.hue, {100, 131, 100, 100, 100, 100, 100, 100}, 60);
    Fill(bot.sat, 0);
    Fill(bot.lum, 255);
    EXPECT_EQ(Run(SomspaarsRule7, {0}), (Outcome{59, 2, 59, 14, 247}));
    // Spread 32 keeps the reflection (832 - 240) >> 2 = 148: 147.
    Set(bot.hue, {100, 132, 100, 100, 100, 100, 100, 100}, 60);
    EXPECT_EQ(Run(SomspaarsRule7, {3}), (Outcome{147, 4, 147, 8, 250}));

    // Reflection (32 - 72) >> 2 = -10 gives 245; reflection 0 gives 255.
    Set(bot.hue, {32, 0, 0, 0, 0, 0, 0, 0}, 18);
    Fill(bot.lum, 0);
    EXPECT_EQ(Run(SomspaarsRule7, {1}), (Outcome{245, 1, 245, 0, 1}));
    Set(bot.hue, {32, 0, 0, 0, 0, 0, 0, 0}, 8);
    EXPECT_EQ(Run(SomspaarsRule7, {1}).state, 255);
}

}  // namespace
}  // namespace tintwalk
