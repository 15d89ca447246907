// The "zoetkoraal" row and its seven rules (bots 2 and 3 share one).
#include <gtest/gtest.h>

#include "communities/community.h"
#include "communities/rules.h"
#include "support/rule_bench.h"

namespace tintwalk {
namespace {

using testing::Outcome;

class ZoetkoraalTest : public testing::RuleBench {};

TEST(ZoetkoraalPreset, RowMatchesTheCommunity) {
    const uint8_t genes[8][13] = {
        {26, 0, 5, 1, 7, 0, 0, 3, 0, 1, 12, 173, 103},
        {2, 6, 15, 12, 2, 0, 4, 3, 2, 0, 56, 83, 176},
        {13, 5, 6, 13, 0, 6, 0, 0, 2, 0, 54, 77, 185},
        {13, 5, 6, 13, 0, 6, 0, 0, 2, 1, 13, 37, 136},
        {18, 8, 3, 13, 12, 0, 4, 0, 0, 2, 42, 114, 130},
        {13, 0, 6, 13, 0, 6, 0, 0, 2, 1, 16, 33, 152},
        {29, 1, 14, 12, 5, 2, 6, 1, 0, 2, 86, 244, 253},
        {29, 1, 15, 2, 19, 14, 2, 0, 2, 0, 2, 127, 140},
    };
    // Bots 2 and 3 share one rule.
    const BotRule rules[8] = {ZoetkoraalRule0, ZoetkoraalRule1, ZoetkoraalRule2, ZoetkoraalRule2,
                              ZoetkoraalRule4, ZoetkoraalRule5, ZoetkoraalRule6, ZoetkoraalRule7};
    testing::ExpectRow(kZoetkoraal, 7, "zoetkoraal", 212, {203, 207, 203}, genes, rules);
}

TEST_F(ZoetkoraalTest, Rule0CountsDownOnAFlatRing) {
    UseBot(kZoetkoraal, 0);  // primary hue, secondary sat, base (12, 173, 103)
    Fill(bot.hue, 77);
    Fill(bot.sat, 0);  // no largest value: position 0, a reversal
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 60);
    bot.heading = 3;

    bot.state = 0;  // the fallback state 0 less one wraps to 255
    EXPECT_EQ(Run(ZoetkoraalRule0), (Outcome{255, 7, 255, 0, 60}));
    bot.state = 255;  // the state it just delivered
    EXPECT_EQ(Run(ZoetkoraalRule0), (Outcome{254, 7, 254, 0, 60}));

    // Positions 2 and 3 both lie 40 from the centre: the first one counts,
    // and its value, not its index.
    Set(bot.hue, {100, 100, 60, 140, 100, 100, 100, 100}, 100);
    bot.heading = 0;
    EXPECT_EQ(Run(ZoetkoraalRule0), (Outcome{59, 4, 59, 0, 60}));
}

TEST_F(ZoetkoraalTest, Rule0TurnsByTheLargestSecondaryNeighbour) {
    UseBot(kZoetkoraal, 0);
    Fill(bot.hue, 77);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 60);
    bot.state = 10;

    // Largest alone straight behind: (6 + 4 + 6) >> 1 = 8, a turn of 2.
    Set(bot.sat, {50, 50, 50, 50, 200, 50, 50, 50}, 0);
    bot.heading = 6;
    EXPECT_EQ(Run(ZoetkoraalRule0).heading, 8);

    // Positions 2 and 7 tie; 7 comes first in fan order: a turn of 3.
    Set(bot.sat, {10, 10, 200, 10, 10, 10, 10, 200}, 0);
    bot.heading = 0;
    EXPECT_EQ(Run(ZoetkoraalRule0).heading, 3);

    // Positions 1 and 7 tie; 1 comes first: 5 + 4.
    Set(bot.sat, {10, 200, 10, 10, 10, 10, 10, 200}, 0);
    bot.heading = 5;
    EXPECT_EQ(Run(ZoetkoraalRule0).heading, 9);
}

