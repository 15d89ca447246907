// The "geo&vlekkensnel" row and its eight rules. Every expected value below is
// worked out by hand from the rule's steps; the comments show the arithmetic.
#include <gtest/gtest.h>

#include "communities/community.h"
#include "communities/rules.h"
#include "support/rule_bench.h"

namespace tintwalk {
namespace {

using testing::Outcome;

class GeoVlekkensnelRuleTest : public testing::RuleBench {};

TEST(GeoVlekkensnelPreset, RowData) {
    const uint8_t genes[8][13] = {
        {12, 0, 6, 6, 15, 5, 0, 0, 0, 2, 238, 56, 130},
        {15, 2, 0, 2, 6, 0, 3, 0, 1, 0, 96, 59, 197},
        {7, 0, 6, 1, 20, 7, 8, 0, 2, 2, 131, 206, 218},
        {21, 6, 1, 10, 21, 2, 8, 0, 2, 2, 202, 70, 29},
        {6, 5, 0, 5, 20, 0, 8, 2, 2, 2, 183, 29, 242},
        {1, 0, 0, 12, 6, 7, 1, 0, 2, 2, 128, 199, 185},
        {10, 0, 6, 13, 6, 8, 0, 0, 0, 2, 94, 6, 234},
        {10, 0, 13, 5, 7, 9, 0, 0, 0, 0, 50, 202, 105},
    };
    const BotRule rules[8] = {GeoVlekkensnelRule0, GeoVlekkensnelRule1, GeoVlekkensnelRule2,
                              GeoVlekkensnelRule3, GeoVlekkensnelRule4, GeoVlekkensnelRule5,
                              GeoVlekkensnelRule6, GeoVlekkensnelRule7};
    testing::ExpectRow(kGeoVlekkensnel, 4, "geo&vlekkensnel", 0, {202, 202, 200}, genes, rules);
}

// Bot 0: primary hue, secondary lum; base (238, 56, 130).
TEST_F(GeoVlekkensnelRuleTest, Rule0StateWrapsAndSaturationCreepsToTheBase) {
    UseBot(kGeoVlekkensnel, 0);
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 2);
    Fill(bot.sat, 0);
    Fill(bot.lum, 100);
    bot.heading = 0;
    // Cross 0: state 254. hue HueMidpoint(254, 2) = 0 across the wrap;
    // sat (0 + 56) >> 5 = 1; lum (3100 + 130) >> 5 = 100.
    // Flat lum: every position at the mean, the first is 0; r = 0 gives -1.
    EXPECT_EQ(Run(GeoVlekkensnelRule0, {0}), (Outcome{254, -1, 0, 1, 100}));
}

TEST_F(GeoVlekkensnelRuleTest, Rule0TowardsTheRingPositionNearestItsMean) {
    UseBot(kGeoVlekkensnel, 0);
    Fill(bot.hue, 255);
    Fill(bot.sat, 255);
    // Ring sum 370, mean 46; distances 36, 4, 44, 16, 24, 26, 14, 6: i = 1.
    Set(bot.lum, {10, 50, 90, 30, 70, 20, 60, 40}, 200);
    bot.heading = 5;
    // Cross 255: state 253. hue HueMidpoint(253, 255) = 254;
    // sat (7905 + 56) >> 5 = 248; lum (6200 + 130) >> 5 = 197.
    // r = 3 gives +1: 5 + 1 + 1.
    EXPECT_EQ(Run(GeoVlekkensnelRule0, {3}), (Outcome{253, 7, 254, 248, 197}));
}

TEST_F(GeoVlekkensnelRuleTest, Rule0RingMeanRoundsDown) {
    UseBot(kGeoVlekkensnel, 0);
    Fill(bot.hue, 50);
    Fill(bot.sat, 0);
    // Ring sum 167: mean 20 (not 21), which position 1 holds exactly.
    Set(bot.lum, {21, 20, 0, 0, 0, 63, 63, 0}, 10);
    bot.heading = 4;
    // Cross 50: state 48; hue HueMidpoint(48, 50) = 49; sat 56 >> 5 = 1;
    // lum (310 + 130) >> 5 = 13. r = 2 gives 0: 4 + 1.
    EXPECT_EQ(Run(GeoVlekkensnelRule0, {2}), (Outcome{48, 5, 49, 1, 13}));
}

TEST_F(GeoVlekkensnelRuleTest, Rule0FanTieOfSevenAndTwoTakesSeven) {
    UseBot(kGeoVlekkensnel, 0);
    Set(bot.hue, {0, 100, 0, 101, 0, 102, 0, 103}, 120);
    Fill(bot.sat, 128);
    // Ring sum 800, mean 100; positions 7 and 2 both hold 100.
    Set(bot.lum, {200, 200, 100, 0, 0, 0, 200, 100}, 0);
    bot.heading = 2;
    // Cross 406 >> 2 = 101: state 99. hue HueMidpoint(99, 120) = 109;
    // sat (3968 + 56) >> 5 = 125; lum (0 + 130) >> 5 = 4. r = 1 gives 0.
    EXPECT_EQ(Run(GeoVlekkensnelRule0, {1}), (Outcome{99, 9, 109, 125, 4}));
}

// Bot 1: primary sat (primaryBase 59), secondary hue.
TEST_F(GeoVlekkensnelRuleTest, Rule1FlatPrimaryGivesItsValue) {
    UseBot(kGeoVlekkensnel, 1);
    Fill(bot.lum, 7);
    // Flat 100: reflection 100 > 59, so p[8] = 100; sat (100 + 100) >> 1.
    // hue all 255: none below 255, position 0: 6 + 3.
    Fill(bot.sat, 100);
    Fill(bot.hue, 255);
    bot.heading = 6;
    EXPECT_EQ(Run(GeoVlekkensnelRule1), (Outcome{100, 9, 255, 100, 7}));
    // Flat 40: reflection 40 kept. hue all 30: position 0 again: 0 + 3.
    Fill(bot.sat, 40);
    Fill(bot.hue, 30);
    bot.heading = 0;
    EXPECT_EQ(Run(GeoVlekkensnelRule1), (Outcome{40, 3, 30, 40, 7}));
}

TEST_F(GeoVlekkensnelRuleTest, Rule1ExtremeReflections) {
    UseBot(kGeoVlekkensnel, 1);
    Fill(bot.hue, 30);
    Fill(bot.lum, 7);
    bot.heading = 0;
    // Ring 255 around 0: 510 > 59, state p[8] = 0; sat (0 + 0) >> 1 = 0.
    Set(bot.sat, {255, 255, 255, 255, 255, 255, 255, 255}, 0);
    EXPECT_EQ(Run(GeoVlekkensnelRule1), (Outcome{0, 3, 30, 0, 7}));
    // Ring 0 around 255: -255, clamped to 0; sat (255 + 0) >> 1 = 127.
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 255);
    EXPECT_EQ(Run(GeoVlekkensnelRule1), (Outcome{0, 3, 30, 127, 7}));
}

