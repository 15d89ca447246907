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

class FelTest : public ::testing::Test {
  protected:
    // Sets the bot up as loading the row does: base colour, channels and
    // bases from bot `index`'s genes. The arrays are filled by each case.
    void Load(int index) {
        const uint8_t* g = kFel.genes[index].genes;
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
            default:
                testing::ScriptDraws({d[0], d[1], kMarker});
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

TEST(FelPreset, RowMatchesTheCommunity) {
    EXPECT_STREQ(kFel.name, "fel");
    EXPECT_EQ(kFel.hueShift, 143);
    EXPECT_EQ(kFel.background.red, 198);
    EXPECT_EQ(kFel.background.green, 204);
    EXPECT_EQ(kFel.background.blue, 199);

    const uint8_t genes[8][13] = {
        {5, 0, 10, 2, 11, 0, 6, 0, 2, 0, 205, 87, 243},
        {13, 0, 0, 12, 0, 15, 0, 2, 0, 1, 174, 247, 91},
        {32, 5, 9, 11, 0, 0, 2, 0, 2, 1, 232, 15, 84},
        {15, 4, 3, 11, 4, 0, 6, 0, 0, 0, 150, 40, 154},
        {32, 5, 9, 11, 0, 0, 2, 0, 2, 1, 243, 30, 57},
        {15, 4, 3, 11, 4, 0, 6, 0, 0, 0, 149, 17, 192},
        {5, 0, 10, 2, 11, 0, 6, 0, 2, 0, 195, 66, 224},
        {13, 0, 0, 12, 0, 15, 0, 2, 0, 1, 187, 227, 78},
    };
    for (int bot = 0; bot < 8; ++bot) {
        for (int g = 0; g < 13; ++g)
            EXPECT_EQ(kFel.genes[bot].genes[g], genes[bot][g]) << "bot " << bot << " gene " << g;
    }

    // Pairs share their rule: 0 and 6, 1 and 7, 2 and 4, 3 and 5.
    const BotRule rules[8] = {FelRule0, FelRule1, FelRule2, FelRule3,
                              FelRule2, FelRule3, FelRule0, FelRule1};
    for (int bot = 0; bot < 8; ++bot)
        EXPECT_EQ(kFel.rules[bot], rules[bot]) << "bot " << bot;
}

TEST_F(FelTest, Rule0StepsTheCentreTowardsTheBase) {
    Load(0);  // primary lum, secondary hue, base (205, 87, 243)
    Flat(bot.hue, 40);
    Flat(bot.sat, 77);
    bot.heading = 3;

    Flat(bot.lum, 255);  // above the base 243: down by four
    Run(FelRule0);
    Expect(251, 1, 40, 77, 253);

    Flat(bot.lum, 0);  // below: up by four
    Run(FelRule0);
    Expect(4, 1, 40, 77, 2);

    Flat(bot.lum, 243);  // equal to the base also goes up
    Run(FelRule0);
    Expect(247, 1, 40, 77, 245);
}

TEST_F(FelTest, Rule0TurnsByTheFirstMatchingNeighbourInFanOrder) {
    Load(6);  // primary lum, secondary hue, base (195, 66, 224)
    Flat(bot.lum, 100);
    Flat(bot.sat, 10);
    bot.heading = 0;

    // Positions 0 and 1 lie 16 away (not close enough); 7 lies 15 away and
    // comes before 2 in fan order.
    Set(bot.hue, {116, 84, 100, 0, 100, 0, 0, 115}, 100);
    Run(FelRule0);
    Expect(104, 5, 100, 10, 102);

    // Only straight behind matches, and it is never looked at: -6.
    Set(bot.hue, {0, 0, 0, 0, 100, 0, 0, 0}, 100);
    bot.heading = 5;
    Run(FelRule0);
    Expect(104, -1, 100, 10, 102);
}

TEST_F(FelTest, Rule1FollowsTheMeanOfAllNine) {
    Load(1);  // primary hue, secondary sat, base (174, 247, 91)
    Flat(bot.hue, 255);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 100);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 200);
    bot.heading = 6;

    // All 255: state 255, e = 63.
    Run(FelRule1, {14, 0});
    Expect(255, 6, 255, 135, 172);

