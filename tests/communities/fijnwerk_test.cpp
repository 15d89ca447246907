// The "fijnwerk" row and its eight rules. Every expected value below is
// worked out by hand from the rule's steps; the comments show the arithmetic.
#include <gtest/gtest.h>

#include "communities/community.h"
#include "communities/rules.h"
#include "support/rule_bench.h"

namespace tintwalk {
namespace {

using testing::Outcome;

class FijnwerkRuleTest : public testing::RuleBench {};

TEST(FijnwerkPreset, RowData) {
    const uint8_t genes[8][13] = {
        {7, 7, 6, 13, 4, 0, 8, 0, 1, 1, 223, 47, 47},
        {12, 7, 15, 13, 21, 8, 2, 1, 0, 0, 134, 125, 220},
        {8, 4, 5, 2, 23, 0, 8, 3, 0, 0, 141, 146, 208},
        {15, 0, 0, 1, 0, 9, 6, 0, 2, 0, 56, 41, 90},
        {23, 2, 6, 10, 17, 0, 0, 0, 0, 0, 217, 85, 52},
        {12, 7, 15, 2, 13, 13, 0, 0, 2, 0, 16, 176, 227},
        {8, 4, 5, 2, 23, 0, 8, 3, 2, 1, 31, 192, 3},
        {12, 3, 13, 11, 0, 8, 0, 1, 1, 1, 95, 139, 199},
    };
    const BotRule rules[8] = {FijnwerkRule0, FijnwerkRule1, FijnwerkRule2, FijnwerkRule3,
                              FijnwerkRule4, FijnwerkRule5, FijnwerkRule6, FijnwerkRule7};
    testing::ExpectRow(kFijnwerk, 3, "fijnwerk", 232, {198, 205, 197}, genes, rules);
}

TEST_F(FijnwerkRuleTest, BaseComponentsFollowTheChannelGenes) {
    const int primaryBase[8] = {47, 134, 141, 90, 217, 227, 3, 139};
    const int secondaryBase[8] = {47, 134, 141, 56, 217, 16, 192, 139};
    for (int i = 0; i < 8; ++i) {
        UseBot(kFijnwerk, i);
        EXPECT_EQ(bot.primaryBase, primaryBase[i]) << "bot " << i;
        EXPECT_EQ(bot.secondaryBase, secondaryBase[i]) << "bot " << i;
    }
}

// Bot 0: primary and secondary are both sat; base (223, 47, 47).
TEST_F(FijnwerkRuleTest, Rule0SpreadOf32KeepsTheLargerOfCentreAndState) {
    UseBot(kFijnwerk, 0);
    Fill(bot.hue, 10);
    Fill(bot.lum, 200);
    Set(bot.sat, {100, 132, 100, 100, 100, 100, 100, 100}, 50);
    bot.state = 90;
    bot.heading = 5;
    // a = 90 (state above the centre 50), spread 32 keeps it; v = 88,
    // w = 22 + 192 = 214. hue (10*214 + 223*41) >> 8 = 11283 >> 8 = 44;
    // sat (50 + 88) >> 1 = 69; lum (200*214 + 47*41) >> 8 = 44727 >> 8 = 174.
    // Heading: centre 50 = 0b110010, bits 3..5 give 6, less 4 is 2.
    EXPECT_EQ(Run(FijnwerkRule0), (Outcome{88, 2, 44, 69, 174}));
}

TEST_F(FijnwerkRuleTest, Rule0SpreadOf33TakesTheCentre) {
    UseBot(kFijnwerk, 0);
    Fill(bot.hue, 10);
    Fill(bot.lum, 200);
    Set(bot.sat, {100, 133, 100, 100, 100, 100, 100, 100}, 50);
    bot.state = 90;
    // a = 50, v = 48, w = 12 + 192 = 204. hue (2040 + 11373) >> 8 = 52;
    // sat (50 + 48) >> 1 = 49; lum (40800 + 2397) >> 8 = 168.
    EXPECT_EQ(Run(FijnwerkRule0), (Outcome{48, 2, 52, 49, 168}));
}

TEST_F(FijnwerkRuleTest, Rule0ClampsAtZeroAndIgnoresTheHeading) {
    UseBot(kFijnwerk, 0);
    Fill(bot.hue, 10);
    Fill(bot.lum, 200);
    Fill(bot.sat, 2);
    bot.state = 1;
    bot.heading = 7;
    // a = 2 (centre above state 1), v = clamp(0) = 0, w = 192.
    // hue (1920 + 223*63) >> 8 = 15969 >> 8 = 62; sat (2 + 0) >> 1 = 1;
    // lum (38400 + 2961) >> 8 = 161. Heading: bits 3..5 of 2 are 0, so -4.
    EXPECT_EQ(Run(FijnwerkRule0), (Outcome{0, -4, 62, 1, 161}));
}

// Bot 1: primary and secondary are both hue; base (134, 125, 220).
TEST_F(FijnwerkRuleTest, Rule1EqualSidesTurnMinusOneAndR3KeepsTheHeading) {
    UseBot(kFijnwerk, 1);
    Set(bot.hue, {100, 100, 100, 100, 100, 100, 100, 100}, 40);
    Fill(bot.sat, 80);
    Fill(bot.lum, 30);
    bot.heading = 2;
    // Cross 100, spread 0; r1 = 7 gives +2: v = 102, w = 25 + 192 = 217.
    // hue HueMidpoint(102, 40) = 71; sat (80*217 + 125*38) >> 8 = 22110 >> 8
    // = 86; lum (30*217 + 220*38) >> 8 = 14870 >> 8 = 58.
    // L = R: h = 1; r2 = 7 gives +1: h = 1 + 1 + 2 = 4; r3 & 3 = 3 keeps 2.
    EXPECT_EQ(Run(FijnwerkRule1, {7, 7, 3}), (Outcome{102, 2, 71, 86, 58}));
    // The same with r3 & 3 = 2 takes h.
    EXPECT_EQ(Run(FijnwerkRule1, {7, 7, 2}), (Outcome{102, 4, 71, 86, 58}));
}

TEST_F(FijnwerkRuleTest, Rule1StateWrapsBelowZero) {
    UseBot(kFijnwerk, 1);
    Fill(bot.hue, 0);
    Fill(bot.sat, 80);
    Fill(bot.lum, 30);
    bot.heading = 0;
    // Cross 0; r1 = 0 gives -2: v = 254, w = 63 + 192 = 255.
    // hue HueMidpoint(254, 0) = 255 (across the wrap); sat 80*255 >> 8 = 79;
    // lum 30*255 >> 8 = 29. h = -1, r2 = 2 gives 0: h = 1; r3 = 0 takes it.
    EXPECT_EQ(Run(FijnwerkRule1, {0, 2, 0}), (Outcome{254, 1, 255, 79, 29}));
}

TEST_F(FijnwerkRuleTest, Rule1WideRingTakesTheCentreAndWrapsAbove255) {
    UseBot(kFijnwerk, 1);
    Set(bot.hue, {0, 100, 0, 0, 0, 0, 0, 0}, 255);
    Fill(bot.sat, 80);
    Fill(bot.lum, 30);
    bot.heading = 6;
    // Spread 100: a = 255; r1 = 15 (& 7 = 7) gives +2: v = 257 mod 256 = 1,
    // w = 192. hue HueMidpoint(1, 255) = 0; sat (15360 + 7875) >> 8 = 90;
    // lum (5760 + 13860) >> 8 = 76. L = 100 > R = 0: h = 7; r2 = 1 gives -1:
    // h = 8; r3 = 1 takes it, unmasked.
    EXPECT_EQ(Run(FijnwerkRule1, {15, 1, 1}), (Outcome{1, 8, 0, 90, 76}));
}

// Bot 2: primary and secondary are both hue; primaryBase 141.
TEST_F(FijnwerkRuleTest, Rule2StateFollowsTheCentreByTheTwoThresholds) {
    UseBot(kFijnwerk, 2);
    Fill(bot.sat, 77);
    Fill(bot.lum, 33);
    // Difference 64 keeps state 100, which lies 41 from 141: a = 164, v = 163.
    // hue HueMidpoint(163, 164) = 163. Flat ring: A = B, heading 1 - 3.
    Set(bot.hue, {141, 141, 141, 141, 141, 141, 141, 141}, 164);
    bot.state = 100;
    bot.heading = 1;
    EXPECT_EQ(Run(FijnwerkRule2), (Outcome{163, -2, 163, 77, 33}));

    // Difference 70 takes 60, 81 from 141: a = p[8] = 60, v = 59;
    // hue HueMidpoint(59, 60) = 59. B = 59 > A = 0: heading 7 + 2.
    Set(bot.hue, {141, 141, 141, 141, 141, 141, 200, 141}, 60);
    bot.state = 130;
    bot.heading = 7;
    EXPECT_EQ(Run(FijnwerkRule2), (Outcome{59, 9, 59, 77, 33}));

    // Difference 10 keeps 130, 11 from 141: v = 129;
    // hue HueMidpoint(129, 120) = 124. A = 141 > B = 0: heading 0 - 3.
    Set(bot.hue, {141, 141, 0, 141, 141, 141, 141, 141}, 120);
    bot.state = 130;
    bot.heading = 0;
    EXPECT_EQ(Run(FijnwerkRule2), (Outcome{129, -3, 124, 77, 33}));
}

TEST_F(FijnwerkRuleTest, Rule2DifferenceOf64KeepsAStateNearTheBase) {
    UseBot(kFijnwerk, 2);
    Fill(bot.sat, 77);
    Fill(bot.lum, 33);
    // Difference 64 keeps 141, 0 from 141: v = 140 (taking the centre would
    // give 204). hue HueMidpoint(140, 205) = 345 >> 1 = 172. Flat: 3 - 3.
    Set(bot.hue, {141, 141, 141, 141, 141, 141, 141, 141}, 205);
    bot.state = 141;
    bot.heading = 3;
    EXPECT_EQ(Run(FijnwerkRule2), (Outcome{140, 0, 172, 77, 33}));
}

TEST_F(FijnwerkRuleTest, Rule2StateWrapsBelowZero) {
    UseBot(kFijnwerk, 2);
    Fill(bot.sat, 77);
    Fill(bot.lum, 33);
    Fill(bot.hue, 0);
    bot.state = 0;
    bot.heading = 4;
    // a = 0, v = 255; hue HueMidpoint(255, 0) = 255. Flat: heading 4 - 3.
    EXPECT_EQ(Run(FijnwerkRule2), (Outcome{255, 1, 255, 77, 33}));
}

TEST_F(FijnwerkRuleTest, Rule2EqualNonZeroSideSpreadsTurnByMinusThree) {
    UseBot(kFijnwerk, 2);
    Fill(bot.sat, 77);
    Fill(bot.lum, 33);
    // A = 30 - 10 = 20 and B = 70 - 50 = 20.
    Set(bot.hue, {0, 10, 20, 30, 0, 50, 70, 60}, 141);
    bot.state = 141;
    bot.heading = 2;
    // a = 141, v = 140; hue HueMidpoint(140, 141) = 140.
    EXPECT_EQ(Run(FijnwerkRule2), (Outcome{140, -1, 140, 77, 33}));
}

// Bot 3: primary lum, secondary hue.
TEST_F(FijnwerkRuleTest, Rule3ClampsTheReflectionIntoTheLightness) {
    UseBot(kFijnwerk, 3);
    Fill(bot.hue, 12);
    Fill(bot.sat, 34);
    bot.heading = 2;
    // Ring 0 around 255: -255, clamped to 0. r = 0 gives -1: 2 - 1 - 2.
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 255);
    EXPECT_EQ(Run(FijnwerkRule3, {0}), (Outcome{0, -1, 12, 34, 0}));
    // Ring 255 around 0: 510, clamped to 255. r = 6 gives +1: 2 + 1 - 2.
    Set(bot.lum, {255, 255, 255, 255, 255, 255, 255, 255}, 0);
    EXPECT_EQ(Run(FijnwerkRule3, {6}), (Outcome{255, 1, 12, 34, 255}));
    // Ring 100 around 40: 160. r = 3 gives 0: 2 - 2.
    Set(bot.lum, {100, 100, 100, 100, 100, 100, 100, 100}, 40);
    EXPECT_EQ(Run(FijnwerkRule3, {3}), (Outcome{160, 0, 12, 34, 160}));
}

// Bot 4: primary and secondary are both hue; base (217, 85, 52).
TEST_F(FijnwerkRuleTest, Rule4ExtremesOfX) {
    UseBot(kFijnwerk, 4);
    Fill(bot.sat, 200);
    Fill(bot.lum, 100);
    // x = ((765 >> 1) + 255) >> 1 = 318 > 217, so x = 255, v = 253, w = 63.
    // sat (85*63 + 200*192) >> 8 = 43755 >> 8 = 170;
    // lum (52*63 + 100*192) >> 8 = 22476 >> 8 = 87. Uneven: 5 + 4.
    Set(bot.hue, {0, 0, 255, 0, 0, 0, 0, 0}, 255);
    bot.heading = 5;
    EXPECT_EQ(Run(FijnwerkRule4), (Outcome{253, 9, 253, 170, 87}));

    // x = ((-255 >> 1) + 0) >> 1 = -128 >> 1 = -64, v = -66 mod 256 = 190,
    // w = 47. sat (3995 + 41600) >> 8 = 178; lum (2444 + 20800) >> 8 = 90.
    // Centre 0 below the ring's largest 255: 0 + 4.
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 255, 0}, 0);
    bot.heading = 0;
    EXPECT_EQ(Run(FijnwerkRule4), (Outcome{190, 4, 190, 178, 90}));
}