TEST_F(GeoVlekkensnelRuleTest, Rule1ReflectionAtThePrimaryBaseIsKept) {
    UseBot(kGeoVlekkensnel, 1);
    Fill(bot.hue, 30);
    Fill(bot.lum, 7);
    bot.heading = 0;
    // (488 - 252) >> 2 = 59, not above 59: kept; sat (63 + 59) >> 1 = 61.
    Set(bot.sat, {61, 61, 61, 61, 61, 61, 61, 61}, 63);
    EXPECT_EQ(Run(GeoVlekkensnelRule1), (Outcome{59, 3, 30, 61, 7}));
    // (488 - 248) >> 2 = 60 > 59: p[8] = 62; sat (62 + 62) >> 1 = 62.
    Set(bot.sat, {61, 61, 61, 61, 61, 61, 61, 61}, 62);
    EXPECT_EQ(Run(GeoVlekkensnelRule1), (Outcome{62, 3, 30, 62, 7}));
}

TEST_F(GeoVlekkensnelRuleTest, Rule1TurnsTowardsTheSmallestSecondary) {
    UseBot(kGeoVlekkensnel, 1);
    Fill(bot.lum, 7);
    // (400 - 180) >> 2 = 55; sat (45 + 55) >> 1 = 50.
    Set(bot.sat, {50, 50, 50, 50, 50, 50, 50, 50}, 45);
    // hue[4] the only 0: 1 + 4 + 3.
    Set(bot.hue, {90, 90, 90, 90, 0, 90, 90, 90}, 90);
    bot.heading = 1;
    EXPECT_EQ(Run(GeoVlekkensnelRule1), (Outcome{55, 8, 90, 50, 7}));
}

