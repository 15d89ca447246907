#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>

#include "communities/community.h"
#include "communities/rules.h"
#include "core/biotope.h"
#include "core/random.h"
#include "support/scripted_draws.h"

namespace tintwalk {
namespace {

// Staged after a rule's own draws: it must be the next value drawn.
constexpr uint32_t kMarker = 24680;

class ZoetkoraalTest : public ::testing::Test {
  protected:
    // Sets the bot up as loading the row does: base colour, channels and
    // bases from bot `index`'s genes. The arrays are filled by each case.
    void Load(int index) {
        const uint8_t* g = kZoetkoraal.genes[index].genes;
        bot.baseColour = {g[10], g[11], g[12]};
        bot.primary = Channel(g[8]);
        bot.secondary = Channel(g[9]);
        bot.primaryBase = g[10 + (g[8] < 2 ? g[8] : 2)];
        bot.secondaryBase = g[10 + (g[9] < 2 ? g[9] : 2)];
        bot.cell = cell;
    }

    const uint8_t* Channel(uint8_t gene) const {
        return gene == 0 ? bot.hue : (gene == 1 ? bot.sat : bot.lum);
    }

    // Ring entries 0..7, then the centre.
    static void Set(uint8_t* a, std::initializer_list<int> ring, int centre) {
        int k = 0;
        for (int v : ring)
            a[k++] = static_cast<uint8_t>(v);
        a[8] = static_cast<uint8_t>(centre);
    }
    static void Flat(uint8_t* a, int v) { Set(a, {v, v, v, v, v, v, v, v}, v); }

    // Runs `rule` on the bot with `draws` staged, and checks that it took
    // exactly those draws.
    void Run(BotRule rule, std::initializer_list<uint32_t> draws = {}) {
        const uint32_t* d = draws.begin();
        switch (draws.size()) {
            case 0:
                testing::ScriptDraws({kMarker});
                break;
            case 1:
                testing::ScriptDraws({d[0], kMarker});
                break;
            case 2:
                testing::ScriptDraws({d[0], d[1], kMarker});
                break;
            default:
                testing::ScriptDraws({d[0], d[1], d[2], kMarker});
                break;
        }
        cell[0] = bot.hue[8];
        cell[1] = bot.sat[8];
        cell[2] = bot.lum[8];
        rule(bot, newState, newHeading, newColour);
        EXPECT_EQ(randomGenerator.Next(), static_cast<int32_t>(kMarker)) << "draws taken";
    }

    void Expect(int32_t state, int32_t heading, int hue, int sat, int lum) const {
        EXPECT_EQ(newState, state);
        EXPECT_EQ(newHeading, heading);
        EXPECT_EQ(newColour.hue, hue);
        EXPECT_EQ(newColour.saturation, sat);
        EXPECT_EQ(newColour.lightness, lum);
    }

    Bot bot;
    uint8_t cell[3] = {};
    int32_t newState = -1;
    int32_t newHeading = -1;
    HslPixel newColour = {0, 0, 0};
};

TEST(ZoetkoraalPreset, RowMatchesTheCommunity) {
    EXPECT_STREQ(kZoetkoraal.name, "zoetkoraal");
    EXPECT_EQ(kZoetkoraal.hueShift, 212);
    EXPECT_EQ(kZoetkoraal.background.red, 203);
    EXPECT_EQ(kZoetkoraal.background.green, 207);
    EXPECT_EQ(kZoetkoraal.background.blue, 203);

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
    for (int bot = 0; bot < 8; ++bot) {
        for (int g = 0; g < 13; ++g)
            EXPECT_EQ(kZoetkoraal.genes[bot].genes[g], genes[bot][g])
                << "bot " << bot << " gene " << g;
    }

    // Bots 2 and 3 share one rule.
    const BotRule rules[8] = {ZoetkoraalRule0, ZoetkoraalRule1, ZoetkoraalRule2, ZoetkoraalRule2,
                              ZoetkoraalRule4, ZoetkoraalRule5, ZoetkoraalRule6, ZoetkoraalRule7};
    for (int bot = 0; bot < 8; ++bot)
        EXPECT_EQ(kZoetkoraal.rules[bot], rules[bot]) << "bot " << bot;
}

TEST_F(ZoetkoraalTest, Rule0CountsDownOnAFlatRing) {
    Load(0);  // primary hue, secondary sat, base (12, 173, 103)
    Flat(bot.hue, 77);
    Flat(bot.sat, 0);  // no largest value: position 0, a reversal
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 60);
    bot.heading = 3;