TEST_F(FijnwerkRuleTest, Rule4NineEqualValuesKeepTheHeading) {
    UseBot(kFijnwerk, 4);
    Fill(bot.sat, 200);
    Fill(bot.lum, 100);
    bot.heading = 3;
    // x = ((200 >> 1) + 100) >> 1 = 100, v = 98, w = 24.
    // sat (2040 + 46200) >> 8 = 188; lum (1248 + 23100) >> 8 = 95.
    Fill(bot.hue, 100);
    EXPECT_EQ(Run(FijnwerkRule4), (Outcome{98, 3, 98, 188, 95}));
    // x = ((2 >> 1) + 1) >> 1 = 1, v = 255 (wrap), w = 63: sat 170, lum 87.
    Fill(bot.hue, 1);
    EXPECT_EQ(Run(FijnwerkRule4), (Outcome{255, 3, 255, 170, 87}));
}

TEST_F(FijnwerkRuleTest, Rule4XEqualToThePrimaryBaseIsKept) {
    UseBot(kFijnwerk, 4);
    Fill(bot.sat, 200);
    Fill(bot.lum, 100);
    bot.heading = 1;
    // x = (((480 - 12) >> 1) + 200) >> 1 = 434 >> 1 = 217: kept, v = 215,
    // w = 53. sat (4505 + 40400) >> 8 = 175; lum (2756 + 20200) >> 8 = 89.
    Set(bot.hue, {0, 0, 160, 0, 0, 0, 12, 0}, 200);
    EXPECT_EQ(Run(FijnwerkRule4), (Outcome{215, 5, 215, 175, 89}));
    // x = (((480 - 8) >> 1) + 200) >> 1 = 218 > 217: x = 200, v = 198,
    // w = 49. sat (4165 + 41200) >> 8 = 177; lum (2548 + 20600) >> 8 = 90.
    Set(bot.hue, {0, 0, 160, 0, 0, 0, 8, 0}, 200);
    EXPECT_EQ(Run(FijnwerkRule4), (Outcome{198, 5, 198, 177, 90}));
}

