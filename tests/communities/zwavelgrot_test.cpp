// Preset row and behaviour rules of the community "zwavelgrot". Every
// expected value below is worked out by hand from the rule's steps.
#include <gtest/gtest.h>

#include "communities/community.h"
#include "communities/rules.h"
#include "support/rule_bench.h"

namespace tintwalk {
namespace {

using testing::Outcome;

TEST(ZwavelgrotPreset, RowMatchesTheCommunity) {
    const uint8_t genes[8][13] = {
        {28, 5, 2, 11, 4, 15, 0, 0, 2, 2, 126, 181, 251},
        {28, 5, 2, 11, 4, 15, 0, 0, 2, 2, 139, 200, 228},
        {12, 6, 0, 11, 7, 0, 4, 0, 0, 1, 249, 88, 216},
        {10, 6, 9, 11, 4, 0, 0, 0, 2, 0, 10, 41, 240},
        {15, 0, 11, 12, 22, 0, 0, 1, 2, 2, 194, 97, 212},
        {12, 7, 1, 1, 23, 1, 2, 3, 0, 0, 248, 219, 67},
        {6, 3, 12, 11, 5, 6, 0, 0, 2, 2, 113, 105, 185},
        {12, 0, 6, 13, 0, 11, 0, 0, 2, 1, 131, 4, 73},
    };
    const BotRule rules[8] = {ZwavelgrotRule0, ZwavelgrotRule0, ZwavelgrotRule2, ZwavelgrotRule3,
                              ZwavelgrotRule4, ZwavelgrotRule5, ZwavelgrotRule6, ZwavelgrotRule7};
    testing::ExpectRow(kZwavelgrot, 8, "zwavelgrot", 224, {197, 206, 202}, genes, rules);
}

// A bot of the row, with the state and heading the case starts from; the
// case fills the neighbourhood and runs a rule on it.
class ZwavelgrotTest : public testing::RuleBench {
  protected:
    void UseBot(int index, int32_t state, int32_t heading) {
        RuleBench::UseBot(kZwavelgrot, index);
        bot.state = state;
        bot.heading = heading;
    }
};

TEST_F(ZwavelgrotTest, Rule0WorksFromTheCentreOnACalmRing) {
    UseBot(0, 0, 3);  // base (126, 181, 251)
    Set(bot.lum, {240, 240, 240, 240, 240, 240, 240, 240}, 254);
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 100);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 50);
    // 254 + 2 clamped; w = 255; heading = bits 3..5 of 254 = 7, draw & 15 = 15 adds 1.
    EXPECT_EQ(Run(ZwavelgrotRule0, {31}), (Outcome{255, 8, 99, 49, 255}));
}

TEST_F(ZwavelgrotTest, Rule0PicksTheFarthestRingValue) {
    UseBot(0, 0, 3);
    Set(bot.lum, {0, 255, 255, 0, 0, 0, 0, 0}, 100);
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 200);
    Fill(bot.sat, 0);
    // Entry 0 lies 251 from the base: state 2, w = 192; heading (100 >> 3) & 7 = 4.
    EXPECT_EQ(Run(ZwavelgrotRule0, {0}), (Outcome{2, 4, 181, 44, 2}));
}

TEST_F(ZwavelgrotTest, Rule0SpreadOf32PicksAndTiesGoToTheEarlierEntry) {
    UseBot(1, 0, 5);  // base (139, 200, 228)
    // Spread exactly 32; entries 1, 2, 6 and 7 lie 16 from 228, entry 1 wins.
    Set(bot.lum, {228, 212, 244, 230, 226, 228, 212, 244}, 64);
    Fill(bot.hue, 0);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 255);
    EXPECT_EQ(Run(ZwavelgrotRule0, {14}), (Outcome{214, 0, 5, 251, 214}));
}

TEST_F(ZwavelgrotTest, Rule2ReversesOnAFlatSecondary) {
    UseBot(2, 0, 3);  // hue / sat, base (249, 88, 216)
    Set(bot.hue, {10, 20, 30, 40, 50, 60, 70, 80}, 5);
    Fill(bot.sat, 90);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 16);
    EXPECT_EQ(Run(ZwavelgrotRule2), (Outcome{50, 7, 50, 89, 55}));
}

TEST_F(ZwavelgrotTest, Rule2WideRingTakesTheCentreAndFanTieGoesTo7) {
    UseBot(2, 0, 6);
    Set(bot.hue, {0, 225, 0, 0, 0, 0, 0, 0}, 200);
    Set(bot.sat, {10, 10, 99, 10, 10, 10, 10, 99}, 10);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 255);
    // 6 + 7 + 4; w = 242.
    EXPECT_EQ(Run(ZwavelgrotRule2), (Outcome{200, 17, 200, 13, 252}));
}

TEST_F(ZwavelgrotTest, Rule3HeadsByBitsOfTheSecondaryCentre) {
    UseBot(3, 0, 5);  // lum / hue, base (10, 41, 240)
    Fill(bot.lum, 255);
    Set(bot.hue, {9, 9, 9, 9, 9, 9, 9, 9}, 0);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 100);
    // 1275 / 7 = 182, below the base: 184; w = 238; old heading ignored.
    EXPECT_EQ(Run(ZwavelgrotRule3), (Outcome{184, 0, 0, 95, 184}));

    Set(bot.lum, {0, 250, 0, 0, 0, 0, 0, 0}, 250);
    Set(bot.hue, {9, 9, 9, 9, 9, 9, 9, 9}, 255);
    Fill(bot.sat, 0);
    // Spread 250: the centre 250, above the base: 248; w = 254.
    EXPECT_EQ(Run(ZwavelgrotRule3), (Outcome{248, 7, 253, 0, 248}));
}