    bot.state = 0;  // the fallback state 0 less one wraps to 255
    Run(ZoetkoraalRule0);
    Expect(255, 7, 255, 0, 60);
    bot.state = newState;
    Run(ZoetkoraalRule0);
    Expect(254, 7, 254, 0, 60);

    // Positions 2 and 3 both lie 40 from the centre: the first one counts,
    // and its value, not its index.
    Set(bot.hue, {100, 100, 60, 140, 100, 100, 100, 100}, 100);
    bot.heading = 0;
    Run(ZoetkoraalRule0);
    Expect(59, 4, 59, 0, 60);
}

TEST_F(ZoetkoraalTest, Rule0TurnsByTheLargestSecondaryNeighbour) {
    Load(0);
    Flat(bot.hue, 77);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 60);
    bot.state = 10;

    // Largest alone straight behind: (6 + 4 + 6) >> 1 = 8, a turn of 2.
    Set(bot.sat, {50, 50, 50, 50, 200, 50, 50, 50}, 0);
    bot.heading = 6;
    Run(ZoetkoraalRule0);
    EXPECT_EQ(newHeading, 8);

    // Positions 2 and 7 tie; 7 comes first in fan order: a turn of 3.
    Set(bot.sat, {10, 10, 200, 10, 10, 10, 10, 200}, 0);
    bot.heading = 0;
    Run(ZoetkoraalRule0);
    EXPECT_EQ(newHeading, 3);

    // Positions 1 and 7 tie; 1 comes first: 5 + 4.
    Set(bot.sat, {10, 200, 10, 10, 10, 10, 10, 200}, 0);
    bot.heading = 5;
    Run(ZoetkoraalRule0);
    EXPECT_EQ(newHeading, 9);
}

TEST_F(ZoetkoraalTest, Rule1FollowsPositionThreeWithAWideJitter) {
    Load(1);                                    // primary lum, secondary hue, base (56, 83, 176)
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 0);  // t = 0 + 4
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 40);

    // From heading 0 the distance 4 is not below 4: the plain mean 2.
    Set(bot.lum, {90, 90, 90, 100, 90, 90, 90, 90}, 50);
    bot.heading = 0;
    Run(ZoetkoraalRule1, {7});
    Expect(102, 2, 5, 44, 76);

    // From heading 4: 4 + 4.
    bot.heading = 4;
    Run(ZoetkoraalRule1, {0});
    Expect(98, 8, 5, 43, 74);

    // 0 - 2 clamps to 0.
    Set(bot.lum, {90, 90, 90, 0, 90, 90, 90, 90}, 50);
    bot.heading = 0;
    Run(ZoetkoraalRule1, {0});
    Expect(0, 2, 0, 39, 25);

    // Spread 230: the centre is used.
    Set(bot.lum, {0, 230, 90, 100, 90, 90, 90, 90}, 50);
    Run(ZoetkoraalRule1, {1});
    Expect(50, 2, 2, 41, 50);

    // Bits 1..3 of 255 give 7 + 4 = 11; from heading 7 plainly 18 >> 1.
    bot.hue[8] = 255;
    bot.heading = 7;
    Run(ZoetkoraalRule1, {1});
    EXPECT_EQ(newHeading, 9);
}