// Bot 2: primary and secondary are both lum.
TEST_F(GeoVlekkensnelRuleTest, Rule2ClampsAndTurnsMinusOneOnEqualSides) {
    UseBot(kGeoVlekkensnel, 2);
    Fill(bot.hue, 40);
    Fill(bot.sat, 50);
    Fill(bot.lum, 0);
    bot.state = 1;
    bot.heading = 3;
    // max(0, 1) - 2 = -1, clamped to 0. L = R: t = 2; r = 0 gives -1: 2 - 1 - 4.
    EXPECT_EQ(Run(GeoVlekkensnelRule2, {0}), (Outcome{0, -3, 40, 50, 0}));
}

TEST_F(GeoVlekkensnelRuleTest, Rule2SideSumsAndJitter) {
    UseBot(kGeoVlekkensnel, 2);
    Fill(bot.hue, 40);
    Fill(bot.sat, 50);
    // Centre 200 above state 10: 198. L = 0 < R = 9: t = 2; r = 15 gives +1.
    Set(bot.lum, {0, 0, 0, 0, 0, 9, 0, 0}, 200);
    bot.state = 10;
    bot.heading = 1;
    EXPECT_EQ(Run(GeoVlekkensnelRule2, {15}), (Outcome{198, -1, 40, 50, 198}));
    // State 255 above the centre 5: 253. L = 5 > R = 0: t = 3; r = 7 gives 0.
    Set(bot.lum, {0, 5, 0, 0, 0, 0, 0, 0}, 5);
    bot.state = 255;
    bot.heading = 4;
    EXPECT_EQ(Run(GeoVlekkensnelRule2, {7}), (Outcome{253, -1, 40, 50, 253}));
}

// Bot 3: primary and secondary are both lum; base (202, 70, 29).
TEST_F(GeoVlekkensnelRuleTest, Rule3CentreZeroGivesOne) {
    UseBot(kGeoVlekkensnel, 3);
    Fill(bot.hue, 100);
    Fill(bot.sat, 100);
    Set(bot.lum, {10, 20, 30, 40, 50, 60, 70, 80}, 0);
    bot.heading = 2;
    // a = 0 whatever q is: state 1, e = 0. hue 100*255 >> 8 = 99; sat 99.
    // L = 90 < R = 210: t = 1; r = 63 adds 1: 2 - 4.
    EXPECT_EQ(Run(GeoVlekkensnelRule3, {63}), (Outcome{1, -2, 99, 99, 1}));
}

