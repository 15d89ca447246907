// Preset row and behaviour rules of the community "tegelswitzwart". Every
// expected value below is worked out by hand from the rule's steps.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <initializer_list>

#include "communities/community.h"
#include "communities/rules.h"
#include "support/scripted_draws.h"

namespace tintwalk {
namespace {

TEST(TegelswitzwartPreset, RowMatchesTheCommunity) {
    const CommunityPreset& row = kTegelswitzwart;
    EXPECT_STREQ(row.name, "tegelswitzwart");
    EXPECT_EQ(row.hueShift, 220);
    EXPECT_EQ(row.background.red, 199);
    EXPECT_EQ(row.background.green, 205);
    EXPECT_EQ(row.background.blue, 196);
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
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(0, std::memcmp(row.genes[i].genes, genes[i], 13));
        EXPECT_EQ(row.rules[i], rules[i]);
    }
}

// A bot of the preset with its channels and bases as a reset derives them
// from its genes; the test fills the neighbourhood and runs a rule on it.
class TegelswitzwartRules : public ::testing::Test {
  protected:
    static constexpr uint32_t kAfterRule = 7654321;

    void UseBot(int row, int32_t state, int32_t heading) {
        const uint8_t* g = kTegelswitzwart.genes[row].genes;
        bot.baseColour = {g[10], g[11], g[12]};
        bot.primary = Channel(g[8]);
        bot.secondary = Channel(g[9]);
        bot.primaryBase = g[10 + (g[8] > 1 ? 2 : g[8])];
        bot.secondaryBase = g[10 + (g[9] > 1 ? 2 : g[9])];
        bot.state = state;
        bot.heading = heading;
        bot.cell = cell;
    }
    const uint8_t* Channel(uint8_t gene) {
        return gene == 0 ? bot.hue : gene == 1 ? bot.sat : bot.lum;
    }
    static void Fill(uint8_t* a, std::initializer_list<int> ring, int centre) {
        int k = 0;
        for (int v : ring)
            a[k++] = static_cast<uint8_t>(v);
        a[8] = static_cast<uint8_t>(centre);
    }
    static void Flat(uint8_t* a, int v) { Fill(a, {v, v, v, v, v, v, v, v}, v); }
    static void Ring(uint8_t* a, int v, int centre) { Fill(a, {v, v, v, v, v, v, v, v}, centre); }

    // Runs the rule on exactly the given draws: the value staged after them
    // must still be the next one.
    template <typename... Draws>
    void Run(BotRule rule, Draws... draws) {
        testing::ScriptDraws({static_cast<uint32_t>(draws)..., kAfterRule});
        cell[0] = bot.hue[8];
        cell[1] = bot.sat[8];
        cell[2] = bot.lum[8];
        rule(bot, newState, newHeading, newColour);
        EXPECT_EQ(static_cast<uint32_t>(randomGenerator.Next()), kAfterRule)
            << "the rule took other than " << sizeof...(draws) << " draws";
    }
    std::array<int32_t, 5> Out() const {
        return {newState, newHeading, newColour.hue, newColour.saturation, newColour.lightness};
    }
    using Expected = std::array<int32_t, 5>;

