// The amorfwit row and its eight rules. Every expected value below was worked
// out by hand from the rule's steps; each Run also checks that the rule took
// exactly the draws that were staged for it.
#include <gtest/gtest.h>

#include "communities/community.h"
#include "communities/rules.h"
#include "support/rule_bench.h"

namespace tintwalk {
namespace {

using testing::Outcome;

class AmorfwitTest : public testing::RuleBench {};

TEST_F(AmorfwitTest, RowValuesAndRules) {
    const uint8_t genes[8][13] = {
        {13, 3, 0, 10, 0, 7, 1, 1, 2, 0, 224, 4, 169},
        {14, 6, 0, 1, 21, 9, 1, 0, 2, 2, 146, 232, 253},
        {31, 1, 7, 10, 1, 10, 4, 2, 1, 0, 93, 98, 41},
        {26, 1, 7, 10, 1, 10, 4, 2, 1, 0, 98, 91, 23},
        {11, 1, 13, 3, 15, 6, 8, 3, 0, 1, 3, 198, 243},
        {12, 0, 9, 1, 20, 10, 1, 0, 1, 1, 219, 193, 250},
        {13, 5, 9, 12, 19, 11, 1, 0, 1, 0, 111, 167, 32},
        {12, 7, 4, 2, 5, 13, 6, 2, 2, 2, 156, 135, 229},
    };
    const BotRule rules[8] = {AmorfwitRule0, AmorfwitRule1, AmorfwitRule2, AmorfwitRule3,
                              AmorfwitRule4, AmorfwitRule5, AmorfwitRule6, AmorfwitRule7};
    testing::ExpectRow(kAmorfwit, 0, "amorfwit", 128, {201, 202, 196}, genes, rules);

    const int32_t primaryBase[8] = {169, 253, 98, 91, 3, 193, 167, 229};
    for (int b = 0; b < 8; ++b) {
        UseBot(kAmorfwit, b);
        EXPECT_EQ(bot.primaryBase, primaryBase[b]) << "bot " << b;
    }
}

TEST_F(AmorfwitTest, Rule0NineMeanAgainstBase) {
    UseBot(kAmorfwit, 0);  // primary lum, secondary hue, primary base 169
    Fill(bot.hue, 100);
    Fill(bot.sat, 50);
    bot.state = 0;

    // Mean 377 / 9 = 41 lies exactly 128 below the base 169: kept. The jitter
    // draw (+1) comes before the keep draw (2 & 3 is not 3).
    Set(bot.lum, {47, 47, 47, 47, 47, 47, 47, 48}, 0);
    bot.heading = 3;
    EXPECT_EQ(Run(AmorfwitRule0, {15, 2}), (Outcome{41, 5, 104, 48, 41}));

    // Mean 360 / 9 = 40 is 129 below: the centre 8 is taken. A keep draw
    // (7 & 3 = 3) holds the heading although the jitter was drawn.
    Set(bot.lum, {44, 44, 44, 44, 44, 44, 44, 44}, 8);
    bot.heading = 6;
    EXPECT_EQ(Run(AmorfwitRule0, {15, 7}), (Outcome{8, 6, 100, 49, 8}));
}

TEST_F(AmorfwitTest, Rule1SpreadLimitAndSides) {
    UseBot(kAmorfwit, 1);  // primary and secondary lum, primary base 253
    Fill(bot.hue, 77);
    Fill(bot.sat, 88);
    bot.state = 0;

    // Spread exactly 224: the ring mean 304 >> 3 = 38; left side heavier.
    Set(bot.lum, {10, 234, 10, 10, 10, 10, 10, 10}, 200);
    bot.heading = 2;
    EXPECT_EQ(Run(AmorfwitRule1, {6}), (Outcome{38, 5, 77, 88, 38}));

    // Spread 225 takes the centre; equal sides turn -1, the table -1, then +1.
    Set(bot.lum, {235, 10, 10, 10, 10, 10, 10, 10}, 200);
    bot.heading = 0;
    EXPECT_EQ(Run(AmorfwitRule1, {0}), (Outcome{200, -1, 77, 88, 200}));
}

TEST_F(AmorfwitTest, Rule2StateHoldAndClamp) {
    UseBot(kAmorfwit, 2);  // primary sat, secondary hue, base (93, 98, 41)

    // State equal to the base is kept: 98 - 4; heading from 45 & 7 = 5, +1 + 4.
    Fill(bot.sat, 10);
    Fill(bot.hue, 45);
    Fill(bot.lum, 200);
    bot.state = 98;
    bot.heading = 1;
    EXPECT_EQ(Run(AmorfwitRule2, {15, 0}), (Outcome{94, 10, 49, 94, 184}));

    // Below the base the centre 3 is taken and clamps to 0: weight 0 blends.
    Fill(bot.sat, 3);
    Fill(bot.hue, 200);
    Fill(bot.lum, 100);
    bot.state = 97;
    bot.heading = 6;
    EXPECT_EQ(Run(AmorfwitRule2, {1, 31}), (Outcome{0, 6, 199, 0, 99}));
}

TEST_F(AmorfwitTest, Rule3FarthestRingValue) {
    UseBot(kAmorfwit, 3);  // primary sat, secondary hue, base (98, 91, 23)
    bot.heading = 0;

    Fill(bot.sat, 120);
    Fill(bot.hue, 16);
    Fill(bot.lum, 60);
    bot.state = 150;
    EXPECT_EQ(Run(AmorfwitRule3, {2, 30}), (Outcome{146, 4, 27, 146, 54}));

    // p[1] and p[7] tie at 100 from the centre: the first in index order wins.
    Set(bot.sat, {100, 200, 100, 100, 100, 100, 100, 0}, 100);
    Fill(bot.hue, 255);
    Fill(bot.lum, 255);
    bot.state = 5;
    EXPECT_EQ(Run(AmorfwitRule3, {0, 0}), (Outcome{196, 10, 223, 196, 209}));

    Fill(bot.hue, 0);
    Fill(bot.lum, 0);
    // p[2] and p[7] tie: index order takes p[2] (fan order would take p[7]).
    Set(bot.sat, {100, 100, 160, 100, 100, 100, 100, 40}, 100);
    EXPECT_EQ(Run(AmorfwitRule3, {0, 0}).state, 156);
    // A farthest value below the base falls back to the centre.
    Set(bot.sat, {20, 100, 100, 100, 100, 100, 100, 100}, 100);
    EXPECT_EQ(Run(AmorfwitRule3, {0, 0}).state, 96);
}

TEST_F(AmorfwitTest, Rule4WrapAndHeadingMix) {
    UseBot(kAmorfwit, 4);  // primary hue, secondary sat, primary base 3
    bot.state = 0;

    // Centre mean 0 below base 3 takes the centre; -2 wraps to 254.
    Fill(bot.hue, 0);
    Set(bot.sat, {10, 20, 30, 40, 50, 60, 70, 80}, 90);
    Fill(bot.lum, 130);
    bot.heading = 1;
    EXPECT_EQ(Run(AmorfwitRule4, {0, 7}), (Outcome{254, 5, 0, 90, 130}));

    // 255 + 2 wraps to 1; hue 255 moves a quarter of the way to 1.
    Fill(bot.hue, 255);
    Fill(bot.sat, 50);
    Fill(bot.lum, 77);
    bot.heading = 0;
    EXPECT_EQ(Run(AmorfwitRule4, {1, 0}), (Outcome{1, -3, 0, 50, 77}));

    // Centre mean 2 is below the base (centre 0 taken); 3 equals it and is kept.
    bot.heading = 4;
    Set(bot.hue, {0, 4, 0, 4, 0, 4, 0, 4}, 0);
    EXPECT_EQ(Run(AmorfwitRule4, {1, 3}), (Outcome{2, 2, 1, 50, 77}));
    Set(bot.hue, {0, 6, 0, 6, 0, 6, 0, 6}, 0);
    EXPECT_EQ(Run(AmorfwitRule4, {1, 3}), (Outcome{5, 2, 2, 50, 77}));
}

TEST_F(AmorfwitTest, Rule5CrossAgainstBase) {
    UseBot(kAmorfwit, 5);  // primary and secondary sat, primary base 193
    Fill(bot.hue, 5);
    Fill(bot.lum, 70);
    bot.state = 0;

    // Cross 193 is not above the base: +2. Left side lighter: +1.
    Set(bot.sat, {0, 193, 10, 193, 0, 193, 20, 193}, 60);
    bot.heading = 7;
    EXPECT_EQ(Run(AmorfwitRule5, {0}), (Outcome{195, 8, 5, 195, 70}));

    // Cross 194 is above: -2. Equal sides turn -1.
    Set(bot.sat, {0, 194, 0, 194, 0, 194, 0, 194}, 60);
    bot.heading = 3;
    EXPECT_EQ(Run(AmorfwitRule5, {2}), (Outcome{192, 3, 5, 192, 70}));
}

TEST_F(AmorfwitTest, Rule6SpreadLimit) {
    UseBot(kAmorfwit, 6);  // primary sat, secondary hue, base (111, 167, 32)
    Fill(bot.lum, 255);

    // Spread 31 takes the centre 170, above the base: 168.
    Set(bot.sat, {100, 131, 100, 100, 100, 100, 100, 100}, 170);
    Set(bot.hue, {0, 20, 0, 0, 0, 0, 0, 0}, 0);
    EXPECT_EQ(Run(AmorfwitRule6, {14}), (Outcome{168, 4, 18, 169, 217}));

    // Spread 32 takes the nine-entry mean 1002 / 9 = 111: 113. Secondary
    // spread 255 gives (127 & 7) = 7.
    Set(bot.sat, {100, 132, 100, 100, 100, 100, 100, 100}, 170);
    Set(bot.hue, {255, 0, 0, 0, 0, 0, 0, 0}, 0);
    EXPECT_EQ(Run(AmorfwitRule6, {15}), (Outcome{113, 9, 12, 141, 229}));
}

TEST_F(AmorfwitTest, Rule7SpreadLimitAndKeep) {
    UseBot(kAmorfwit, 7);  // primary and secondary lum, primary base 229
    Fill(bot.hue, 11);
    Fill(bot.sat, 22);
    bot.state = 0;
    bot.heading = 5;

    // Spread exactly 32 takes Cross 250; 250 + 8 clamps to 255.
    Set(bot.lum, {250, 250, 218, 250, 250, 250, 250, 250}, 40);
    EXPECT_EQ(Run(AmorfwitRule7, {7, 0}), (Outcome{255, 1, 11, 22, 147}));

    // Spread 33 takes the centre 200; heading from (200 >> 4) & 7 = 4, - 2.
    Set(bot.lum, {250, 250, 217, 250, 250, 250, 250, 250}, 200);
    EXPECT_EQ(Run(AmorfwitRule7, {0, 30}), (Outcome{208, 2, 11, 22, 204}));
    EXPECT_EQ(Run(AmorfwitRule7, {0, 31}).heading, 5);
}

}  // namespace
}  // namespace tintwalk