TEST_F(ZwavelgrotTest, Rule4StepsUpFromTheBaseAndTurnsByMinusOneOnEqualSides) {
    UseBot(4, 0, 0);  // lum / lum, base (194, 97, 212)
    Fill(bot.lum, 212);
    Fill(bot.hue, 0);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 255);
    // Reflection 212 equals the base: 220; e = 55.
    EXPECT_EQ(Run(ZwavelgrotRule4, {2}), (Outcome{220, -1, 41, 220, 216}));
    // Low bits 3: keeps the heading.
    EXPECT_EQ(Run(ZwavelgrotRule4, {7}), (Outcome{220, 0, 41, 220, 216}));
}

TEST_F(ZwavelgrotTest, Rule4TurnsTowardsTheWiderLeftSide) {
    UseBot(4, 0, 7);
    Set(bot.lum, {212, 100, 200, 150, 212, 212, 212, 212}, 100);
    Fill(bot.hue, 0);
    Fill(bot.sat, 0);
    // Reflection (1510 - 400) >> 2 = 277, less 8, clamped; SL 100 > SR 0.
    EXPECT_EQ(Run(ZwavelgrotRule4, {0}), (Outcome{255, 8, 47, 23, 177}));
}

TEST_F(ZwavelgrotTest, Rule5ReversesOrTurnsByFiveWhateverTheDraw) {
    UseBot(5, 0, 2);  // hue / hue
    Fill(bot.hue, 100);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 33);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 44);
    for (uint32_t r : {0u, 63u})
        EXPECT_EQ(Run(ZwavelgrotRule5, {r}), (Outcome{101, 6, 101, 33, 44})) << "draw " << r;
    // SL 0 < SR 50, spread 50 > 32: the centre 255 wraps to 0.
    UseBot(5, 0, 7);
    Set(bot.hue, {0, 10, 10, 10, 0, 0, 50, 0}, 255);
    for (uint32_t r : {62u, 63u})
        EXPECT_EQ(Run(ZwavelgrotRule5, {r}), (Outcome{0, 12, 0, 33, 44})) << "draw " << r;
}

TEST_F(ZwavelgrotTest, Rule5KeepsTheOddMeanUpToASpreadOf32) {
    UseBot(5, 0, 2);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 33);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 44);
    // Spread 42 - 10 = 32: (20 + 20 + 20 + 42) >> 2 = 25, state 26.
    // SL = 20 - 10 = 10 < SR = 42 - 10 = 32: t = 3, HeadingMix(5, 2) = 3 + 4.
    Set(bot.hue, {10, 20, 10, 20, 10, 20, 10, 42}, 200);
    EXPECT_EQ(Run(ZwavelgrotRule5, {0}), (Outcome{26, 7, 26, 33, 44}));
    // Spread 33: the centre 200, state 201; SL 10 < SR 33 again.
    Set(bot.hue, {10, 20, 10, 20, 10, 20, 10, 43}, 200);
    EXPECT_EQ(Run(ZwavelgrotRule5, {0}), (Outcome{201, 7, 201, 33, 44}));
}

TEST_F(ZwavelgrotTest, Rule6ReplacesAFarStateByTheCentre) {
    UseBot(6, 0, 1);  // lum / lum, base (113, 105, 185)
    Fill(bot.lum, 255);
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 20);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 105);
    // min(255, 0) = 0 lies 185 away: 255 - 16; w = 251; t = 7.
    EXPECT_EQ(Run(ZwavelgrotRule6, {0}), (Outcome{239, 6, 21, 104, 239}));
    EXPECT_EQ(Run(ZwavelgrotRule6, {3}).heading, 7);
    EXPECT_EQ(Run(ZwavelgrotRule6, {7}).heading, 8);
}

TEST_F(ZwavelgrotTest, Rule6KeepsAStateExactly128Away) {
    UseBot(6, 57, 4);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 60);
    Fill(bot.hue, 0);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 255);
    // min(60, 57) = 57, 128 from 185: kept, plus 16; w = 210; t = (60 >> 4) & 7.
    EXPECT_EQ(Run(ZwavelgrotRule6, {1}), (Outcome{73, 3, 19, 227, 73}));
}

TEST_F(ZwavelgrotTest, Rule7ClampsAtBothEnds) {
    UseBot(7, 0, 0);  // lum primary, base (131, 4, 73)
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 200);
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 255);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 4);
    // -2 clamped to 0, w = 192; drift table entry 0 is -1.
    EXPECT_EQ(Run(ZwavelgrotRule7, {0}), (Outcome{0, -1, 223, 3, 100}));

    UseBot(7, 0, 6);
    Set(bot.lum, {0, 255, 0, 255, 0, 255, 0, 255}, 255);
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 131);
    Fill(bot.sat, 0);
    // 255 - 2, w = 255; entries 14 and 15 of the drift table are +1.
    EXPECT_EQ(Run(ZwavelgrotRule7, {14}), (Outcome{253, 7, 130, 0, 254}));
    EXPECT_EQ(Run(ZwavelgrotRule7, {13}).heading, 6);
}

}  // namespace
}  // namespace tintwalk
