// The somspaars row, its seven rules and the borrowed rule of bot 4. Every
// expected value below was worked out by hand from the rule's steps; each run
// also checks that the rule took exactly the draws that were staged for it.
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

TEST(SomspaarsPreset, RowValuesAndRules) {
    EXPECT_EQ(kCommunityPresets[2], &kSomspaars);
    EXPECT_STREQ(kSomspaars.name, "somspaars");
    EXPECT_EQ(kSomspaars.hueShift, 192);
    EXPECT_EQ(kSomspaars.background.red, 200);
    EXPECT_EQ(kSomspaars.background.green, 207);
    EXPECT_EQ(kSomspaars.background.blue, 202);
    const uint8_t genes[8][13] = {
        {14, 0, 13, 12, 13, 2, 0, 2, 2, 0, 38, 119, 221},
        {15, 0, 7, 11, 0, 13, 0, 0, 2, 2, 221, 27, 213},
        {14, 0, 5, 12, 3, 0, 0, 0, 0, 1, 110, 37, 193},
        {12, 0, 1, 10, 5, 5, 7, 0, 0, 2, 138, 140, 33},
        {11, 0, 10, 11, 4, 6, 0, 0, 0, 0, 30, 244, 15},
        {14, 7, 9, 13, 7, 10, 0, 0, 2, 1, 30, 111, 195},
        {11, 0, 5, 10, 13, 0, 7, 2, 1, 2, 97, 4, 38},
        {15, 5, 5, 11, 5, 5, 0, 0, 0, 0, 125, 78, 223},
    };
    const BotRule rules[8] = {SomspaarsRule0,    SomspaarsRule1, SomspaarsRule2, SomspaarsRule3,
                              PaarsebergenRule3, SomspaarsRule5, SomspaarsRule6, SomspaarsRule7};
    const int32_t primaryBase[8] = {221, 213, 110, 138, 30, 195, 4, 125};
    const int32_t secondaryBase[8] = {38, 213, 37, 33, 30, 111, 38, 125};
    for (int b = 0; b < 8; ++b) {
        for (int g = 0; g < 13; ++g)
            EXPECT_EQ(kSomspaars.genes[b].genes[g], genes[b][g]) << "bot " << b << " gene " << g;
        EXPECT_EQ(kSomspaars.rules[b], rules[b]) << "bot " << b;
        const Probe probe(kSomspaars, b);
        EXPECT_EQ(probe.bot.primaryBase, primaryBase[b]) << "bot " << b;
        EXPECT_EQ(probe.bot.secondaryBase, secondaryBase[b]) << "bot " << b;
    }
}

TEST(SomspaarsRules, Rule0ThreeDrawsAndKeep) {
    // Secondaries all at the base: h = heading. (63 & 63) = 63 adds
    // kSign2[1] = +1; the third draw 0 delivers h.
    EXPECT_EQ(Probe(kSomspaars, 0)
                  .At(0, 4)
                  .Lum(Flat(100))
                  .Hue(Flat(38))
                  .Sat(Flat(0))
                  .Run(SomspaarsRule0, 1, 63, 0),
              (Outcome{102, 5, 37, 11, 101}));
    // Farthest secondary behind (+4), +1 from the second draw, but the third
    // (31) keeps the old heading. 255 + 2 clamps to 255.
    Probe behind(kSomspaars, 0);
    behind.At(0, 4).Hue({38, 38, 38, 38, 200, 38, 38, 38, 38}).Sat(Flat(200));
    EXPECT_EQ(behind.Lum(Flat(255)).Run(SomspaarsRule0, 1, 63, 31),
              (Outcome{255, 4, 37, 179, 255}));
    // Neither test fires: heading + 4. 0 - 2 clamps to 0.
    EXPECT_EQ(behind.Lum(Flat(0)).Run(SomspaarsRule0, 0, 62, 30), (Outcome{0, 8, 37, 199, 0}));
}

