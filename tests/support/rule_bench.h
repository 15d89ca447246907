// What the rule tests share: a bot set up as loading a preset row sets it up,
// neighbourhood arrays filled by hand, a rule run on exactly the draws a case
// stages (checking that it took those and no more), and the check of a
// preset row against its published values.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <ostream>

#include "communities/community.h"
#include "core/biotope.h"
#include "core/random.h"
#include "support/scripted_draws.h"

namespace tintwalk::testing {

// What a rule delivered: state, heading (before the step masks it) and the
// three colour bytes.
struct Outcome {
    int32_t state;
    int32_t heading;
    int hue;
    int saturation;
    int lightness;
    bool operator==(const Outcome&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Outcome& o) {
    return os << "{state " << o.state << ", heading " << o.heading << ", colour " << o.hue << " "
              << o.saturation << " " << o.lightness << "}";
}

class RuleBench : public ::testing::Test {
  protected:
    // Bot `index` of `preset` as the world's reset leaves it: base colour,
    // channel choices and base components from its genes. The arrays are
    // filled by each case.
    void UseBot(const CommunityPreset& preset, int index) {
        const uint8_t* g = preset.genes[index].genes;
        bot.baseColour = {g[10], g[11], g[12]};
        bot.primary = Channel(g[8]);
        bot.secondary = Channel(g[9]);
        bot.primaryBase = g[10 + (g[8] < 2 ? g[8] : 2)];
        bot.secondaryBase = g[10 + (g[9] < 2 ? g[9] : 2)];
    }

    // Ring entries 0..7 in turned order, then the centre.
    static void Set(uint8_t* array, std::initializer_list<int> ring, int centre) {
        int k = 0;
        for (int v : ring)
            array[k++] = static_cast<uint8_t>(v);
        array[8] = static_cast<uint8_t>(centre);
    }
    static void Fill(uint8_t* array, int v) { std::memset(array, v, 9); }

    // Runs `rule` with exactly `draws` staged; the cell is the centre of the
    // three arrays.
    Outcome Run(BotRule rule, std::initializer_list<uint32_t> draws = {}) {
        constexpr uint32_t kAfter = 0x2468ace;  // never staged as a real draw
        uint32_t staged[28];
        int n = 0;
        for (uint32_t d : draws)
            staged[n++] = d;
        staged[n++] = kAfter;
        ScriptDrawSpan(staged, n);
        cell_[0] = bot.hue[8];
        cell_[1] = bot.sat[8];
        cell_[2] = bot.lum[8];
        bot.cell = cell_;
        int32_t state = -12345;
        int32_t heading = -12345;
        HslPixel colour = {0, 0, 0};
        rule(bot, state, heading, colour);
        EXPECT_EQ(randomGenerator.Next(), static_cast<int32_t>(kAfter))
            << "the rule took another number of draws than staged";
        return {state, heading, colour.hue, colour.saturation, colour.lightness};
    }

    Bot bot;

  private:
    const uint8_t* Channel(uint8_t gene) const {
        return gene == 0 ? bot.hue : (gene == 1 ? bot.sat : bot.lum);
    }

    uint8_t cell_[3] = {};
};

// The row at `index` of the preset table is `preset`, with these values.
inline void ExpectRow(const CommunityPreset& preset, int index, const char* name, int hueShift,
                      RgbPixel background, const uint8_t (&genes)[8][13],
                      const BotRule (&rules)[8]) {
    EXPECT_EQ(kCommunityPresets[index], &preset);
    EXPECT_STREQ(preset.name, name);
    EXPECT_EQ(preset.hueShift, hueShift);
    EXPECT_EQ(preset.background.red, background.red);
    EXPECT_EQ(preset.background.green, background.green);
    EXPECT_EQ(preset.background.blue, background.blue);
    for (int bot = 0; bot < 8; ++bot) {
        for (int g = 0; g < 13; ++g) {
            EXPECT_EQ(preset.genes[bot].genes[g], genes[bot][g]) << "bot " << bot << " gene " << g;
        }
        EXPECT_EQ(preset.rules[bot], rules[bot]) << "rule of bot " << bot;
    }
}

}  // namespace tintwalk::testing
