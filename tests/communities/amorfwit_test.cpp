// The amorfwit row and its eight rules. Every expected value below was worked
// out by hand from the rule's steps; each run also checks that the rule took
// exactly the draws that were staged for it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <ostream>

#include "communities/community.h"
#include "communities/rules.h"
#include "support/scripted_draws.h"

namespace tintwalk {
namespace {

using Nine = std::array<uint8_t, 9>;

Nine Flat(uint8_t v) {
    Nine n;
    n.fill(v);
    return n;
}

struct Outcome {
    int32_t state;
    int32_t heading;
    int32_t hue;
    int32_t saturation;
    int32_t lightness;
    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Outcome& o) {
    return os << "state " << o.state << ", heading " << o.heading << ", colour (" << o.hue << ", "
              << o.saturation << ", " << o.lightness << ")";
}

// A bot of the preset with its channels and bases chosen by its genes, as
// the world's reset does; the cell is the centre of the three arrays.
class Probe {
  public:
    Probe(const CommunityPreset& preset, int index) {
        const uint8_t* g = preset.genes[index].genes;
        bot.baseColour = {g[10], g[11], g[12]};
        bot.primary = Channel(g[8]);
        bot.primaryBase = g[10 + std::min<int>(g[8], 2)];
        bot.secondary = Channel(g[9]);
        bot.secondaryBase = g[10 + std::min<int>(g[9], 2)];
    }
    Probe& At(int32_t state, int32_t heading) {
        bot.state = state;
        bot.heading = heading;
        return *this;
    }
    Probe& Hue(const Nine& v) { return Fill(bot.hue, v); }
    Probe& Sat(const Nine& v) { return Fill(bot.sat, v); }
    Probe& Lum(const Nine& v) { return Fill(bot.lum, v); }

    // Runs the rule on exactly these draws.
    template <typename... Draws>
    Outcome Run(BotRule rule, Draws... draws) {
        constexpr uint32_t kAfter = 0x2468ace;
        cell_[0] = bot.hue[8];
        cell_[1] = bot.sat[8];
        cell_[2] = bot.lum[8];
        bot.cell = cell_;
        testing::ScriptDraws({static_cast<uint32_t>(draws)..., kAfter});
        int32_t state = -7;
        int32_t heading = -7;
        HslPixel colour = {7, 7, 7};
        rule(bot, state, heading, colour);
        EXPECT_EQ(randomGenerator.Next(), static_cast<int32_t>(kAfter)) << "draws taken";
        return {state, heading, colour.hue, colour.saturation, colour.lightness};
    }

    Bot bot;