TEST(SomspaarsRules, Rule1ReflectionClamp) {
    // Reflection 4 - 4 = 0: lightness 0.
    EXPECT_EQ(Probe(kSomspaars, 1)
                  .At(0, 7)
                  .Lum(Flat(4))
                  .Hue(Flat(0))
                  .Sat(Flat(255))
                  .Run(SomspaarsRule1, 7),
              (Outcome{0, 8, 54, 197, 0}));
    // Reflection (2040 - 1004) >> 2 = 259: 255.
    EXPECT_EQ(Probe(kSomspaars, 1)
                  .Lum({255, 255, 255, 255, 255, 255, 255, 255, 251})
                  .Hue(Flat(100))
                  .Sat(Flat(10))
                  .Run(SomspaarsRule1, 6),
              (Outcome{255, 0, 99, 9, 255}));
    EXPECT_EQ(Probe(kSomspaars, 1)
                  .Lum({255, 255, 255, 255, 255, 255, 255, 255, 252})
                  .Run(SomspaarsRule1, 0)
                  .state,
              254);
    EXPECT_EQ(Probe(kSomspaars, 1).Lum({0, 0, 0, 0, 0, 0, 0, 0, 255}).Run(SomspaarsRule1, 0).state,
              0);
}

TEST(SomspaarsRules, Rule2MeanLessOneWraps) {
    // Ring mean 0 - 1 wraps to 255 (w = 63); 255 and 128 lie 127 apart, so
    // the midpoint takes them as they are: 383 >> 1.
    EXPECT_EQ(Probe(kSomspaars, 2)
                  .At(0, 5)
                  .Hue({0, 0, 0, 0, 0, 0, 0, 0, 128})
                  .Sat(Flat(0))
                  .Lum(Flat(255))
                  .Run(SomspaarsRule2),
              (Outcome{255, 0, 191, 9, 238}));
    // Heading straight from (255 >> 2) & 7 = 7, whatever the current one.
    EXPECT_EQ(Probe(kSomspaars, 2)
                  .At(0, 2)
                  .Hue({100, 100, 100, 100, 100, 100, 100, 100, 0})
                  .Sat(Flat(255))
                  .Lum(Flat(0))
                  .Run(SomspaarsRule2),
              (Outcome{99, 7, 49, 233, 18}));
}

TEST(SomspaarsRules, Rule3CrossPlusOne) {
    // Cross 255 + 1 wraps to 0; heading (200 >> 4) & 7 = 4, -1 - 3.
    EXPECT_EQ(Probe(kSomspaars, 3)
                  .Hue({0, 255, 0, 255, 0, 255, 0, 255, 0})
                  .Sat(Flat(100))
                  .Lum(Flat(200))
                  .Run(SomspaarsRule3, 0),
              (Outcome{0, 0, 0, 99, 199}));
    // Cross (10 + 20 + 30 + 41) >> 2 = 25.
    EXPECT_EQ(Probe(kSomspaars, 3)
                  .Hue({0, 10, 0, 20, 0, 30, 0, 41, 0})
                  .Sat(Flat(0))
                  .Lum(Flat(0))
                  .Run(SomspaarsRule3, 3),
              (Outcome{26, -2, 26, 3, 0}));
}

TEST(SomspaarsRules, Bot4BorrowedRuleWithItsOwnBase) {
    // Centre mean 31 above the base 30: 27; 30 is not above it: 34.
    EXPECT_EQ(
        Probe(kSomspaars, 4).Hue(Flat(31)).Sat(Flat(100)).Lum(Flat(50)).Run(PaarsebergenRule3, 7),
        (Outcome{27, 4, 27, 131, 42}));
    EXPECT_EQ(Probe(kSomspaars, 4).Hue(Flat(30)).Run(PaarsebergenRule3, 0).state, 34);
}