// Bot 5: primary lum, secondary hue; secondaryBase 16.
TEST_F(FijnwerkRuleTest, Rule5SecondaryAllAtTheBaseKeepsTheHeading) {
    UseBot(kFijnwerk, 5);
    Fill(bot.hue, 16);
    Fill(bot.sat, 70);
    Set(bot.lum, {100, 100, 100, 100, 100, 100, 100, 100}, 50);
    bot.heading = 3;
    // Cross 100; r1 = 0 gives -2: v = 98; lum (50 + 98) >> 1 = 74.
    // h = 3 + 0; r2 = 7 gives +1, r2 = 6 gives 0.
    EXPECT_EQ(Run(FijnwerkRule5, {0, 7}), (Outcome{98, 4, 16, 70, 74}));
    EXPECT_EQ(Run(FijnwerkRule5, {0, 6}), (Outcome{98, 3, 16, 70, 74}));
}

TEST_F(FijnwerkRuleTest, Rule5CrossAtSpread32AndFanTieOfSevenAndTwo) {
    UseBot(kFijnwerk, 5);
    Fill(bot.sat, 70);
    // Spread exactly 32 keeps Cross (10 + 20 + 30 + 37) >> 2 = 24;
    // r1 = 1 gives 0: v = 24; lum (50 + 24) >> 1 = 37.
    Set(bot.lum, {5, 10, 5, 20, 5, 30, 5, 37}, 50);
    // Positions 7 and 2 lie 100 from the base 16; 7 comes first in fan order.
    Set(bot.hue, {16, 16, 116, 16, 16, 16, 16, 116}, 16);
    bot.heading = 2;
    EXPECT_EQ(Run(FijnwerkRule5, {1, 3}), (Outcome{24, 9, 16, 70, 37}));
}