    // Mean (80 + 250) / 9 = 36; the midpoint with hue 250 goes round 0.
    Set(bot.hue, {10, 10, 10, 10, 10, 10, 10, 10}, 250);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 50);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 120);
    Run(FelRule1, {0, 0});
    Expect(36, 6, 15, 56, 118);
}

TEST_F(FelTest, Rule1NudgesWithTheFirstDrawAndMayDropItWithTheSecond) {
    Load(7);
    Flat(bot.hue, 0);
    Flat(bot.sat, 0);
    Flat(bot.lum, 0);
    bot.heading = 6;

    Run(FelRule1, {15, 32});  // nudge +1, kept
    EXPECT_EQ(newHeading, 7);
    Run(FelRule1, {15, 31});  // nudge +1, dropped
    EXPECT_EQ(newHeading, 6);
    Run(FelRule1, {31, 15});  // the same draws the other way round
    EXPECT_EQ(newHeading, 7);
}

TEST_F(FelTest, Rule2WorksFromTheCentreOnACalmRing) {
    Load(2);  // primary lum, secondary sat, base (232, 15, 84)
    Set(bot.lum, {20, 20, 20, 20, 20, 20, 20, 20}, 0);
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 100);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 200);
    bot.heading = 7;
    Run(FelRule2);
    Expect(2, 9, 132, 153, 2);
}

TEST_F(FelTest, Rule2PicksTheFirstRingValueNearestTheMean) {
    Load(2);
    // Mean 822 >> 3 = 102; 100 (position 0) and 104 (position 5) tie at 2.
    Set(bot.lum, {100, 140, 60, 130, 90, 104, 118, 80}, 30);
    // The hue is a plain byte mix: 10 and 232 give 43, not a value near 0.
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 10);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 15);
    bot.heading = 0;
    Run(FelRule2);
    Expect(98, 2, 43, 14, 98);
}

TEST_F(FelTest, Rule2WalksASquareOfFourCells) {
    // Moves as the step makes them: heading = newHeading & 7, then one cell.
    Load(4);
    Flat(bot.hue, 0);
    Flat(bot.sat, 0);
    Flat(bot.lum, 0);
    const auto walk = [&](int32_t heading, const int32_t(&expected)[4][2]) {
        int32_t x = 2;
        int32_t y = 2;
        bot.heading = heading;
        for (const auto& at : expected) {
            Run(FelRule2);
            bot.heading = newHeading & 7;
            x += kDirectionOffsets[bot.heading].dx;
            y += kDirectionOffsets[bot.heading].dy;
            EXPECT_EQ(x, at[0]);
            EXPECT_EQ(y, at[1]);
        }
    };
    walk(0, {{3, 1}, {4, 2}, {3, 3}, {2, 2}});  // diagonals round one cell
    walk(1, {{3, 2}, {3, 3}, {2, 3}, {2, 2}});  // a 2 x 2 block
}

TEST_F(FelTest, Rule3ReflectsTheCentreOnlyNearTheBase) {
    Load(3);  // primary and secondary hue, base (150, 40, 154)
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 80);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 154);
    bot.heading = 1;

    // Reflection -255 is far from 150: the centre 255 plus 4 wraps to 3;
    // bits 3..5 of 255 give 7, less 2.
    Set(bot.hue, {0, 0, 0, 0, 0, 0, 0, 0}, 255);
    Run(FelRule3);
    Expect(3, 5, 3, 69, 153);

    // Centre 0: state 4, direction 0 - 2.
    Flat(bot.hue, 0);
    Run(FelRule3);
    EXPECT_EQ(newState, 4);
    EXPECT_EQ(newHeading, -2);

    // Reflection 2 * 166 - 150 = 182 lies exactly 32 from the base: kept.
    Set(bot.hue, {166, 166, 166, 166, 166, 166, 166, 166}, 150);
    Set(bot.sat, {0, 0, 0, 0, 0, 0, 0, 0}, 200);
    Set(bot.lum, {0, 0, 0, 0, 0, 0, 0, 0}, 10);
    Run(FelRule3);
    Expect(186, 0, 186, 188, 19);

    // 2 * 166 - 149 = 183 lies 33 away: the centre 149 is used.
    bot.hue[8] = 149;
    Run(FelRule3);
    EXPECT_EQ(newState, 153);
}

}  // namespace
}  // namespace tintwalk