TEST_F(GeoVlekkensnelRuleTest, Rule3FlatGroundSaturates) {
    UseBot(kGeoVlekkensnel, 3);
    Fill(bot.hue, 100);
    Fill(bot.sat, 100);
    Fill(bot.lum, 100);
    bot.heading = 5;
    // q = (300 + 200 - 300) >> 1 = 100, a = 30000 >> 2 = 7500: 255, e = 63.
    // hue (202*63 + 100*192) >> 8 = 31926 >> 8 = 124;
    // sat (70*63 + 19200) >> 8 = 23610 >> 8 = 92. L = R: t = 4.
    // r = 62 and r = 31: no extra turn, 4 - 4. r = 127 (& 63 = 63): 5 - 4.
    EXPECT_EQ(Run(GeoVlekkensnelRule3, {62}), (Outcome{255, 0, 124, 92, 255}));
    EXPECT_EQ(Run(GeoVlekkensnelRule3, {31}), (Outcome{255, 0, 124, 92, 255}));
    EXPECT_EQ(Run(GeoVlekkensnelRule3, {127}), (Outcome{255, 1, 124, 92, 255}));
}

TEST_F(GeoVlekkensnelRuleTest, Rule3NegativeProductAndTheSpreadThreshold) {
    UseBot(kGeoVlekkensnel, 3);
    Fill(bot.hue, 100);
    Fill(bot.sat, 100);
    bot.heading = 7;
    // q = (20 - 600) >> 1 = -290, a = -8700 >> 2 = -2175: clamp(-2174) = 0.
    // L = 0 < R = 400: t = 6; r = 0: 6 - 4.
    Set(bot.lum, {200, 0, 0, 0, 0, 0, 200, 200}, 10);
    EXPECT_EQ(Run(GeoVlekkensnelRule3, {0}), (Outcome{0, 2, 99, 99, 0}));

    bot.heading = 5;
    // Spread 224: q = (4 - 224) >> 1 = -110, a = -660 >> 2 = -165: 0.
    Set(bot.lum, {224, 0, 0, 0, 0, 0, 0, 0}, 2);
    EXPECT_EQ(Run(GeoVlekkensnelRule3, {0}), (Outcome{0, 0, 99, 99, 0}));
    // Spread 225: a = p[8] = 2, state 3, e = 0.
    Set(bot.lum, {225, 0, 0, 0, 0, 0, 0, 0}, 2);
    EXPECT_EQ(Run(GeoVlekkensnelRule3, {0}), (Outcome{3, 0, 99, 99, 3}));
}

TEST_F(GeoVlekkensnelRuleTest, Rule3LeftHeavierTurnsPlusOne) {
    UseBot(kGeoVlekkensnel, 3);
    Fill(bot.hue, 100);
    Fill(bot.sat, 100);
    Set(bot.lum, {0, 0, 30, 0, 0, 0, 0, 0}, 4);
    bot.heading = 0;
    // q = (30 + 8) >> 1 = 19, a = 228 >> 2 = 57: state 58, e = 14.
    // hue (2828 + 24100) >> 8 = 105; sat (980 + 24100) >> 8 = 97.
    // L = 30 > R = 0: t = 1; r = 63 adds 1: 2 - 4.
    EXPECT_EQ(Run(GeoVlekkensnelRule3, {63}), (Outcome{58, -2, 105, 97, 58}));
}

// Bot 4: primary and secondary are both lum; base (183, 29, 242).
TEST_F(GeoVlekkensnelRuleTest, Rule4SmallerOfCentreAndStateOnRoughGround) {
    UseBot(kGeoVlekkensnel, 4);
    Fill(bot.hue, 150);
    Fill(bot.sat, 100);
    Set(bot.lum, {0, 40, 0, 0, 0, 0, 0, 0}, 50);
    bot.state = 100;
    bot.heading = 3;
    // Spread 40: a = min(50, 100) = 50. hue 150 - (-33 >> 4) = 150 + 3 = 153;
    // sat (1500 + 29) >> 4 = 95; lum (50 + 50) >> 1 = 50.
    // L = 40 > R = 0: t = 3 - 1 - 4 = -2. r = 31 and r = 95 keep 3;
    // r = 30 and r = 15 take t.
    EXPECT_EQ(Run(GeoVlekkensnelRule4, {31}), (Outcome{50, 3, 153, 95, 50}));
    EXPECT_EQ(Run(GeoVlekkensnelRule4, {95}), (Outcome{50, 3, 153, 95, 50}));
    EXPECT_EQ(Run(GeoVlekkensnelRule4, {30}), (Outcome{50, -2, 153, 95, 50}));
    EXPECT_EQ(Run(GeoVlekkensnelRule4, {15}), (Outcome{50, -2, 153, 95, 50}));
}