TEST_F(FijnwerkRuleTest, Rule5WideRingTakesTheCentreAndClamps) {
    UseBot(kFijnwerk, 5);
    Fill(bot.hue, 16);
    Fill(bot.sat, 70);
    bot.heading = 0;
    // Spread 40: a = 254; r1 = 7 gives +2: clamp(256) = 255;
    // lum (254 + 255) >> 1 = 254.
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 40}, 254);
    EXPECT_EQ(Run(FijnwerkRule5, {7, 0}), (Outcome{255, 0, 16, 70, 254}));
    // Cross 1; r1 = 8 (& 7 = 0) gives -2: clamp(-1) = 0; lum (1 + 0) >> 1 = 0.
    Fill(bot.lum, 1);
    EXPECT_EQ(Run(FijnwerkRule5, {8, 0}), (Outcome{0, 0, 16, 70, 0}));
}

// Bot 6: primary lum (primaryBase 3), secondary sat.
TEST_F(FijnwerkRuleTest, Rule6FollowsTheCentreAndPaintsTheLightness) {
    UseBot(kFijnwerk, 6);
    Fill(bot.hue, 50);
    // State 10, centre 20: a = 10, 7 from 3: v = 9; lum (20 + 9) >> 1 = 14.
    // Flat sat: equal side spreads, 4 - 3.
    Fill(bot.sat, 90);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 20);
    bot.state = 10;
    bot.heading = 4;
    EXPECT_EQ(Run(FijnwerkRule6), (Outcome{9, 1, 50, 90, 14}));

    // State 100, centre 50: a = 100, 97 from 3: a = 50, v = 49;
    // lum (50 + 49) >> 1 = 49.
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 50);
    bot.state = 100;
    EXPECT_EQ(Run(FijnwerkRule6), (Outcome{49, 1, 50, 90, 49}));
}

