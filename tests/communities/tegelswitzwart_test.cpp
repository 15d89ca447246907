// Preset row and behaviour rules of the community "tegelswitzwart". Every
// expected value below is worked out by hand from the rule's steps.
#include <gtest/gtest.h>

#include "communities/community.h"
#include "communities/rules.h"
#include "support/rule_bench.h"

namespace tintwalk {
namespace {

using testing::Outcome;

TEST(TegelswitzwartPreset, RowMatchesTheCommunity) {
    const uint8_t genes[8][13] = {
        {12, 0, 9, 10, 13, 13, 0, 1, 1, 0, 47, 107, 138},
        {0, 1, 2, 10, 21, 0, 4, 0, 2, 2, 92, 20, 24},
        {14, 4, 12, 10, 13, 0, 0, 0, 1, 2, 0, 99, 211},
        {24, 1, 9, 3, 13, 0, 4, 0, 1, 2, 181, 115, 71},
        {13, 0, 4, 12, 21, 4, 8, 0, 2, 2, 68, 88, 160},
        {0, 6, 7, 13, 13, 4, 0, 0, 1, 0, 98, 184, 69},
        {24, 6, 9, 12, 15, 9, 0, 2, 1, 0, 26, 37, 89},
        {10, 0, 14, 10, 14, 9, 0, 0, 2, 0, 25, 126, 126},
    };
    const BotRule rules[8] = {TegelswitzwartRule0, TegelswitzwartRule1, TegelswitzwartRule2,
                              TegelswitzwartRule3, TegelswitzwartRule4, TegelswitzwartRule5,
                              TegelswitzwartRule6, TegelswitzwartRule7};
    testing::ExpectRow(kTegelswitzwart, 9, "tegelswitzwart", 220, {199, 205, 196}, genes, rules);
}

class TegelswitzwartTest : public testing::RuleBench {
  protected:
    // Bot `index` of the row, with the state and heading the case starts from.
    void UseBot(int index, int32_t state, int32_t heading) {
        RuleBench::UseBot(kTegelswitzwart, index);
        bot.state = state;
        bot.heading = heading;
    }
    // Eight equal ring values around a centre of its own.
    static void Ring(uint8_t* array, int v, int centre) {
        Set(array, {v, v, v, v, v, v, v, v}, centre);
    }
};

TEST_F(TegelswitzwartTest, Rule0StepsUpFromTheBaseAndNudgesOnDraw7) {
    UseBot(0, 0, 3);  // sat / hue, bases 107 and 47, colour (47, 107, 138)
    Set(bot.sat, {0, 107, 0, 107, 0, 107, 0, 107}, 0);
    Fill(bot.hue, 47);
    Fill(bot.lum, 0);
    // a = 107 is not above the base: 109; w = 27; flat secondary gives 0.
    EXPECT_EQ(Run(TegelswitzwartRule0, {7, 2}), (Outcome{109, 4, 46, 109, 14}));
}

TEST_F(TegelswitzwartTest, Rule0KeepsItsHeadingWhenTheSecondDrawEndsIn3) {
    UseBot(0, 0, 6);
    Fill(bot.sat, 255);
    Set(bot.hue, {47, 47, 47, 47, 47, 200, 47, 47}, 0);
    Ring(bot.lum, 0, 255);
    // 255 - 2 = 253; w = 63; largest difference from 47 at position 5.
    EXPECT_EQ(Run(TegelswitzwartRule0, {0, 3}), (Outcome{253, 6, 11, 253, 225}));
    EXPECT_EQ(Run(TegelswitzwartRule0, {0, 4}).heading, 11);
}

TEST_F(TegelswitzwartTest, Rule1GrowsFromTheBaseOrRestartsFromTheCentre) {
    UseBot(1, 24, 5);  // lum / lum, base 24, colour (92, 20, 24)
    Ring(bot.hue, 0, 92);
    Fill(bot.sat, 0);
    Ring(bot.lum, 10, 250);
    // State at the base: 26, w = 6; L equals R: +3.
    EXPECT_EQ(Run(TegelswitzwartRule1), (Outcome{26, 8, 91, 0, 26}));

    UseBot(1, 23, 3);
    Fill(bot.hue, 0);
    Ring(bot.sat, 0, 255);
    Set(bot.lum, {0, 10, 10, 10, 0, 9, 10, 10}, 250);
    // Below the base: centre 250 + 2; w = 63; L 30 > R 29: +5.
    EXPECT_EQ(Run(TegelswitzwartRule1), (Outcome{252, 8, 22, 196, 252}));

    for (int32_t state : {254, 255}) {
        UseBot(1, state, 0);
        EXPECT_EQ(Run(TegelswitzwartRule1).state, 255) << "from " << state;
    }
}

TEST_F(TegelswitzwartTest, Rule2UsesTheRingMeanOnlyWithin32OfTheBase) {
    UseBot(2, 0, 4);  // sat / lum, bases 99 and 211, colour (0, 99, 211)
    Ring(bot.sat, 132, 20);
    Ring(bot.hue, 0, 100);
    Fill(bot.lum, 211);
    // Mean 132 lies 33 away: centre 20 + 16; w = 9.
    EXPECT_EQ(Run(TegelswitzwartRule2), (Outcome{36, 4, 96, 36, 210}));

    UseBot(2, 0, 2);
    Ring(bot.sat, 131, 20);
    Fill(bot.hue, 0);
    Set(bot.lum, {211, 211, 0, 211, 211, 211, 211, 0}, 0);
    // Mean 131 lies 32 away: 131 - 16; w = 28; positions 7 and 2 tie, 7 first.
    EXPECT_EQ(Run(TegelswitzwartRule2), (Outcome{115, 9, 0, 115, 23}));

    Ring(bot.sat, 99, 20);  // equal to the base: 16 is added
    EXPECT_EQ(Run(TegelswitzwartRule2).state, 115);
}

TEST_F(TegelswitzwartTest, Rule3KeepsAMinimumAtTheBaseAndTurnsAway) {
    UseBot(3, 0, 1);  // sat / lum, bases 115 and 71
    Set(bot.sat, {115, 200, 200, 200, 200, 200, 200, 200}, 60);
    Ring(bot.hue, 0, 33);
    Fill(bot.lum, 71);
    // 115 + 2; saturation (117 + 180) >> 2; flat secondary: 0 + 4.
    EXPECT_EQ(Run(TegelswitzwartRule3), (Outcome{117, 5, 33, 74, 71}));

    UseBot(3, 0, 7);
    Set(bot.sat, {114, 200, 200, 200, 200, 200, 200, 200}, 250);
    Fill(bot.hue, 0);
    Set(bot.lum, {71, 71, 71, 71, 255, 71, 71, 71}, 9);
    // Minimum 114 gives way to the centre 250 - 2; (248 + 750) >> 2; behind + 4.
    EXPECT_EQ(Run(TegelswitzwartRule3), (Outcome{248, 15, 0, 249, 9}));
}

TEST_F(TegelswitzwartTest, Rule4TurnsBackByFiveOrThree) {
    UseBot(4, 0, 0);  // lum / lum, colour (68, 88, 160)
    Fill(bot.lum, 248);
    Ring(bot.hue, 0, 68);
    Fill(bot.sat, 0);
    // Mean 248 + 8 clamped; w = 63; L equals R: -1 - 4, or - 3 on 63.
    EXPECT_EQ(Run(TegelswitzwartRule4, {0}), (Outcome{255, -5, 67, 21, 251}));
    EXPECT_EQ(Run(TegelswitzwartRule4, {63}).heading, -4);

    UseBot(4, 0, 2);
    Set(bot.lum, {0, 100, 100, 100, 0, 0, 0, 0}, 0);
    Fill(bot.hue, 0);
    Ring(bot.sat, 0, 255);
    // 300 / 9 = 33 + 8; w = 10; L > R: 2 + 1 - 4 = heading - 3.
    EXPECT_EQ(Run(TegelswitzwartRule4, {62}), (Outcome{41, -1, 2, 247, 20}));
    EXPECT_EQ(Run(TegelswitzwartRule4, {127}).heading, 0);
}

TEST_F(TegelswitzwartTest, Rule5FadesAndRestartsOnAWideRing) {
    UseBot(5, 2, 1);  // sat / hue, base 98 (hue), colour (98, 184, 69)
    Fill(bot.sat, 50);
    Fill(bot.hue, 98);
    Ring(bot.lum, 0, 255);
    // 2 - 4 clamped; w = 192, the cell's own colour weighs most.
    EXPECT_EQ(Run(TegelswitzwartRule5, {0}), (Outcome{0, 1, 97, 25, 208}));
    EXPECT_EQ(Run(TegelswitzwartRule5, {63}).heading, 2);

    UseBot(5, 77, 4);
    Set(bot.sat, {0, 30, 60, 100, 130, 160, 200, 230}, 200);
    Set(bot.hue, {98, 98, 98, 0, 98, 98, 98, 196}, 0);
    Fill(bot.lum, 0);
    // Spread 230: centre 200 - 4; w = 241; positions 7 and 3 tie, 7 first.
    EXPECT_EQ(Run(TegelswitzwartRule5, {63}), (Outcome{196, 12, 5, 198, 3}));

    Set(bot.sat, {0, 224, 0, 0, 0, 0, 0, 0}, 200);  // spread 224: the state stays
    EXPECT_EQ(Run(TegelswitzwartRule5, {0}).state, 73);
}

TEST_F(TegelswitzwartTest, Rule6TurnsByTheDriftOnAFlatSecondary) {
    UseBot(6, 0, 5);  // sat / hue, base 37, colour (26, 37, 89)
    Set(bot.sat, {40, 50, 60, 70, 80, 90, 100, 110}, 100);
    Fill(bot.hue, 50);
    Ring(bot.lum, 0, 89);
    // Minimum 40 - 2; w = 9; drift table entry 0 is -1.
    EXPECT_EQ(Run(TegelswitzwartRule6, {0, 0}), (Outcome{38, 4, 48, 69, 88}));
    EXPECT_EQ(Run(TegelswitzwartRule6, {6, 0}).heading, 6);
    // Low five bits set: heading kept.
    EXPECT_EQ(Run(TegelswitzwartRule6, {6, 31}).heading, 5);
}

TEST_F(TegelswitzwartTest, Rule6SeeksTheSecondaryNearestItsMean) {
    UseBot(6, 0, 3);
    Set(bot.sat, {0, 230, 100, 100, 100, 100, 100, 100}, 37);
    Set(bot.hue, {200, 100, 40, 60, 0, 40, 80, 120}, 0);
    Fill(bot.lum, 0);
    // Spread 230: centre 37, equal to the base, + 2; mean 80 is met at 6.
    EXPECT_EQ(Run(TegelswitzwartRule6, {7, 30}), (Outcome{39, 10, 0, 38, 3}));
}

TEST_F(TegelswitzwartTest, Rule7DividesFiveEntriesBySeven) {
    UseBot(7, 0, 2);  // lum / hue, base 25 (hue), colour (25, 126, 126)
    Fill(bot.lum, 255);
    Fill(bot.hue, 25);
    Fill(bot.sat, 0);
    // 1275 / 7 = 182; wide jitter -2, 0, +2.
    EXPECT_EQ(Run(TegelswitzwartRule7, {3, 6}), (Outcome{184, 3, 24, 22, 184}));
    EXPECT_EQ(Run(TegelswitzwartRule7, {0, 1}).state, 180);
    EXPECT_EQ(Run(TegelswitzwartRule7, {1, 1}).state, 182);

    UseBot(7, 0, 7);
    Fill(bot.lum, 0);
    Set(bot.hue, {255, 200, 30, 20, 100, 100, 30, 255}, 255);
    Ring(bot.sat, 0, 126);
    // 0 - 2 clamped, w = 0; 2, 6 and 3 tie at 5 from 25, 2 first; drift -1.
    EXPECT_EQ(Run(TegelswitzwartRule7, {4, 0}), (Outcome{0, 8, 254, 125, 0}));
}

}  // namespace
}  // namespace tintwalk
