// Preset row and behaviour rules of the community "zwavelgrot". Every
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

TEST(ZwavelgrotPreset, RowMatchesTheCommunity) {
    const CommunityPreset& row = kZwavelgrot;
    EXPECT_STREQ(row.name, "zwavelgrot");
    EXPECT_EQ(row.hueShift, 224);
    EXPECT_EQ(row.background.red, 197);
    EXPECT_EQ(row.background.green, 206);
    EXPECT_EQ(row.background.blue, 202);
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
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(0, std::memcmp(row.genes[i].genes, genes[i], 13));
        EXPECT_EQ(row.rules[i], rules[i]);
    }
}

// A bot of the preset with its channels and bases as a reset derives them
// from its genes; the test fills the neighbourhood and runs a rule on it.
class ZwavelgrotRules : public ::testing::Test {
  protected:
    static constexpr uint32_t kAfterRule = 1234567;

    void UseBot(int row, int32_t state, int32_t heading) {
        const uint8_t* g = kZwavelgrot.genes[row].genes;
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

TEST_F(ZwavelgrotRules, Rule0WorksFromTheCentreOnACalmRing) {
    UseBot(0, 0, 3);  // base (126, 181, 251)
    Fill(bot.lum, {240, 240, 240, 240, 240, 240, 240, 240}, 254);
    Fill(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 100);
    Fill(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 50);
    // 254 + 2 clamped; w = 255; heading = bits 3..5 of 254 = 7, draw & 15 = 15 adds 1.
    Run(ZwavelgrotRule0, 31);
    EXPECT_EQ(Out(), (Expected{255, 8, 99, 49, 255}));
}

TEST_F(ZwavelgrotRules, Rule0PicksTheFarthestRingValue) {
    UseBot(0, 0, 3);
    Fill(bot.lum, {0, 255, 255, 0, 0, 0, 0, 0}, 100);
    Fill(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 200);
    Flat(bot.sat, 0);
    // Entry 0 lies 251 from the base: state 2, w = 192; heading (100 >> 3) & 7 = 4.
    Run(ZwavelgrotRule0, 0);
    EXPECT_EQ(Out(), (Expected{2, 4, 181, 44, 2}));
}

TEST_F(ZwavelgrotRules, Rule0SpreadOf32PicksAndTiesGoToTheEarlierEntry) {
    UseBot(1, 0, 5);  // base (139, 200, 228)
    // Spread exactly 32; entries 1, 2, 6 and 7 lie 16 from 228, entry 1 wins.
    Fill(bot.lum, {228, 212, 244, 230, 226, 228, 212, 244}, 64);
    Fill(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 0);
    Fill(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 255);
    Run(ZwavelgrotRule0, 14);
    EXPECT_EQ(Out(), (Expected{214, 0, 5, 251, 214}));
}

TEST_F(ZwavelgrotRules, Rule2ReversesOnAFlatSecondary) {
    UseBot(2, 0, 3);  // hue / sat, base (249, 88, 216)
    Fill(bot.hue, {10, 20, 30, 40, 50, 60, 70, 80}, 5);
    Flat(bot.sat, 90);
    Fill(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 16);
    Run(ZwavelgrotRule2);
    EXPECT_EQ(Out(), (Expected{50, 7, 50, 89, 55}));
}

TEST_F(ZwavelgrotRules, Rule2WideRingTakesTheCentreAndFanTieGoesTo7) {
    UseBot(2, 0, 6);
    Fill(bot.hue, {0, 225, 0, 0, 0, 0, 0, 0}, 200);
    Fill(bot.sat, {10, 10, 99, 10, 10, 10, 10, 99}, 10);
    Fill(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 255);
    // 6 + 7 + 4; w = 242.
    Run(ZwavelgrotRule2);
    EXPECT_EQ(Out(), (Expected{200, 17, 200, 13, 252}));
}

TEST_F(ZwavelgrotRules, Rule3HeadsByBitsOfTheSecondaryCentre) {
    UseBot(3, 0, 5);  // lum / hue, base (10, 41, 240)
    Flat(bot.lum, 255);
    Fill(bot.hue, {9, 9, 9, 9, 9, 9, 9, 9}, 0);
    Fill(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 100);
    // 1275 / 7 = 182, below the base: 184; w = 238; old heading ignored.
    Run(ZwavelgrotRule3);
    EXPECT_EQ(Out(), (Expected{184, 0, 0, 95, 184}));

    Fill(bot.lum, {0, 250, 0, 0, 0, 0, 0, 0}, 250);
    Fill(bot.hue, {9, 9, 9, 9, 9, 9, 9, 9}, 255);
    Fill(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 0);
    // Spread 250: the centre 250, above the base: 248; w = 254.
    Run(ZwavelgrotRule3);
    EXPECT_EQ(Out(), (Expected{248, 7, 253, 0, 248}));
}

TEST_F(ZwavelgrotRules, Rule4StepsUpFromTheBaseAndTurnsByMinusOneOnEqualSides) {
    UseBot(4, 0, 0);  // lum / lum, base (194, 97, 212)
    Flat(bot.lum, 212);
    Fill(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 0);
    Fill(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 255);
    // Reflection 212 equals the base: 220; e = 55.
    Run(ZwavelgrotRule4, 2);
    EXPECT_EQ(Out(), (Expected{220, -1, 41, 220, 216}));
    Run(ZwavelgrotRule4, 7);  // low bits 3: keeps the heading
    EXPECT_EQ(Out(), (Expected{220, 0, 41, 220, 216}));
}

TEST_F(ZwavelgrotRules, Rule4TurnsTowardsTheWiderLeftSide) {
    UseBot(4, 0, 7);
    Fill(bot.lum, {212, 100, 200, 150, 212, 212, 212, 212}, 100);
    Flat(bot.hue, 0);
    Flat(bot.sat, 0);
    // Reflection (1510 - 400) >> 2 = 277, less 8, clamped; SL 100 > SR 0.
    Run(ZwavelgrotRule4, 0);
    EXPECT_EQ(Out(), (Expected{255, 8, 47, 23, 177}));
}

TEST_F(ZwavelgrotRules, Rule5ReversesOrTurnsByFiveWhateverTheDraw) {
    UseBot(5, 0, 2);  // hue / hue
    Flat(bot.hue, 100);
    Fill(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 33);
    Fill(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 44);
    for (uint32_t r : {0u, 63u}) {
        Run(ZwavelgrotRule5, r);
        EXPECT_EQ(Out(), (Expected{101, 6, 101, 33, 44}));
    }
    // SL 0 < SR 50, spread 50 > 32: the centre 255 wraps to 0.
    UseBot(5, 0, 7);
    Fill(bot.hue, {0, 10, 10, 10, 0, 0, 50, 0}, 255);
    for (uint32_t r : {62u, 63u}) {
        Run(ZwavelgrotRule5, r);
        EXPECT_EQ(Out(), (Expected{0, 12, 0, 33, 44}));
    }
}

TEST_F(ZwavelgrotRules, Rule6ReplacesAFarStateByTheCentre) {
    UseBot(6, 0, 1);  // lum / lum, base (113, 105, 185)
    Flat(bot.lum, 255);
    Fill(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 20);
    Fill(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 105);
    // min(255, 0) = 0 lies 185 away: 255 - 16; w = 251; t = 7.
    Run(ZwavelgrotRule6, 0);
    EXPECT_EQ(Out(), (Expected{239, 6, 21, 104, 239}));
    Run(ZwavelgrotRule6, 3);
    EXPECT_EQ(newHeading, 7);
    Run(ZwavelgrotRule6, 7);
    EXPECT_EQ(newHeading, 8);
}

TEST_F(ZwavelgrotRules, Rule6KeepsAStateExactly128Away) {
    UseBot(6, 57, 4);
    Fill(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 60);
    Fill(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 0);
    Fill(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 255);
    // min(60, 57) = 57, 128 from 185: kept, plus 16; w = 210; t = (60 >> 4) & 7.
    Run(ZwavelgrotRule6, 1);
    EXPECT_EQ(Out(), (Expected{73, 3, 19, 227, 73}));
}

TEST_F(ZwavelgrotRules, Rule7ClampsAtBothEnds) {
    UseBot(7, 0, 0);  // lum primary, base (131, 4, 73)
    Fill(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 200);
    Fill(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 255);
    Fill(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 4);
    // -2 clamped to 0, w = 192; drift table entry 0 is -1.
    Run(ZwavelgrotRule7, 0);
    EXPECT_EQ(Out(), (Expected{0, -1, 223, 3, 100}));

    UseBot(7, 0, 6);
    Fill(bot.lum, {0, 255, 0, 255, 0, 255, 0, 255}, 255);
    Fill(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 131);
    Fill(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 0);
    // 255 - 2, w = 255; entries 14 and 15 of the drift table are +1.
    Run(ZwavelgrotRule7, 14);
    EXPECT_EQ(Out(), (Expected{253, 7, 130, 0, 254}));
    Run(ZwavelgrotRule7, 13);
    EXPECT_EQ(newHeading, 6);
}

}  // namespace
}  // namespace tintwalk