TEST_F(FijnwerkRuleTest, Rule6DifferenceOf64KeepsAStateNearTheBase) {
    UseBot(kFijnwerk, 6);
    Fill(bot.hue, 50);
    Fill(bot.sat, 90);
    // State 3, centre 67: difference 64 keeps 3, 0 from 3: v = 2;
    // lum (67 + 2) >> 1 = 34. Flat sat: 4 - 3.
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 67);
    bot.state = 3;
    bot.heading = 4;
    EXPECT_EQ(Run(FijnwerkRule6), (Outcome{2, 1, 50, 90, 34}));
}

TEST_F(FijnwerkRuleTest, Rule6ClampsWhereRule2Wraps) {
    UseBot(kFijnwerk, 6);
    Fill(bot.hue, 50);
    Fill(bot.lum, 0);
    // B = 90 > A = 0: 6 + 2.
    Set(bot.sat, {90, 90, 90, 90, 90, 0, 90, 90}, 90);
    bot.state = 0;
    bot.heading = 6;
    EXPECT_EQ(Run(FijnwerkRule6), (Outcome{0, 8, 50, 90, 0}));
}

// Bot 7: primary and secondary are both sat; primaryBase 139.
TEST_F(FijnwerkRuleTest, Rule7CrossAtDifference128IsKept) {
    UseBot(kFijnwerk, 7);
    Fill(bot.hue, 60);
    Fill(bot.lum, 150);
    Set(bot.sat, {0, 11, 0, 11, 0, 11, 0, 11}, 200);
    bot.heading = 4;
    // Cross 11; r1 = 1 gives +2: v = 13, w = 3 + 192 = 195.
    // hue (60*195 + 95*60) >> 8 = 17400 >> 8 = 67;
    // lum (150*195 + 199*60) >> 8 = 41190 >> 8 = 160.
    // r2 = 0 gives -1, but r3 & 3 = 3 keeps 4.
    EXPECT_EQ(Run(FijnwerkRule7, {1, 0, 3}), (Outcome{13, 4, 67, 13, 160}));
}

TEST_F(FijnwerkRuleTest, Rule7CrossAtDifference129IsReplacedByTheCentre) {
    UseBot(kFijnwerk, 7);
    Fill(bot.hue, 60);
    Fill(bot.lum, 150);
    Set(bot.sat, {0, 10, 0, 10, 0, 10, 0, 10}, 200);
    bot.heading = 0;
    // a = 200; r1 = 0 gives -2: v = 198, w = 49 + 192 = 241.
    // hue (14460 + 1330) >> 8 = 61; lum (36150 + 2786) >> 8 = 152.
    // r2 = 1 gives -1; r3 = 2 takes it: -1.
    EXPECT_EQ(Run(FijnwerkRule7, {0, 1, 2}), (Outcome{198, -1, 61, 198, 152}));
}

TEST_F(FijnwerkRuleTest, Rule7ClampsAbove255) {
    UseBot(kFijnwerk, 7);
    Fill(bot.hue, 60);
    Fill(bot.lum, 150);
    Fill(bot.sat, 254);
    bot.heading = 7;
    // Cross 254, 115 from 139; r1 = 1 gives +2: clamp(256) = 255, w = 255.
    // hue 60*255 >> 8 = 59; lum 150*255 >> 8 = 149. r2 = 7 gives +1: 8.
    EXPECT_EQ(Run(FijnwerkRule7, {1, 7, 0}), (Outcome{255, 8, 59, 255, 149}));
}

}  // namespace
}  // namespace tintwalk
