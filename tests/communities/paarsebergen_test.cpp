// The paarsebergen row and its seven rules (bots 0 and 1 share one). Every
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

TEST(PaarsebergenPreset, RowValuesAndRules) {
    EXPECT_EQ(kCommunityPresets[1], &kPaarsebergen);
    EXPECT_STREQ(kPaarsebergen.name, "paarsebergen");
    EXPECT_EQ(kPaarsebergen.hueShift, 192);
    EXPECT_EQ(kPaarsebergen.background.red, 198);
    EXPECT_EQ(kPaarsebergen.background.green, 200);
    EXPECT_EQ(kPaarsebergen.background.blue, 203);
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
    const int32_t primaryBase[8] = {8, 19, 177, 40, 102, 88, 70, 8};
    const int32_t secondaryBase[8] = {8, 19, 34, 40, 158, 8, 253, 106};
    for (int b = 0; b < 8; ++b) {
        for (int g = 0; g < 13; ++g)
            EXPECT_EQ(kPaarsebergen.genes[b].genes[g], genes[b][g]) << "bot " << b << " gene " << g;
        EXPECT_EQ(kPaarsebergen.rules[b], rules[b]) << "bot " << b;
        const Probe probe(kPaarsebergen, b);
        EXPECT_EQ(probe.bot.primaryBase, primaryBase[b]) << "bot " << b;
        EXPECT_EQ(probe.bot.secondaryBase, secondaryBase[b]) << "bot " << b;
    }
}

TEST(PaarsebergenRules, Rule0CrossWrap) {
    // Cross 255 + 2 wraps to 1; heading (255 >> 2) & 7 = 7, -1 + 3.
    EXPECT_EQ(Probe(kPaarsebergen, 0)
                  .Hue(Flat(255))
                  .Sat(Flat(100))
                  .Lum(Flat(200))
                  .Run(PaarsebergenRule0, 3, 0),
              (Outcome{1, 9, 1, 99, 199}));
    // Bot 1 shares the rule with its own base colour. Cross 7 >> 2 = 1, - 2
    // wraps to 255; heading (12 >> 2) & 7 = 3, +1 + 3.
    EXPECT_EQ(Probe(kPaarsebergen, 1)
                  .Hue({0, 1, 0, 2, 0, 2, 0, 2, 12})
                  .Sat(Flat(0))
                  .Lum(Flat(255))
                  .Run(PaarsebergenRule0, 0, 15),
              (Outcome{255, 7, 255, 32, 215}));
}

TEST(PaarsebergenRules, Rule2SeventhsAndFlatness) {
    // 1275 / 7 = 182 is above the base 177: 178. All nine secondaries equal: +3.
    EXPECT_EQ(Probe(kPaarsebergen, 2)
                  .At(0, 6)
                  .Lum(Flat(255))
                  .Sat(Flat(90))
                  .Hue(Flat(0))
                  .Run(PaarsebergenRule2),
              (Outcome{178, 9, 31, 80, 216}));
    // 1239 / 7 = 177 is not above the base: 181. The centre below the ring's
    // largest value: +5.
    EXPECT_EQ(Probe(kPaarsebergen, 2)
                  .At(0, 0)
                  .Lum({0, 246, 0, 246, 0, 246, 0, 246, 255})
                  .Sat({90, 90, 90, 90, 90, 90, 90, 91, 90})
                  .Hue(Flat(0))
                  .Run(PaarsebergenRule2),
              (Outcome{181, 5, 31, 79, 218}));
    // Only the centre differs from a flat ring (above its smallest): +5.
    EXPECT_EQ(Probe(kPaarsebergen, 2)
                  .At(0, 7)
                  .Lum(Flat(0))
                  .Sat({90, 90, 90, 90, 90, 90, 90, 90, 91})
                  .Hue(Flat(0))
                  .Run(PaarsebergenRule2),
              (Outcome{4, 12, 0, 90, 2}));
}

TEST(PaarsebergenRules, Rule3CentreMeanAgainstBase) {
    // The even ring positions do not count: (4 * 80) >> 3 = 40, not above the
    // base, gives 44; heading (80 >> 3) & 7 = 2, +1.
    EXPECT_EQ(Probe(kPaarsebergen, 3)
                  .Hue({255, 0, 255, 0, 255, 0, 255, 0, 80})
                  .Sat(Flat(100))
                  .Lum(Flat(50))
                  .Run(PaarsebergenRule3, 7),
              (Outcome{44, 3, 44, 123, 44}));
    EXPECT_EQ(Probe(kPaarsebergen, 3)
                  .Hue(Flat(41))
                  .Sat(Flat(100))
                  .Lum(Flat(50))
                  .Run(PaarsebergenRule3, 0),
              (Outcome{37, 4, 37, 124, 44}));
    EXPECT_EQ(Probe(kPaarsebergen, 3)
                  .Hue(Flat(255))
                  .Sat(Flat(0))
                  .Lum(Flat(255))
                  .Run(PaarsebergenRule3, 3),
              (Outcome{251, 7, 251, 0, 253}));
}