  private:
    const uint8_t* Channel(uint8_t gene) {
        return gene == 0 ? bot.hue : gene == 1 ? bot.sat : bot.lum;
    }
    Probe& Fill(uint8_t* a, const Nine& v) {
        std::copy(v.begin(), v.end(), a);
        return *this;
    }
    uint8_t cell_[3] = {};
};

TEST(AmorfwitPreset, RowValuesAndRules) {
    EXPECT_EQ(kCommunityPresets[0], &kAmorfwit);
    EXPECT_STREQ(kAmorfwit.name, "amorfwit");
    EXPECT_EQ(kAmorfwit.hueShift, 128);
    EXPECT_EQ(kAmorfwit.background.red, 201);
    EXPECT_EQ(kAmorfwit.background.green, 202);
    EXPECT_EQ(kAmorfwit.background.blue, 196);
    const uint8_t genes[8][13] = {
        {13, 3, 0, 10, 0, 7, 1, 1, 2, 0, 224, 4, 169},
        {14, 6, 0, 1, 21, 9, 1, 0, 2, 2, 146, 232, 253},
        {31, 1, 7, 10, 1, 10, 4, 2, 1, 0, 93, 98, 41},
        {26, 1, 7, 10, 1, 10, 4, 2, 1, 0, 98, 91, 23},
        {11, 1, 13, 3, 15, 6, 8, 3, 0, 1, 3, 198, 243},
        {12, 0, 9, 1, 20, 10, 1, 0, 1, 1, 219, 193, 250},
        {13, 5, 9, 12, 19, 11, 1, 0, 1, 0, 111, 167, 32},
        {12, 7, 4, 2, 5, 13, 6, 2, 2, 2, 156, 135, 229},
    };
    const BotRule rules[8] = {AmorfwitRule0, AmorfwitRule1, AmorfwitRule2, AmorfwitRule3,
                              AmorfwitRule4, AmorfwitRule5, AmorfwitRule6, AmorfwitRule7};
    const int32_t primaryBase[8] = {169, 253, 98, 91, 3, 193, 167, 229};
    for (int b = 0; b < 8; ++b) {
        for (int g = 0; g < 13; ++g)
            EXPECT_EQ(kAmorfwit.genes[b].genes[g], genes[b][g]) << "bot " << b << " gene " << g;
        EXPECT_EQ(kAmorfwit.rules[b], rules[b]) << "bot " << b;
        EXPECT_EQ(Probe(kAmorfwit, b).bot.primaryBase, primaryBase[b]) << "bot " << b;
    }
}

TEST(AmorfwitRules, Rule0NineMeanAgainstBase) {
    // Mean 377 / 9 = 41 lies exactly 128 below the base 169: kept. The jitter
    // draw (+1) comes before the keep draw (2 & 3 is not 3).
    EXPECT_EQ(Probe(kAmorfwit, 0)
                  .At(0, 3)
                  .Lum({47, 47, 47, 47, 47, 47, 47, 48, 0})
                  .Hue(Flat(100))
                  .Sat(Flat(50))
                  .Run(AmorfwitRule0, 15, 2),
              (Outcome{41, 5, 104, 48, 41}));
    // Mean 360 / 9 = 40 is 129 below: the centre 8 is taken. A keep draw
    // (7 & 3 = 3) holds the heading although the jitter was drawn.
    EXPECT_EQ(Probe(kAmorfwit, 0)
                  .At(0, 6)
                  .Lum({44, 44, 44, 44, 44, 44, 44, 44, 8})
                  .Hue(Flat(100))
                  .Sat(Flat(50))
                  .Run(AmorfwitRule0, 15, 7),
              (Outcome{8, 6, 100, 49, 8}));
}

TEST(AmorfwitRules, Rule1SpreadLimitAndSides) {
    // Spread exactly 224: the ring mean 304 >> 3 = 38; left side heavier.
    EXPECT_EQ(Probe(kAmorfwit, 1)
                  .At(0, 2)
                  .Lum({10, 234, 10, 10, 10, 10, 10, 10, 200})
                  .Hue(Flat(77))
                  .Sat(Flat(88))
                  .Run(AmorfwitRule1, 6),
              (Outcome{38, 5, 77, 88, 38}));
    // Spread 225 takes the centre; equal sides turn -1, the table -1, then +1.
    EXPECT_EQ(Probe(kAmorfwit, 1)
                  .At(0, 0)
                  .Lum({235, 10, 10, 10, 10, 10, 10, 10, 200})
                  .Hue(Flat(77))
                  .Sat(Flat(88))
                  .Run(AmorfwitRule1, 0),
              (Outcome{200, -1, 77, 88, 200}));
}

TEST(AmorfwitRules, Rule2StateHoldAndClamp) {
    // State equal to the base is kept: 98 - 4; heading from 45 & 7 = 5, +1 + 4.
    EXPECT_EQ(Probe(kAmorfwit, 2)
                  .At(98, 1)
                  .Sat(Flat(10))
                  .Hue(Flat(45))
                  .Lum(Flat(200))
                  .Run(AmorfwitRule2, 15, 0),
              (Outcome{94, 10, 49, 94, 184}));
    // Below the base the centre 3 is taken and clamps to 0: weight 0 blends.
    EXPECT_EQ(Probe(kAmorfwit, 2)
                  .At(97, 6)
                  .Sat(Flat(3))
                  .Hue(Flat(200))
                  .Lum(Flat(100))
                  .Run(AmorfwitRule2, 1, 31),
              (Outcome{0, 6, 199, 0, 99}));
}

TEST(AmorfwitRules, Rule3FarthestRingValue) {
    Probe flat(kAmorfwit, 3);
    flat.At(150, 0).Sat(Flat(120)).Hue(Flat(16)).Lum(Flat(60));
    EXPECT_EQ(flat.Run(AmorfwitRule3, 2, 30), (Outcome{146, 4, 27, 146, 54}));
    // p[1] and p[7] tie at 100 from the centre: the first in index order wins.
    EXPECT_EQ(Probe(kAmorfwit, 3)
                  .At(5, 0)
                  .Sat({100, 200, 100, 100, 100, 100, 100, 0, 100})
                  .Hue(Flat(255))
                  .Lum(Flat(255))
                  .Run(AmorfwitRule3, 0, 0),
              (Outcome{196, 10, 223, 196, 209}));
    // p[2] and p[7] tie: index order takes p[2] (fan order would take p[7]).
    EXPECT_EQ(Probe(kAmorfwit, 3)
                  .At(5, 0)
                  .Sat({100, 100, 160, 100, 100, 100, 100, 40, 100})
                  .Run(AmorfwitRule3, 0, 0)
                  .state,
              156);
    // A farthest value below the base falls back to the centre.
    EXPECT_EQ(Probe(kAmorfwit, 3)
                  .At(5, 0)
                  .Sat({20, 100, 100, 100, 100, 100, 100, 100, 100})
                  .Run(AmorfwitRule3, 0, 0)
                  .state,
              96);
}

TEST(AmorfwitRules, Rule4WrapAndHeadingMix) {
    // Centre mean 0 below base 3 takes the centre; -2 wraps to 254.
    EXPECT_EQ(Probe(kAmorfwit, 4)
                  .At(0, 1)
                  .Hue(Flat(0))
                  .Sat({10, 20, 30, 40, 50, 60, 70, 80, 90})
                  .Lum(Flat(130))
                  .Run(AmorfwitRule4, 0, 7),
              (Outcome{254, 5, 0, 90, 130}));
    // 255 + 2 wraps to 1; hue 255 moves a quarter of the way to 1.
    EXPECT_EQ(Probe(kAmorfwit, 4)
                  .At(0, 0)
                  .Hue(Flat(255))
                  .Sat(Flat(50))
                  .Lum(Flat(77))
                  .Run(AmorfwitRule4, 1, 0),
              (Outcome{1, -3, 0, 50, 77}));
    // Centre mean 2 is below the base (centre 0 taken); 3 equals it and is kept.
    EXPECT_EQ(Probe(kAmorfwit, 4)
                  .At(0, 4)
                  .Hue({0, 4, 0, 4, 0, 4, 0, 4, 0})
                  .Sat(Flat(50))
                  .Lum(Flat(77))
                  .Run(AmorfwitRule4, 1, 3),
              (Outcome{2, 2, 1, 50, 77}));
    EXPECT_EQ(Probe(kAmorfwit, 4)
                  .At(0, 4)
                  .Hue({0, 6, 0, 6, 0, 6, 0, 6, 0})
                  .Sat(Flat(50))
                  .Lum(Flat(77))
                  .Run(AmorfwitRule4, 1, 3),
              (Outcome{5, 2, 2, 50, 77}));
}

TEST(AmorfwitRules, Rule5CrossAgainstBase) {
    // Cross 193 is not above the base: +2. Left side lighter: +1.
    EXPECT_EQ(Probe(kAmorfwit, 5)
                  .At(0, 7)
                  .Sat({0, 193, 10, 193, 0, 193, 20, 193, 60})
                  .Hue(Flat(5))
                  .Lum(Flat(70))
                  .Run(AmorfwitRule5, 0),
              (Outcome{195, 8, 5, 195, 70}));
    // Cross 194 is above: -2. Equal sides turn -1.
    EXPECT_EQ(Probe(kAmorfwit, 5)
                  .At(0, 3)
                  .Sat({0, 194, 0, 194, 0, 194, 0, 194, 60})
                  .Hue(Flat(5))
                  .Lum(Flat(70))
                  .Run(AmorfwitRule5, 2),
              (Outcome{192, 3, 5, 192, 70}));
}

TEST(AmorfwitRules, Rule6SpreadLimit) {
    // Spread 31 takes the centre 170, above the base: 168.
    EXPECT_EQ(Probe(kAmorfwit, 6)
                  .Sat({100, 131, 100, 100, 100, 100, 100, 100, 170})
                  .Hue({0, 20, 0, 0, 0, 0, 0, 0, 0})
                  .Lum(Flat(255))
                  .Run(AmorfwitRule6, 14),
              (Outcome{168, 4, 18, 169, 217}));
    // Spread 32 takes the nine-entry mean 1002 / 9 = 111: 113. Secondary
    // spread 255 gives (127 & 7) = 7.
    EXPECT_EQ(Probe(kAmorfwit, 6)
                  .Sat({100, 132, 100, 100, 100, 100, 100, 100, 170})
                  .Hue({255, 0, 0, 0, 0, 0, 0, 0, 0})
                  .Lum(Flat(255))
                  .Run(AmorfwitRule6, 15),
              (Outcome{113, 9, 12, 141, 229}));
}

TEST(AmorfwitRules, Rule7SpreadLimitAndKeep) {
    // Spread exactly 32 takes Cross 250; 250 + 8 clamps to 255.
    EXPECT_EQ(Probe(kAmorfwit, 7)
                  .At(0, 5)
                  .Lum({250, 250, 218, 250, 250, 250, 250, 250, 40})
                  .Hue(Flat(11))
                  .Sat(Flat(22))
                  .Run(AmorfwitRule7, 7, 0),
              (Outcome{255, 1, 11, 22, 147}));
    // Spread 33 takes the centre 200; heading from (200 >> 4) & 7 = 4, - 2.
    Probe rough(kAmorfwit, 7);
    rough.At(0, 5).Lum({250, 250, 217, 250, 250, 250, 250, 250, 200}).Hue(Flat(11)).Sat(Flat(22));
    EXPECT_EQ(rough.Run(AmorfwitRule7, 0, 30), (Outcome{208, 2, 11, 22, 204}));
    EXPECT_EQ(rough.Run(AmorfwitRule7, 0, 31).heading, 5);
}

}  // namespace
}  // namespace tintwalk