TEST_F(ZoetkoraalTest, Rule2UsesTheCentreOnACalmRing) {
    Load(2);  // primary lum, secondary hue, base (54, 77, 185)
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 100);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 77);

    Flat(bot.lum, 1);  // 1 - 2 clamps to 0
    bot.heading = 0;
    Run(ZoetkoraalRule2, {0});
    Expect(0, -1, 88, 76, 0);

    // A flat ring of 200 around 10: the centre, not the mean 178.
    Set(bot.lum, {200, 200, 200, 200, 200, 200, 200, 200}, 10);
    bot.heading = 7;
    Run(ZoetkoraalRule2, {7});
    Expect(8, 8, 88, 76, 9);

    // A busy ring: the mean of nine, 1104 / 9 = 122. The hue is a plain
    // byte mix of 250 and 54.
    Set(bot.lum, {0, 40, 80, 120, 160, 200, 240, 255}, 9);
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 250);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 0);
    bot.heading = 5;
    Run(ZoetkoraalRule2, {3});
    Expect(120, 5, 223, 9, 64);

    // Spread 32 takes the mean 840 / 9 = 93; spread 31 the centre.
    Set(bot.lum, {100, 132, 100, 100, 100, 100, 100, 100}, 8);
    Run(ZoetkoraalRule2, {3});
    EXPECT_EQ(newState, 91);
    Set(bot.lum, {100, 131, 100, 100, 100, 100, 100, 100}, 8);
    Run(ZoetkoraalRule2, {3});
    EXPECT_EQ(newState, 6);
}

TEST_F(ZoetkoraalTest, Rule4SharpensOnlyRingsOfExtremeContrast) {
    Load(4);  // primary hue, secondary lum, base (42, 114, 130)
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 100);

    // A calm ring: (254 + 4) mod 256. A flat secondary reverses the bot.
    Flat(bot.hue, 254);
    Flat(bot.lum, 60);
    bot.heading = 5;
    Run(ZoetkoraalRule4);
    Expect(2, 9, 0, 103, 76);

    // Spread 255: q = (1200 - 1020) >> 2 = 45, a = 13500 >> 2 = 3375, and
    // 3379 mod 256 = 51. Every ring entry the search looks at lies 32 from
    // the centre; only straight behind matches, and it is never looked at.
    Set(bot.hue, {0, 255, 0, 255, 0, 255, 0, 255}, 100);
    Set(bot.lum, {0, 0, 0, 0, 32, 0, 0, 0}, 32);
    bot.heading = 3;
    Run(ZoetkoraalRule4);
    Expect(51, 3, 75, 102, 51);

    // q = -900 >> 2 = -225, a = -6750 >> 2 = -1688 (rounded down), and
    // -1684 mod 256 = 108. Position 7 is the first within 31: 2 + 7 + 4.
    Set(bot.hue, {0, 255, 0, 255, 0, 255, 0, 255}, 10);
    Set(bot.lum, {100, 100, 60, 0, 60, 0, 0, 50}, 60);
    bot.heading = 2;
    Run(ZoetkoraalRule4);
    Expect(108, 13, 59, 101, 69);

    // Spread 224 takes the product: q = 76, 22800 >> 2 = 5700, 5704 mod 256
    // = 72; spread 223 does not.
    Set(bot.hue, {0, 224, 0, 224, 0, 224, 0, 224}, 100);
    Run(ZoetkoraalRule4);
    EXPECT_EQ(newState, 72);
    Set(bot.hue, {0, 223, 0, 223, 0, 223, 0, 223}, 100);
    Run(ZoetkoraalRule4);
    EXPECT_EQ(newState, 104);
}

TEST_F(ZoetkoraalTest, Rule5AlwaysTakesTheMeanOfNine) {
    Load(5);  // primary lum, secondary sat, base (16, 33, 152)
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 100);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 33);

    // Even on a flat ring: 1610 / 9 = 178.
    Set(bot.lum, {200, 200, 200, 200, 200, 200, 200, 200}, 10);
    bot.heading = 0;
    Run(ZoetkoraalRule5, {0});
    Expect(176, -1, 93, 32, 93);

    Flat(bot.lum, 0);  // 0 - 2 clamps
    bot.heading = 7;
    Run(ZoetkoraalRule5, {7});
    Expect(0, 8, 78, 32, 0);
}