TEST(SomspaarsRules, Rule5SpreadLimitAndBase) {
    // Spread exactly 32 takes the ring mean 1560 >> 3 = 195, not above the
    // base: 197. The largest secondary first in fan order at position 2.
    EXPECT_EQ(Probe(kSomspaars, 5)
                  .At(0, 3)
                  .Lum({179, 211, 195, 195, 195, 195, 195, 195, 0})
                  .Sat({0, 0, 50, 0, 0, 0, 50, 0, 255})
                  .Hue(Flat(0))
                  .Run(SomspaarsRule5, 0),
              (Outcome{197, 4, 1, 246, 98}));
    // Mean 196 is above: 194. All secondaries 0: position 0.
    EXPECT_EQ(Probe(kSomspaars, 5)
                  .At(0, 7)
                  .Lum({196, 196, 196, 196, 196, 196, 196, 196, 0})
                  .Sat(Flat(0))
                  .Hue(Flat(0))
                  .Run(SomspaarsRule5, 15),
              (Outcome{194, 8, 1, 6, 97}));
    // Spread 33 takes the centre 50: 52.
    EXPECT_EQ(Probe(kSomspaars, 5)
                  .At(0, 0)
                  .Lum({179, 212, 195, 195, 195, 195, 195, 195, 50})
                  .Sat(Flat(0))
                  .Hue(Flat(0))
                  .Run(SomspaarsRule5, 1),
              (Outcome{52, -1, 5, 21, 51}));
}

TEST(SomspaarsRules, Rule6TurnBackAndKeep) {
    // Centre mean 0 - 1 clamps to 0; nothing differs from 38: heading - 3.
    EXPECT_EQ(Probe(kSomspaars, 6)
                  .At(0, 1)
                  .Sat(Flat(0))
                  .Lum(Flat(38))
                  .Hue(Flat(200))
                  .Run(SomspaarsRule6, 0),
              (Outcome{0, -2, 199, 0, 37}));
    // Position 7 differs most: heading + 7 - 3, unless the draw is 31.
    Probe turned(kSomspaars, 6);
    turned.At(0, 2)
        .Sat({0, 200, 0, 200, 0, 200, 0, 200, 200})
        .Lum({38, 38, 38, 38, 38, 38, 38, 0, 255})
        .Hue(Flat(0));
    EXPECT_EQ(turned.Run(SomspaarsRule6, 30), (Outcome{199, 6, 18, 199, 212}));
    EXPECT_EQ(turned.Run(SomspaarsRule6, 31).heading, 2);
}

TEST(SomspaarsRules, Rule7SpreadLimitAndWrap) {
    // Spread 31 takes the centre 60: 59; heading (60 >> 4) & 7 = 3, -1.
    EXPECT_EQ(Probe(kSomspaars, 7)
                  .Hue({100, 131, 100, 100, 100, 100, 100, 100, 60})
                  .Sat(Flat(0))
                  .Lum(Flat(255))
                  .Run(SomspaarsRule7, 0),
              (Outcome{59, 2, 59, 14, 247}));
    // Spread 32 keeps the reflection (832 - 240) >> 2 = 148: 147.
    EXPECT_EQ(Probe(kSomspaars, 7)
                  .Hue({100, 132, 100, 100, 100, 100, 100, 100, 60})
                  .Sat(Flat(0))
                  .Lum(Flat(255))
                  .Run(SomspaarsRule7, 3),
              (Outcome{147, 4, 147, 8, 250}));
    // Reflection (32 - 72) >> 2 = -10 gives 245; reflection 0 gives 255.
    EXPECT_EQ(Probe(kSomspaars, 7)
                  .Hue({32, 0, 0, 0, 0, 0, 0, 0, 18})
                  .Sat(Flat(0))
                  .Lum(Flat(0))
                  .Run(SomspaarsRule7, 1),
              (Outcome{245, 1, 245, 0, 1}));
    EXPECT_EQ(Probe(kSomspaars, 7).Hue({32, 0, 0, 0, 0, 0, 0, 0, 8}).Run(SomspaarsRule7, 1).state,
              255);
}

}  // namespace
}  // namespace tintwalk