TEST_F(ZoetkoraalTest, Rule1FollowsPositionThreeWithAWideJitter) {
    UseBot(kZoetkoraal, 1);  // primary lum, secondary hue, base (56, 83, 176)
    Fill(bot.hue, 0);        // t = 0 + 4
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 40);

    // From heading 0 the distance 4 is not below 4: the plain mean 2.
    Set(bot.lum, {90, 90, 90, 100, 90, 90, 90, 90}, 50);
    bot.heading = 0;
    EXPECT_EQ(Run(ZoetkoraalRule1, {7}), (Outcome{102, 2, 5, 44, 76}));

    // From heading 4: 4 + 4.
    bot.heading = 4;
    EXPECT_EQ(Run(ZoetkoraalRule1, {0}), (Outcome{98, 8, 5, 43, 74}));

    // 0 - 2 clamps to 0.
    Set(bot.lum, {90, 90, 90, 0, 90, 90, 90, 90}, 50);
    bot.heading = 0;
    EXPECT_EQ(Run(ZoetkoraalRule1, {0}), (Outcome{0, 2, 0, 39, 25}));

    // Spread 230: the centre is used.
    Set(bot.lum, {0, 230, 90, 100, 90, 90, 90, 90}, 50);
    EXPECT_EQ(Run(ZoetkoraalRule1, {1}), (Outcome{50, 2, 2, 41, 50}));

    // Bits 1..3 of 255 give 7 + 4 = 11; from heading 7 plainly 18 >> 1.
    bot.hue[8] = 255;
    bot.heading = 7;
    EXPECT_EQ(Run(ZoetkoraalRule1, {1}).heading, 9);
}

TEST_F(ZoetkoraalTest, Rule2UsesTheCentreOnACalmRing) {
    UseBot(kZoetkoraal, 2);  // primary lum, secondary hue, base (54, 77, 185)
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 100);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 77);

    Fill(bot.lum, 1);  // 1 - 2 clamps to 0
    bot.heading = 0;
    EXPECT_EQ(Run(ZoetkoraalRule2, {0}), (Outcome{0, -1, 88, 76, 0}));

    // A flat ring of 200 around 10: the centre, not the mean 178.
    Set(bot.lum, {200, 200, 200, 200, 200, 200, 200, 200}, 10);
    bot.heading = 7;
    EXPECT_EQ(Run(ZoetkoraalRule2, {7}), (Outcome{8, 8, 88, 76, 9}));

    // A busy ring: the mean of nine, 1104 / 9 = 122. The hue is a plain
    // byte mix of 250 and 54.
    Set(bot.lum, {0, 40, 80, 120, 160, 200, 240, 255}, 9);
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 250);
    Fill(bot.sat, 0);
    bot.heading = 5;
    EXPECT_EQ(Run(ZoetkoraalRule2, {3}), (Outcome{120, 5, 223, 9, 64}));

    // Spread 32 takes the mean 840 / 9 = 93; spread 31 the centre.
    Set(bot.lum, {100, 132, 100, 100, 100, 100, 100, 100}, 8);
    EXPECT_EQ(Run(ZoetkoraalRule2, {3}).state, 91);
    Set(bot.lum, {100, 131, 100, 100, 100, 100, 100, 100}, 8);
    EXPECT_EQ(Run(ZoetkoraalRule2, {3}).state, 6);
}

TEST_F(ZoetkoraalTest, Rule4SharpensOnlyRingsOfExtremeContrast) {
    UseBot(kZoetkoraal, 4);  // primary hue, secondary lum, base (42, 114, 130)
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 100);

    // A calm ring: (254 + 4) mod 256. A flat secondary reverses the bot.
    Fill(bot.hue, 254);
    Fill(bot.lum, 60);
    bot.heading = 5;
    EXPECT_EQ(Run(ZoetkoraalRule4), (Outcome{2, 9, 0, 103, 76}));

    // Spread 255: q = (1200 - 1020) >> 2 = 45, a = 13500 >> 2 = 3375, and
    // 3379 mod 256 = 51. Every ring entry the search looks at lies 32 from
    // the centre; only straight behind matches, and it is never looked at.
    Set(bot.hue, {0, 255, 0, 255, 0, 255, 0, 255}, 100);
    Set(bot.lum, {0, 0, 0, 0, 32, 0, 0, 0}, 32);
    bot.heading = 3;
    EXPECT_EQ(Run(ZoetkoraalRule4), (Outcome{51, 3, 75, 102, 51}));

    // q = -900 >> 2 = -225, a = -6750 >> 2 = -1688 (rounded down), and
    // -1684 mod 256 = 108. Position 7 is the first within 31: 2 + 7 + 4.
    Set(bot.hue, {0, 255, 0, 255, 0, 255, 0, 255}, 10);
    Set(bot.lum, {100, 100, 60, 0, 60, 0, 0, 50}, 60);
    bot.heading = 2;
    EXPECT_EQ(Run(ZoetkoraalRule4), (Outcome{108, 13, 59, 101, 69}));

    // Spread 224 takes the product: q = 76, 22800 >> 2 = 5700, 5704 mod 256
    // = 72; spread 223 does not.
    Set(bot.hue, {0, 224, 0, 224, 0, 224, 0, 224}, 100);
    EXPECT_EQ(Run(ZoetkoraalRule4).state, 72);
    Set(bot.hue, {0, 223, 0, 223, 0, 223, 0, 223}, 100);
    EXPECT_EQ(Run(ZoetkoraalRule4).state, 104);
}