    Bot bot;
    uint8_t cell[3] = {};
    int32_t newState = -1000;
    int32_t newHeading = -1000;
    HslPixel newColour = {};
};

TEST_F(TegelswitzwartRules, Rule0StepsUpFromTheBaseAndNudgesOnDraw7) {
    UseBot(0, 0, 3);  // sat / hue, bases 107 and 47, colour (47, 107, 138)
    Fill(bot.sat, {0, 107, 0, 107, 0, 107, 0, 107}, 0);
    Flat(bot.hue, 47);
    Ring(bot.lum, 0, 0);
    // a = 107 is not above the base: 109; w = 27; flat secondary gives 0.
    Run(TegelswitzwartRule0, 7, 2);
    EXPECT_EQ(Out(), (Expected{109, 4, 46, 109, 14}));
}

TEST_F(TegelswitzwartRules, Rule0KeepsItsHeadingWhenTheSecondDrawEndsIn3) {
    UseBot(0, 0, 6);
    Flat(bot.sat, 255);
    Fill(bot.hue, {47, 47, 47, 47, 47, 200, 47, 47}, 0);
    Ring(bot.lum, 0, 255);
    // 255 - 2 = 253; w = 63; largest difference from 47 at position 5.
    Run(TegelswitzwartRule0, 0, 3);
    EXPECT_EQ(Out(), (Expected{253, 6, 11, 253, 225}));
    Run(TegelswitzwartRule0, 0, 4);
    EXPECT_EQ(newHeading, 11);
}

TEST_F(TegelswitzwartRules, Rule1GrowsFromTheBaseOrRestartsFromTheCentre) {
    UseBot(1, 24, 5);  // lum / lum, base 24, colour (92, 20, 24)
    Ring(bot.hue, 0, 92);
    Ring(bot.sat, 0, 0);
    Ring(bot.lum, 10, 250);
    // State at the base: 26, w = 6; L equals R: +3.
    Run(TegelswitzwartRule1);
    EXPECT_EQ(Out(), (Expected{26, 8, 91, 0, 26}));

    UseBot(1, 23, 3);
    Ring(bot.hue, 0, 0);
    Ring(bot.sat, 0, 255);
    Fill(bot.lum, {0, 10, 10, 10, 0, 9, 10, 10}, 250);
    // Below the base: centre 250 + 2; w = 63; L 30 > R 29: +5.
    Run(TegelswitzwartRule1);
    EXPECT_EQ(Out(), (Expected{252, 8, 22, 196, 252}));

    for (int32_t state : {254, 255}) {
        UseBot(1, state, 0);
        Run(TegelswitzwartRule1);
        EXPECT_EQ(newState, 255);
    }
}

TEST_F(TegelswitzwartRules, Rule2UsesTheRingMeanOnlyWithin32OfTheBase) {
    UseBot(2, 0, 4);  // sat / lum, bases 99 and 211, colour (0, 99, 211)
    Ring(bot.sat, 132, 20);
    Ring(bot.hue, 0, 100);
    Flat(bot.lum, 211);
    // Mean 132 lies 33 away: centre 20 + 16; w = 9.
    Run(TegelswitzwartRule2);
    EXPECT_EQ(Out(), (Expected{36, 4, 96, 36, 210}));

    UseBot(2, 0, 2);
    Ring(bot.sat, 131, 20);
    Ring(bot.hue, 0, 0);
    Fill(bot.lum, {211, 211, 0, 211, 211, 211, 211, 0}, 0);
    // Mean 131 lies 32 away: 131 - 16; w = 28; positions 7 and 2 tie, 7 first.
    Run(TegelswitzwartRule2);
    EXPECT_EQ(Out(), (Expected{115, 9, 0, 115, 23}));

    Ring(bot.sat, 99, 20);  // equal to the base: 16 is added
    Run(TegelswitzwartRule2);
    EXPECT_EQ(newState, 115);
}

TEST_F(TegelswitzwartRules, Rule3KeepsAMinimumAtTheBaseAndTurnsAway) {
    UseBot(3, 0, 1);  // sat / lum, bases 115 and 71
    Fill(bot.sat, {115, 200, 200, 200, 200, 200, 200, 200}, 60);
    Ring(bot.hue, 0, 33);
    Ring(bot.lum, 71, 71);
    // 115 + 2; saturation (117 + 180) >> 2; flat secondary: 0 + 4.
    Run(TegelswitzwartRule3);
    EXPECT_EQ(Out(), (Expected{117, 5, 33, 74, 71}));

    UseBot(3, 0, 7);
    Fill(bot.sat, {114, 200, 200, 200, 200, 200, 200, 200}, 250);
    Ring(bot.hue, 0, 0);
    Fill(bot.lum, {71, 71, 71, 71, 255, 71, 71, 71}, 9);
    // Minimum 114 gives way to the centre 250 - 2; (248 + 750) >> 2; behind + 4.
    Run(TegelswitzwartRule3);
    EXPECT_EQ(Out(), (Expected{248, 15, 0, 249, 9}));
}

TEST_F(TegelswitzwartRules, Rule4TurnsBackByFiveOrThree) {
    UseBot(4, 0, 0);  // lum / lum, colour (68, 88, 160)
    Flat(bot.lum, 248);
    Ring(bot.hue, 0, 68);
    Ring(bot.sat, 0, 0);
    // Mean 248 + 8 clamped; w = 63; L equals R: -1 - 4, or - 3 on 63.
    Run(TegelswitzwartRule4, 0);
    EXPECT_EQ(Out(), (Expected{255, -5, 67, 21, 251}));
    Run(TegelswitzwartRule4, 63);
    EXPECT_EQ(newHeading, -4);

    UseBot(4, 0, 2);
    Fill(bot.lum, {0, 100, 100, 100, 0, 0, 0, 0}, 0);
    Ring(bot.hue, 0, 0);
    Ring(bot.sat, 0, 255);
    // 300 / 9 = 33 + 8; w = 10; L > R: 2 + 1 - 4 = heading - 3.
    Run(TegelswitzwartRule4, 62);
    EXPECT_EQ(Out(), (Expected{41, -1, 2, 247, 20}));
    Run(TegelswitzwartRule4, 127);
    EXPECT_EQ(newHeading, 0);
}

TEST_F(TegelswitzwartRules, Rule5FadesAndRestartsOnAWideRing) {
    UseBot(5, 2, 1);  // sat / hue, base 98 (hue), colour (98, 184, 69)
    Ring(bot.sat, 50, 50);
    Flat(bot.hue, 98);
    Ring(bot.lum, 0, 255);
    // 2 - 4 clamped; w = 192, the cell's own colour weighs most.
    Run(TegelswitzwartRule5, 0);
    EXPECT_EQ(Out(), (Expected{0, 1, 97, 25, 208}));
    Run(TegelswitzwartRule5, 63);
    EXPECT_EQ(newHeading, 2);

    UseBot(5, 77, 4);
    Fill(bot.sat, {0, 30, 60, 100, 130, 160, 200, 230}, 200);
    Fill(bot.hue, {98, 98, 98, 0, 98, 98, 98, 196}, 0);
    Ring(bot.lum, 0, 0);
    // Spread 230: centre 200 - 4; w = 241; positions 7 and 3 tie, 7 first.
    Run(TegelswitzwartRule5, 63);
    EXPECT_EQ(Out(), (Expected{196, 12, 5, 198, 3}));

    Fill(bot.sat, {0, 224, 0, 0, 0, 0, 0, 0}, 200);  // spread 224: the state stays
    Run(TegelswitzwartRule5, 0);
    EXPECT_EQ(newState, 73);
}

TEST_F(TegelswitzwartRules, Rule6TurnsByTheDriftOnAFlatSecondary) {
    UseBot(6, 0, 5);  // sat / hue, base 37, colour (26, 37, 89)
    Fill(bot.sat, {40, 50, 60, 70, 80, 90, 100, 110}, 100);
    Flat(bot.hue, 50);
    Ring(bot.lum, 0, 89);
    // Minimum 40 - 2; w = 9; drift table entry 0 is -1.
    Run(TegelswitzwartRule6, 0, 0);
    EXPECT_EQ(Out(), (Expected{38, 4, 48, 69, 88}));
    Run(TegelswitzwartRule6, 6, 0);
    EXPECT_EQ(newHeading, 6);
    Run(TegelswitzwartRule6, 6, 31);  // low five bits set: heading kept
    EXPECT_EQ(newHeading, 5);
}

TEST_F(TegelswitzwartRules, Rule6SeeksTheSecondaryNearestItsMean) {
    UseBot(6, 0, 3);
    Fill(bot.sat, {0, 230, 100, 100, 100, 100, 100, 100}, 37);
    Fill(bot.hue, {200, 100, 40, 60, 0, 40, 80, 120}, 0);
    Ring(bot.lum, 0, 0);
    // Spread 230: centre 37, equal to the base, + 2; mean 80 is met at 6.
    Run(TegelswitzwartRule6, 7, 30);
    EXPECT_EQ(Out(), (Expected{39, 10, 0, 38, 3}));
}

TEST_F(TegelswitzwartRules, Rule7DividesFiveEntriesBySeven) {
    UseBot(7, 0, 2);  // lum / hue, base 25 (hue), colour (25, 126, 126)
    Flat(bot.lum, 255);
    Flat(bot.hue, 25);
    Ring(bot.sat, 0, 0);
    // 1275 / 7 = 182; wide jitter -2, 0, +2.
    Run(TegelswitzwartRule7, 3, 6);
    EXPECT_EQ(Out(), (Expected{184, 3, 24, 22, 184}));
    Run(TegelswitzwartRule7, 0, 1);
    EXPECT_EQ(newState, 180);
    Run(TegelswitzwartRule7, 1, 1);
    EXPECT_EQ(newState, 182);

    UseBot(7, 0, 7);
    Flat(bot.lum, 0);
    Fill(bot.hue, {255, 200, 30, 20, 100, 100, 30, 255}, 255);
    Ring(bot.sat, 0, 126);
    // 0 - 2 clamped, w = 0; 2, 6 and 3 tie at 5 from 25, 2 first; drift -1.
    Run(TegelswitzwartRule7, 4, 0);
    EXPECT_EQ(Out(), (Expected{0, 8, 254, 125, 0}));
}

}  // namespace
}  // namespace tintwalk
