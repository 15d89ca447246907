// The paarsebergen row and its seven rules (bots 0 and 1 share one). Every
// expected value below was worked out by hand from the rule's steps; each Run
// also checks that the rule took exactly the draws that were staged for it.
#include <gtest/gtest.h>

#include "communities/community.h"
#include "communities/rules.h"
#include "support/rule_bench.h"

namespace tintwalk {
namespace {

using testing::Outcome;

class PaarsebergenTest : public testing::RuleBench {};

TEST_F(PaarsebergenTest, RowValuesAndRules) {
    const uint8_t genes[8][13] = {
        {12, 0, 14, 10, 3, 10, 3, 0, 0, 0, 8, 127, 72},
        {12, 0, 14, 10, 3, 10, 3, 0, 0, 0, 19, 134, 97},
        {10, 0, 10, 12, 17, 0, 6, 3, 2, 1, 181, 34, 177},
        {11, 0, 10, 11, 4, 6, 0, 0, 0, 0, 40, 216, 26},
        {7, 2, 5, 12, 14, 5, 0, 0, 2, 1, 113, 158, 102},
        {15, 7, 10, 10, 5, 0, 3, 3, 0, 1, 88, 8, 140},
        {11, 0, 15, 10, 3, 0, 7, 0, 2, 1, 99, 253, 70},
        {14, 5, 13, 12, 13, 0, 0, 0, 0, 1, 8, 106, 244},
    };
    const BotRule rules[8] = {PaarsebergenRule0, PaarsebergenRule0, PaarsebergenRule2,
                              PaarsebergenRule3, PaarsebergenRule4, PaarsebergenRule5,
                              PaarsebergenRule6, PaarsebergenRule7};
    testing::ExpectRow(kPaarsebergen, 1, "paarsebergen", 192, {198, 200, 203}, genes, rules);

    const int32_t primaryBase[8] = {8, 19, 177, 40, 102, 88, 70, 8};
    const int32_t secondaryBase[8] = {8, 19, 34, 40, 158, 8, 253, 106};
    for (int b = 0; b < 8; ++b) {
        UseBot(kPaarsebergen, b);
        EXPECT_EQ(bot.primaryBase, primaryBase[b]) << "bot " << b;
        EXPECT_EQ(bot.secondaryBase, secondaryBase[b]) << "bot " << b;
    }
}

TEST_F(PaarsebergenTest, Rule0CrossWrap) {
    // Cross 255 + 2 wraps to 1; heading (255 >> 2) & 7 = 7, -1 + 3.
    UseBot(kPaarsebergen, 0);  // primary and secondary hue, base (8, 127, 72)
    Fill(bot.hue, 255);
    Fill(bot.sat, 100);
    Fill(bot.lum, 200);
    EXPECT_EQ(Run(PaarsebergenRule0, {3, 0}), (Outcome{1, 9, 1, 99, 199}));

    // Bot 1 shares the rule with its own base colour. Cross 7 >> 2 = 1, - 2
    // wraps to 255; heading (12 >> 2) & 7 = 3, +1 + 3.
    UseBot(kPaarsebergen, 1);  // base (19, 134, 97)
    Set(bot.hue, {0, 1, 0, 2, 0, 2, 0, 2}, 12);
    Fill(bot.sat, 0);
    Fill(bot.lum, 255);
    EXPECT_EQ(Run(PaarsebergenRule0, {0, 15}), (Outcome{255, 7, 255, 32, 215}));
}

TEST_F(PaarsebergenTest, Rule2SeventhsAndFlatness) {
    UseBot(kPaarsebergen, 2);  // primary lum, secondary sat, base (181, 34, 177)
    Fill(bot.hue, 0);
    bot.state = 0;

    // 1275 / 7 = 182 is above the base 177: 178. All nine secondaries equal: +3.
    Fill(bot.lum, 255);
    Fill(bot.sat, 90);
    bot.heading = 6;
    EXPECT_EQ(Run(PaarsebergenRule2), (Outcome{178, 9, 31, 80, 216}));

    // 1239 / 7 = 177 is not above the base: 181. The centre below the ring's
    // largest value: +5.
    Set(bot.lum, {0, 246, 0, 246, 0, 246, 0, 246}, 255);
    Set(bot.sat, {90, 90, 90, 90, 90, 90, 90, 91}, 90);
    bot.heading = 0;
    EXPECT_EQ(Run(PaarsebergenRule2), (Outcome{181, 5, 31, 79, 218}));

    // Only the centre differs from a flat ring (above its smallest): +5.
    Fill(bot.lum, 0);
    Set(bot.sat, {90, 90, 90, 90, 90, 90, 90, 90}, 91);
    bot.heading = 7;
    EXPECT_EQ(Run(PaarsebergenRule2), (Outcome{4, 12, 0, 90, 2}));
}

TEST_F(PaarsebergenTest, Rule3CentreMeanAgainstBase) {
    UseBot(kPaarsebergen, 3);  // primary and secondary hue, base (40, 216, 26)

    // The even ring positions do not count: (4 * 80) >> 3 = 40, not above the
    // base, gives 44; heading (80 >> 3) & 7 = 2, +1.
    Set(bot.hue, {255, 0, 255, 0, 255, 0, 255, 0}, 80);
    Fill(bot.sat, 100);
    Fill(bot.lum, 50);
    EXPECT_EQ(Run(PaarsebergenRule3, {7}), (Outcome{44, 3, 44, 123, 44}));

    Fill(bot.hue, 41);
    EXPECT_EQ(Run(PaarsebergenRule3, {0}), (Outcome{37, 4, 37, 124, 44}));

    Fill(bot.hue, 255);
    Fill(bot.sat, 0);
    Fill(bot.lum, 255);
    EXPECT_EQ(Run(PaarsebergenRule3, {3}), (Outcome{251, 7, 251, 0, 253}));
}

TEST_F(PaarsebergenTest, Rule4HeldMaximum) {
    UseBot(kPaarsebergen, 4);  // primary lum, secondary sat, bases 102 and 158

    // The larger of state 90 and centre 60 stays below the base: 89. The
    // secondaries at 7 and 2 tie nearest to 158: fan order takes 7.
    Fill(bot.lum, 60);
    Fill(bot.hue, 200);
    Set(bot.sat, {0, 0, 166, 0, 0, 0, 0, 150}, 158);
    bot.state = 90;
    bot.heading = 2;
    EXPECT_EQ(Run(PaarsebergenRule4, {3}), (Outcome{89, 10, 191, 157, 74}));

    Fill(bot.lum, 200);
    Fill(bot.hue, 0);
    Fill(bot.sat, 0);
    bot.state = 10;
    bot.heading = 0;
    EXPECT_EQ(Run(PaarsebergenRule4, {0}), (Outcome{199, -1, 21, 30, 199}));

    // State 150 above the base gives way to the centre 60: 59. State 102
    // equal to the base is held: 101. 0 - 1 clamps to 0.
    const struct {
        int32_t state;
        int centre;
        int32_t expected;
    } held[] = {{150, 60, 59}, {102, 60, 101}, {0, 0, 0}};
    for (const auto& c : held) {
        Fill(bot.lum, c.centre);
        bot.state = c.state;
        EXPECT_EQ(Run(PaarsebergenRule4, {1}).state, c.expected) << "state " << c.state;
    }
}

TEST_F(PaarsebergenTest, Rule5ReflectionAndWrap) {
    UseBot(kPaarsebergen, 5);  // primary hue, secondary sat, base (88, 8, 140)
    bot.state = 0;

    // Reflection 510 above the base: 506 wraps to 250; n = (12 & 7) + 3 = 7.
    Set(bot.hue, {255, 255, 255, 255, 255, 255, 255, 255}, 0);
    Fill(bot.sat, 200);
    Fill(bot.lum, 100);
    bot.heading = 1;
    EXPECT_EQ(Run(PaarsebergenRule5), (Outcome{250, 4, 250, 152, 109}));

    // Spread exactly 32 keeps the reflection 432 >> 2 = 108: 104.
    Set(bot.hue, {100, 132, 100, 100, 100, 100, 100, 100}, 100);
    Fill(bot.sat, 0);
    Fill(bot.lum, 0);
    bot.heading = 2;
    EXPECT_EQ(Run(PaarsebergenRule5), (Outcome{104, 6, 104, 0, 14}));
    // Spread 33 takes the centre 100: 96.
    Set(bot.hue, {100, 133, 100, 100, 100, 100, 100, 100}, 100);
    EXPECT_EQ(Run(PaarsebergenRule5), (Outcome{96, 6, 96, 0, 13}));

    // A negative reflection: -38 >> 2 = -10 (rounding down), + 4 wraps to 250.
    Set(bot.hue, {2, 0, 0, 0, 0, 0, 0, 0}, 10);
    Fill(bot.sat, 200);
    Fill(bot.lum, 100);
    bot.heading = 5;
    EXPECT_EQ(Run(PaarsebergenRule5), (Outcome{250, 10, 250, 152, 109}));
}

TEST_F(PaarsebergenTest, Rule6ClampedCentreMean) {
    UseBot(kPaarsebergen, 6);  // primary lum, secondary sat, base (99, 253, 70)

    Set(bot.lum, {0, 1, 0, 1, 0, 1, 0, 1}, 1);
    Fill(bot.hue, 100);
    Fill(bot.sat, 3);
    EXPECT_EQ(Run(PaarsebergenRule6, {0}), (Outcome{0, -3, 99, 2, 0}));

    Fill(bot.lum, 254);
    Fill(bot.hue, 0);
    Fill(bot.sat, 255);
    EXPECT_EQ(Run(PaarsebergenRule6, {7}), (Outcome{255, 4, 24, 253, 255}));
}

TEST_F(PaarsebergenTest, Rule7SpreadLimitAndFarthestSecondary) {
    UseBot(kPaarsebergen, 7);  // primary hue, secondary sat, base (8, 106, 244)
    bot.state = 0;

    // Spread 31 takes the centre 0; -2 wraps to 254, and the hue midpoint
    // with 0 goes the short way to 255. Secondaries all at the base: ahead.
    Set(bot.hue, {100, 131, 100, 100, 100, 100, 100, 100}, 0);
    Fill(bot.sat, 106);
    Fill(bot.lum, 0);
    bot.heading = 3;
    EXPECT_EQ(Run(PaarsebergenRule7, {0}), (Outcome{254, 3, 255, 105, 60}));

    // Spread 32 takes the ring mean 104, +2. Positions 7 and 2 tie farthest
    // from 106: fan order takes 7.
    Set(bot.hue, {100, 132, 100, 100, 100, 100, 100, 100}, 0);
    Set(bot.sat, {106, 106, 0, 106, 106, 106, 106, 212}, 50);
    Fill(bot.lum, 255);
    bot.heading = 4;
    EXPECT_EQ(Run(PaarsebergenRule7, {1}), (Outcome{106, 11, 53, 55, 252}));
}

}  // namespace
}  // namespace tintwalk