TEST_F(GeoVlekkensnelRuleTest, Rule4SpreadThresholdOf32) {
    UseBot(kGeoVlekkensnel, 4);
    Fill(bot.hue, 10);
    Fill(bot.sat, 255);
    bot.state = 10;
    bot.heading = 6;
    // Spread 31: a = p[8] = 200. hue: 10 lies across the wrap from 183,
    // t = 266, 266 - (83 >> 4) = 261, mod 256 = 5; sat (3825 + 29) >> 4 = 240;
    // lum (200 + 200) >> 1 = 200. L = R: 6 - 1 - 4; r = 0.
    Set(bot.lum, {169, 200, 200, 200, 200, 200, 200, 200}, 200);
    EXPECT_EQ(Run(GeoVlekkensnelRule4, {0}), (Outcome{200, 1, 5, 240, 200}));
    // Spread 32: a = min(200, 10) = 10; lum (200 + 10) >> 1 = 105.
    // L = 568 < R = 600: 6 + 1 - 4; r = 1.
    bot.heading = 6;
    Set(bot.lum, {168, 200, 168, 200, 200, 200, 200, 200}, 200);
    EXPECT_EQ(Run(GeoVlekkensnelRule4, {1}), (Outcome{10, 3, 5, 240, 105}));
}

// Bot 5: primary and secondary are both lum; base (128, 199, 185).
TEST_F(GeoVlekkensnelRuleTest, Rule5StateIsTheRightNeighbour) {
    UseBot(kGeoVlekkensnel, 5);
    Fill(bot.hue, 20);
    Fill(bot.sat, 60);
    Set(bot.lum, {50, 50, 50, 50, 50, 50, 50, 200}, 101);
    bot.heading = 6;
    // State p[7] = 200, e = 50. hue (6400 + 4100) >> 8 = 41;
    // sat (9950 + 12300) >> 8 = 86; lum (101 + 200) >> 1 = 150.
    // Smallest secondary first at 0; r = 15 gives +1: 6 + 0 + 1 + 1.
    EXPECT_EQ(Run(GeoVlekkensnelRule5, {15}), (Outcome{200, 8, 41, 86, 150}));
}

TEST_F(GeoVlekkensnelRuleTest, Rule5FanTieOfSevenAndFourTakesSeven) {
    UseBot(kGeoVlekkensnel, 5);
    Fill(bot.hue, 20);
    Fill(bot.sat, 60);
    Set(bot.lum, {90, 90, 90, 90, 0, 90, 90, 0}, 101);
    bot.heading = 1;
    // State 0, e = 0: hue 20*255 >> 8 = 19; sat 60*255 >> 8 = 59;
    // lum 101 >> 1 = 50. Zeros at 4 and 7, 7 first in fan order;
    // r = 16 (& 15 = 0) gives -1: 1 + 7 - 1 + 1.
    EXPECT_EQ(Run(GeoVlekkensnelRule5, {16}), (Outcome{0, 8, 19, 59, 50}));
}

// Bot 6: primary hue, secondary lum; base (94, 6, 234).
TEST_F(GeoVlekkensnelRuleTest, Rule6FullPrimary) {
    UseBot(kGeoVlekkensnel, 6);
    Fill(bot.hue, 255);
    Fill(bot.sat, 100);
    Fill(bot.lum, 50);
    bot.heading = 0;
    // a = 1275 / 7 = 182, state 180, w = 45 + 192 = 237.
    // hue HueMidpoint(180, 255) = 435 >> 1 = 217;
    // sat (23700 + 108) >> 8 = 93; lum (11850 + 4212) >> 8 = 62.
    // Smallest lum first at 0; r = 0 gives -1.
    EXPECT_EQ(Run(GeoVlekkensnelRule6, {0}), (Outcome{180, -1, 217, 93, 62}));
}