TEST_F(ZoetkoraalTest, Rule5AlwaysTakesTheMeanOfNine) {
    UseBot(kZoetkoraal, 5);  // primary lum, secondary sat, base (16, 33, 152)
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 100);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 33);

    // Even on a flat ring: 1610 / 9 = 178.
    Set(bot.lum, {200, 200, 200, 200, 200, 200, 200, 200}, 10);
    bot.heading = 0;
    EXPECT_EQ(Run(ZoetkoraalRule5, {0}), (Outcome{176, -1, 93, 32, 93}));

    Fill(bot.lum, 0);  // 0 - 2 clamps
    bot.heading = 7;
    EXPECT_EQ(Run(ZoetkoraalRule5, {7}), (Outcome{0, 8, 78, 32, 0}));
}

TEST_F(ZoetkoraalTest, Rule6TakesThreeDraws) {
    UseBot(kZoetkoraal, 6);  // primary hue, secondary lum, base (86, 244, 253)
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 100);

    // The nearest hue 84 lies below the base: the centre 200, plus 2.
    // Bits 4..6 of 80 give 5; the second draw adds 1 before the -2.
    Set(bot.hue, {80, 90, 100, 84, 70, 60, 50, 40}, 200);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 80);
    bot.heading = 3;
    EXPECT_EQ(Run(ZoetkoraalRule6, {3, 63, 0}), (Outcome{202, 4, 201, 127, 113}));

    // 88 and 84 tie at 2 from the base; the first, 88, counts. The third
    // draw keeps the heading.
    Set(bot.hue, {80, 88, 100, 84, 70, 60, 50, 40}, 10);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 255);
    bot.heading = 1;
    EXPECT_EQ(Run(ZoetkoraalRule6, {0, 62, 7}), (Outcome{86, 1, 48, 111, 253}));
    EXPECT_EQ(Run(ZoetkoraalRule6, {0, 62, 6}).heading, 5);

    // The centre 0 less 2 wraps to 254.
    Fill(bot.hue, 0);
    Fill(bot.lum, 0);
    bot.heading = 0;
    EXPECT_EQ(Run(ZoetkoraalRule6, {0, 0, 0}), (Outcome{254, -2, 255, 135, 62}));
}

TEST_F(ZoetkoraalTest, Rule7HeadsByTheSecondarySpread) {
    UseBot(kZoetkoraal, 7);  // primary lum, secondary hue, base (2, 127, 140)
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 33);
    bot.heading = 5;

    // The nearest lightness 141 is not below the base. A flat secondary
    // heads for 2, or 1 when the second draw picks the -1.
    Set(bot.lum, {150, 130, 145, 141, 0, 0, 0, 0}, 77);
    Fill(bot.hue, 9);
    EXPECT_EQ(Run(ZoetkoraalRule7, {7, 0}), (Outcome{143, 1, 9, 33, 110}));
    EXPECT_EQ(Run(ZoetkoraalRule7, {7, 1}).heading, 2);

    // 139 lies below the base: the centre 77 is used. Spread 20 gives 2.
    Set(bot.lum, {139, 100, 100, 100, 100, 100, 100, 100}, 77);
    Set(bot.hue, {0, 20, 0, 0, 0, 0, 0, 0}, 9);
    bot.heading = 6;
    EXPECT_EQ(Run(ZoetkoraalRule7, {0, 1}), (Outcome{75, 4, 9, 33, 76}));

    // 255 + 2 clamps; spread 255 gives 7.
    Fill(bot.lum, 255);
    Set(bot.hue, {0, 255, 0, 0, 0, 0, 0, 0}, 9);
    EXPECT_EQ(Run(ZoetkoraalRule7, {7, 15}), (Outcome{255, 9, 9, 33, 255}));
}

TEST_F(ZoetkoraalTest, Rules6And7ReplaceAFallbackBelowTheBase) {
    // With the base at 255 and a ring of 0 no entry is nearer than 255, so
    // the pick falls back on the state.
    for (int index : {6, 7}) {
        UseBot(kZoetkoraal, index);
        bot.primaryBase = 255;
        Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 30);
        Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 30);
        bot.state = 100;  // below the base: the centre 30
        const Outcome out =
            index == 6 ? Run(ZoetkoraalRule6, {1, 0, 0}) : Run(ZoetkoraalRule7, {1, 0});
        EXPECT_EQ(out.state, 30) << "bot " << index;
    }
    UseBot(kZoetkoraal, 7);
    bot.primaryBase = 255;
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 30);
    bot.state = 255;  // not below: kept, and 255 + 2 clamps
    EXPECT_EQ(Run(ZoetkoraalRule7, {7, 0}).state, 255);
}

}  // namespace
}  // namespace tintwalk