TEST(PaarsebergenRules, Rule4HeldMaximum) {
    // The larger of state 90 and centre 60 stays below the base: 89. The
    // secondaries at 7 and 2 tie nearest to 158: fan order takes 7.
    EXPECT_EQ(Probe(kPaarsebergen, 4)
                  .At(90, 2)
                  .Lum(Flat(60))
                  .Hue(Flat(200))
                  .Sat({0, 0, 166, 0, 0, 0, 0, 150, 158})
                  .Run(PaarsebergenRule4, 3),
              (Outcome{89, 10, 191, 157, 74}));
    EXPECT_EQ(Probe(kPaarsebergen, 4)
                  .At(10, 0)
                  .Lum(Flat(200))
                  .Hue(Flat(0))
                  .Sat(Flat(0))
                  .Run(PaarsebergenRule4, 0),
              (Outcome{199, -1, 21, 30, 199}));
    EXPECT_EQ(Probe(kPaarsebergen, 4).At(150, 0).Lum(Flat(60)).Run(PaarsebergenRule4, 1).state, 59);
    EXPECT_EQ(Probe(kPaarsebergen, 4).At(102, 0).Lum(Flat(60)).Run(PaarsebergenRule4, 1).state,
              101);
    EXPECT_EQ(Probe(kPaarsebergen, 4).At(0, 0).Lum(Flat(0)).Run(PaarsebergenRule4, 1).state, 0);
}

TEST(PaarsebergenRules, Rule5ReflectionAndWrap) {
    // Reflection 510 above the base: 506 wraps to 250; n = (12 & 7) + 3 = 7.
    EXPECT_EQ(Probe(kPaarsebergen, 5)
                  .At(0, 1)
                  .Hue({255, 255, 255, 255, 255, 255, 255, 255, 0})
                  .Sat(Flat(200))
                  .Lum(Flat(100))
                  .Run(PaarsebergenRule5),
              (Outcome{250, 4, 250, 152, 109}));
    // Spread exactly 32 keeps the reflection 432 >> 2 = 108: 104.
    EXPECT_EQ(Probe(kPaarsebergen, 5)
                  .At(0, 2)
                  .Hue({100, 132, 100, 100, 100, 100, 100, 100, 100})
                  .Sat(Flat(0))
                  .Lum(Flat(0))
                  .Run(PaarsebergenRule5),
              (Outcome{104, 6, 104, 0, 14}));
    // Spread 33 takes the centre 100: 96.
    EXPECT_EQ(Probe(kPaarsebergen, 5)
                  .At(0, 2)
                  .Hue({100, 133, 100, 100, 100, 100, 100, 100, 100})
                  .Sat(Flat(0))
                  .Lum(Flat(0))
                  .Run(PaarsebergenRule5),
              (Outcome{96, 6, 96, 0, 13}));
    // A negative reflection: -38 >> 2 = -10 (rounding down), + 4 wraps to 250.
    EXPECT_EQ(Probe(kPaarsebergen, 5)
                  .At(0, 5)
                  .Hue({2, 0, 0, 0, 0, 0, 0, 0, 10})
                  .Sat(Flat(200))
                  .Lum(Flat(100))
                  .Run(PaarsebergenRule5),
              (Outcome{250, 10, 250, 152, 109}));
}

TEST(PaarsebergenRules, Rule6ClampedCentreMean) {
    EXPECT_EQ(Probe(kPaarsebergen, 6)
                  .Lum({0, 1, 0, 1, 0, 1, 0, 1, 1})
                  .Hue(Flat(100))
                  .Sat(Flat(3))
                  .Run(PaarsebergenRule6, 0),
              (Outcome{0, -3, 99, 2, 0}));
    EXPECT_EQ(Probe(kPaarsebergen, 6)
                  .Lum(Flat(254))
                  .Hue(Flat(0))
                  .Sat(Flat(255))
                  .Run(PaarsebergenRule6, 7),
              (Outcome{255, 4, 24, 253, 255}));
}

TEST(PaarsebergenRules, Rule7SpreadLimitAndFarthestSecondary) {
    // Spread 31 takes the centre 0; -2 wraps to 254, and the hue midpoint
    // with 0 goes the short way to 255. Secondaries all at the base: ahead.
    EXPECT_EQ(Probe(kPaarsebergen, 7)
                  .At(0, 3)
                  .Hue({100, 131, 100, 100, 100, 100, 100, 100, 0})
                  .Sat(Flat(106))
                  .Lum(Flat(0))
                  .Run(PaarsebergenRule7, 0),
              (Outcome{254, 3, 255, 105, 60}));
    // Spread 32 takes the ring mean 104, +2. Positions 7 and 2 tie farthest
    // from 106: fan order takes 7.
    EXPECT_EQ(Probe(kPaarsebergen, 7)
                  .At(0, 4)
                  .Hue({100, 132, 100, 100, 100, 100, 100, 100, 0})
                  .Sat({106, 106, 0, 106, 106, 106, 106, 212, 50})
                  .Lum(Flat(255))
                  .Run(PaarsebergenRule7, 1),
              (Outcome{106, 11, 53, 55, 252}));
}

}  // namespace
}  // namespace tintwalk