TEST_F(GeoVlekkensnelRuleTest, Rule6StateWrapsBelowZero) {
    UseBot(kGeoVlekkensnel, 6);
    Fill(bot.sat, 100);
    Set(bot.lum, {9, 9, 9, 3, 9, 9, 9, 9}, 50);
    bot.heading = 5;
    // a = 0: state 254, w = 255. hue HueMidpoint(254, 0) = 255;
    // sat 25500 >> 8 = 99; lum 12750 >> 8 = 49. Smallest lum at 3;
    // r = 7 gives +1: 5 + 3 + 1.
    Fill(bot.hue, 0);
    EXPECT_EQ(Run(GeoVlekkensnelRule6, {7}), (Outcome{254, 9, 255, 99, 49}));
    // Sum 13 truncates to 1: state 255. hue HueMidpoint(255, 1) = 256 mod 256
    // = 0; r = 6 gives 0.
    Set(bot.hue, {0, 3, 0, 3, 0, 3, 0, 3}, 1);
    EXPECT_EQ(Run(GeoVlekkensnelRule6, {6}), (Outcome{255, 8, 0, 99, 49}));
}

// Bot 7: primary and secondary are both hue; base (50, 202, 105).
TEST_F(GeoVlekkensnelRuleTest, Rule7StateWrapsWithTheFirstDraw) {
    UseBot(kGeoVlekkensnel, 7);
    Fill(bot.hue, 0);
    Fill(bot.sat, 100);
    Fill(bot.lum, 200);
    bot.heading = 3;
    // a = 0, r1 = 0 gives -2: state 254. hue HueMidpoint(254, 0) = 255;
    // sat (1500 + 202) >> 4 = 106; lum (3000 + 105) >> 4 = 194.
    // All zero: position 0; r2 = 0 gives -1.
    EXPECT_EQ(Run(GeoVlekkensnelRule7, {0, 0}), (Outcome{254, 2, 255, 106, 194}));
}

TEST_F(GeoVlekkensnelRuleTest, Rule7FirstDrawStateSecondHeading) {
    UseBot(kGeoVlekkensnel, 7);
    Fill(bot.sat, 100);
    Fill(bot.lum, 200);
    Set(bot.hue, {0, 10, 0, 10, 0, 10, 0, 10}, 200);
    bot.heading = 7;
    // a = 240 / 7 = 34; r1 = 1 gives +2: 36. hue HueMidpoint(36, 200):
    // t = -56, (36 - 56) >> 1 = -10, mod 256 = 246. Largest first at 1;
    // r2 = 6 gives +1: 7 + 1 + 1. Swapped draws would give 32 and 8.
    EXPECT_EQ(Run(GeoVlekkensnelRule7, {1, 6}), (Outcome{36, 9, 246, 106, 194}));
}

TEST_F(GeoVlekkensnelRuleTest, Rule7FanTieOfSevenAndTwoTakesSeven) {
    UseBot(kGeoVlekkensnel, 7);
    Fill(bot.sat, 100);
    Fill(bot.lum, 200);
    Set(bot.hue, {0, 0, 90, 0, 0, 0, 0, 90}, 0);
    bot.heading = 0;
    // a = 90 / 7 = 12; r1 = 3 gives +2: 14. hue HueMidpoint(14, 0) = 7.
    // Largest at 2 and 7, 7 first; r2 = 7 gives +1: 0 + 7 + 1.
    EXPECT_EQ(Run(GeoVlekkensnelRule7, {3, 7}), (Outcome{14, 8, 7, 106, 194}));
}

}  // namespace
}  // namespace tintwalk