TEST_F(ZoetkoraalTest, Rule6TakesThreeDraws) {
    Load(6);  // primary hue, secondary lum, base (86, 244, 253)
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 100);

    // The nearest hue 84 lies below the base: the centre 200, plus 2.
    // Bits 4..6 of 80 give 5; the second draw adds 1 before the -2.
    Set(bot.hue, {80, 90, 100, 84, 70, 60, 50, 40}, 200);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 80);
    bot.heading = 3;
    Run(ZoetkoraalRule6, {3, 63, 0});
    Expect(202, 4, 201, 127, 113);

    // 88 and 84 tie at 2 from the base; the first, 88, counts. The third
    // draw keeps the heading.
    Set(bot.hue, {80, 88, 100, 84, 70, 60, 50, 40}, 10);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 255);
    bot.heading = 1;
    Run(ZoetkoraalRule6, {0, 62, 7});
    Expect(86, 1, 48, 111, 253);
    Run(ZoetkoraalRule6, {0, 62, 6});
    EXPECT_EQ(newHeading, 5);

    // The centre 0 less 2 wraps to 254.
    Flat(bot.hue, 0);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 0);
    bot.heading = 0;
    Run(ZoetkoraalRule6, {0, 0, 0});
    Expect(254, -2, 255, 135, 62);
}

TEST_F(ZoetkoraalTest, Rule7HeadsByTheSecondarySpread) {
    Load(7);  // primary lum, secondary hue, base (2, 127, 140)
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 33);
    bot.heading = 5;

    // The nearest lightness 141 is not below the base. A flat secondary
    // heads for 2, or 1 when the second draw picks the -1.
    Set(bot.lum, {150, 130, 145, 141, 0, 0, 0, 0}, 77);
    Flat(bot.hue, 9);
    Run(ZoetkoraalRule7, {7, 0});
    Expect(143, 1, 9, 33, 110);
    Run(ZoetkoraalRule7, {7, 1});
    EXPECT_EQ(newHeading, 2);

    // 139 lies below the base: the centre 77 is used. Spread 20 gives 2.
    Set(bot.lum, {139, 100, 100, 100, 100, 100, 100, 100}, 77);
    Set(bot.hue, {0, 20, 0, 0, 0, 0, 0, 0}, 9);
    bot.heading = 6;
    Run(ZoetkoraalRule7, {0, 1});
    Expect(75, 4, 9, 33, 76);

    // 255 + 2 clamps; spread 255 gives 7.
    Flat(bot.lum, 255);
    Set(bot.hue, {0, 255, 0, 0, 0, 0, 0, 0}, 9);
    Run(ZoetkoraalRule7, {7, 15});
    Expect(255, 9, 9, 33, 255);
}

TEST_F(ZoetkoraalTest, Rules6And7ReplaceAFallbackBelowTheBase) {
    // With the base at 255 and a ring of 0 no entry is nearer than 255, so
    // the pick falls back on the state.
    for (int index : {6, 7}) {
        Load(index);
        bot.primaryBase = 255;
        Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 30);
        Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 30);
        bot.state = 100;  // below the base: the centre 30
        if (index == 6) {
            Run(ZoetkoraalRule6, {1, 0, 0});
        } else {
            Run(ZoetkoraalRule7, {1, 0});
        }
        EXPECT_EQ(newState, 30) << "bot " << index;
    }
    Load(7);
    bot.primaryBase = 255;
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 30);
    bot.state = 255;  // not below: kept, and 255 + 2 clamps
    Run(ZoetkoraalRule7, {7, 0});
    EXPECT_EQ(newState, 255);
}

}  // namespace
}  // namespace tintwalk
