// The preset table and loading a row, then the worked examples of the
// shared helpers and of the rules.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "communities/clock_choice.h"
#include "communities/community.h"
#include "communities/rule.h"
#include "communities/rules.h"
#include "core/random.h"

namespace tintwalk {
namespace {

// Hue shifts, backgrounds and the genes that choose channels and colours are
// in every fingerprint; here are the names and all 80 gene rows (FNV-1a 64 of
// their 13 bytes each, in row and bot order).
TEST(Presets, RowsMatchTheRecordedNamesAndGenes) {
    const std::string names[kCommunityCount] = {
        "amorfwit", "paarsebergen", "somspaars",  "fijnwerk",   "geo&vlekkensnel",
        "fel",      "rock",         "zoetkoraal", "zwavelgrot", "tegelswitzwart"};
    uint64_t hash = 14695981039346656037ull;
    for (int32_t i = 0; i < kCommunityCount; ++i) {
        EXPECT_EQ(kCommunityPresets[i]->name, names[i]);
        EXPECT_EQ(FindCommunity(names[i].c_str()), i);
        for (const GenePreset& genes : kCommunityPresets[i]->genes) {
            for (uint8_t g : genes.genes)
                hash = (hash ^ g) * 1099511628211ull;
        }
    }
    EXPECT_EQ(hash, 0x52580faeeb519faaull);
}

TEST(Presets, RowNamesAndClockChoice) {
    const std::pair<const char*, int32_t> names[] = {{"0", 0},  {"9", 9},    {"10", -1},
                                                     {"", -1},  {"Fel", -1}, {"rock ", -1},
                                                     {"/", -1}, {":", -1},   {nullptr, -1}};
    for (const auto& [text, row] : names)
        EXPECT_EQ(FindCommunity(text), row) << (text ? text : "null");
    EXPECT_EQ(CommunityRowFromTime(1765000007), 7);
    EXPECT_EQ(CommunityRowFromTime(4102444805), 5);  // past 2038
    EXPECT_EQ(CommunityRowFromTime(-1), 9);
    EXPECT_EQ(SeedFromTime(4294967296 + 3), 3u);
}

TEST(Presets, LoadingPrintsItsLinesAndSetsTheTrailLength) {
    const std::array<int32_t, 3> cases[] = {{1024, 768, 655},   {800, 600, 400}, {640, 480, 256},
                                            {1280, 1024, 1092}, {152, 112, 14},  {40, 29, 0}};
    for (const auto& [width, height, trail] : cases) {
        surfaceWidth = width;
        surfaceHeight = height;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        ASSERT_TRUE(InitCommunity(5, 3));
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string size = std::to_string(width) + " x " + std::to_string(height);
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "InitCommunity(5)\ncommunity 'fel' : habitat " + size +
                      ", rgb(198, 204, 199) hue_shift 143\n");
        EXPECT_EQ(out.find("Biotope::Create(8, " + std::to_string(width)), 0u) << out;
        EXPECT_EQ(biotope.bots[7].trailLength, uint32_t(trail));
        EXPECT_EQ(backgroundColour.green, 204);
    }
    biotope.Release();
    for (int32_t row : {10, -1}) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(InitCommunity(row, 3));
        const std::string r = std::to_string(row);
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "InitCommunity(" + r + ")\ncommunity " + r + " : no such community!\n");
        EXPECT_EQ(biotope.botCount, 0u);
    }
}

using Nine = std::array<uint8_t, 9>;  // ring entries 0..7, then the centre

// A ring repeating `ring` around `centre`.
Nine Ring(std::vector<int> ring, int centre) {
    Nine a;
    for (size_t k = 0; k < 8; ++k)
        a[k] = static_cast<uint8_t>(ring[k % ring.size()]);
    a[8] = static_cast<uint8_t>(centre);
    return a;
}

Nine Flat(int v) {
    return Ring({v}, v);
}

TEST(Helpers, WorkedExamples) {
    const Nine ramp = Ring({10, 20, 30, 40, 50, 60, 70, 80}, 0);
    const std::pair<int32_t, int32_t> cases[] = {
        {Blend(255, 255, 77), 254},
        {Blend(0, 0, 200), 0},
        {Blend(200, 100, 0), 99},
        {Blend(200, 100, 255), 199},
        {Blend(200, 100, 63), 124},
        {RingReflect(Flat(7).data()), 7},
        {RingReflect(Ring({255}, 0).data()), 510},
        {RingReflect(Ring({0}, 255).data()), -255},
        {RingReflect(Ring({100}, 40).data()), 160},
        {RingSpread(Flat(50).data()), 0},
        {RingSpread(ramp.data()), 70},
        {RingMean(ramp.data()), 45},
        {FanArgMaxDiff(Flat(50).data(), 50), 0},
        {FanArgMaxDiff(Ring({50, 90, 50, 50, 50, 50, 50, 90}, 50).data(), 50), 1},
        {FanArgMaxDiff(Ring({50, 50, 10, 50, 50, 50, 50, 10}, 50).data(), 50), 7},
        {FanArgMinDiff(Ring({9, 9, 9, 9, 0, 9, 9, 9}, 9).data(), 0), 4},
        {HeadingMix(3, 3), 7},
        {HeadingMix(0, 7), 3},
        {HeadingMix(-5, 0), -3},
        {HueMidpoint(10, 20), 15},
        {HueMidpoint(0, 255), 255},
        {HueMidpoint(255, 0), 255},
        {HueMidpoint(0, 128), 192},
        {HueMidpoint(128, 0), 192},
        {HueMidpoint(250, 4), 255},
        {HueMidpoint(254, 2), 0},
        {HueApproach16(100, 120), 119},
        {HueApproach16(120, 100), 102},
        {HueApproach16(100, 101), 101},
        {HueApproach16(101, 100), 101},
        {HueApproach16(0, 255), 0},
        {HueApproach16(255, 0), 0},
        {HueApproach4(100, 120), 115},
        {HueApproach4(120, 100), 105},
        {HueApproach4(0, 250), 252}};
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].first, cases[i].second) << "case " << i;
}

// Makes the next draws (up to 28, each below 2^31) chosen values. A draw adds
// table[rear] into table[front] and returns the sum halved: with front 3 and
// rear 0, draw k lands in table[k + 3] and adds table[k], twice draw k - 3.
void ScriptDraws(std::initializer_list<uint32_t> draws) {
    const uint32_t* values = draws.begin();
    int32_t table[RandomGenerator::kDegree] = {};
    for (size_t k = 0; k < draws.size(); ++k)
        table[k + 3] = static_cast<int32_t>((values[k] << 1) - (k < 3 ? 0u : values[k - 3] << 1));
    randomGenerator.LoadState(table, 3);
}

constexpr int32_t kAnyHeading = -99;

// A rule's bot set up as loading its row sets it up, with `p` in the primary
// array, `s` in the others and every draw `draw`, gives `newState` and, where
// the example says, `newHeading`.
struct Example {
    Nine p;
    int32_t newState;
    int32_t newHeading = kAnyHeading;
    int s = 0;
    int32_t state = 0, heading = 0;
    uint32_t draw = 0;
};

struct RuleExamples {
    BotRule rule;
    std::vector<Example> examples;
};

// The row and bot of the first bot, in row order, that follows `rule`.
std::pair<const CommunityPreset*, int> FirstBotWith(BotRule rule) {
    for (const CommunityPreset* row : kCommunityPresets) {
        for (int bot = 0; bot < 8; ++bot) {
            if (row->rules[bot] == rule)
                return {row, bot};
        }
    }
    return {nullptr, 0};
}

TEST(Rules, WorkedExamples) {
    const RuleExamples cases[] = {
        {AmorfwitRule0,
         {{Flat(41), 41},
          {.p = Flat(40), .newState = 40, .newHeading = 0, .draw = 3},
          {.p = Ring({36, 40, 40, 40, 40, 40, 40, 40}, 44), .newState = 44, .newHeading = 0}}},
        {AmorfwitRule4, {{Flat(0), 254}, {Ring({0, 6}, 0), 1}}},
        {AmorfwitRule1, {{Ring({0, 224}, 7), 112}, {Ring({0, 225}, 7), 7}}},
        {AmorfwitRule2, {{.p = Flat(10), .newState = 94, .state = 98}}},
        {AmorfwitRule6, {{Ring({0, 31}, 100), 102}, {Ring({0, 32}, 100), 27}}},
        {AmorfwitRule7, {{Ring({0, 32}, 100), 40}, {Ring({0, 33}, 100), 108}}},
        {PaarsebergenRule2, {{Flat(255), 178}}},
        {PaarsebergenRule3, {{Flat(40), 44}, {Flat(41), 37}}},
        {PaarsebergenRule4,
         {{.p = Flat(60), .newState = 89, .state = 90},
          {.p = Flat(60), .newState = 59, .state = 150}}},
        {PaarsebergenRule5, {{Ring({0, 32}, 40), 252}, {Ring({0, 33}, 40), 44}}},
        {PaarsebergenRule7, {{Ring({0, 31}, 100), 98}, {Ring({0, 32}, 100), 14}}},
        {SomspaarsRule5, {{Flat(195), 197}, {Flat(196), 194}}},
        {FijnwerkRule7, {{Ring({0, 11}, 50), 9}, {Ring({0, 10}, 50), 48}}},
        {GeoVlekkensnelRule1,
         {{Ring({40}, 21), 59}, {Ring({255}, 0), 0}, {Ring({0}, 255), 0}, {Flat(90), 90}}},
        {ZwavelgrotRule6, {{.p = Flat(200), .newState = 73, .state = 57}, {Flat(200), 184}}},
        {TegelswitzwartRule2,
         {{Ring({132}, 50), 66}, {Ring({131}, 50), 115}, {Flat(131), 115}, {Flat(99), 115}}},
        {FelRule2, {{Ring({0, 32}, 100), 2}, {Ring({0, 31}, 100), 98}, {Flat(0), 2}}},
        {FelRule3,
         {{Ring({100}, 82), 122},
          {.p = Ring({0}, 255), .newState = 3, .newHeading = 5},
          {.p = Flat(0), .newState = 4, .newHeading = -2}}},
        {FelRule0,
         {{.p = Flat(255), .newState = 251, .s = 40, .heading = 3},
          {.p = Flat(0), .newState = 4, .s = 40, .heading = 3},
          {.p = Flat(243), .newState = 247, .s = 40, .heading = 3}}},
        {FelRule1, {{Flat(255), 255}}},
        {GeoVlekkensnelRule0, {{Flat(0), 254}, {Flat(255), 253}}},
        {GeoVlekkensnelRule2, {{.p = Flat(0), .newState = 0, .state = 1}}},
        {GeoVlekkensnelRule3, {{Ring({9, 200, 3, 77, 0, 255, 1, 30}, 0), 1}}},
        {GeoVlekkensnelRule6, {{Flat(255), 180}}},
        {RockRule0,
         {{Ring({0, 0, 0, 0, 0, 0, 255, 0}, 0), 0}, {Ring({0, 0, 255, 0, 0, 0, 0, 0}, 255), 255}}},
        {RockRule4,
         {{Ring({10, 20, 30}, 200), 31}, {Ring({10, 20, 60}, 200), 201}, {Flat(255), 0}}},
        {ZoetkoraalRule0, {{Flat(70), 255}}},
        {ZoetkoraalRule2, {{Flat(1), 0}, {Flat(90), 88}}},
        {ZoetkoraalRule4, {{Flat(254), 2}}},
        {ZwavelgrotRule0, {{Flat(254), 255}}},
        {ZwavelgrotRule7, {{Flat(0), 0}}},
        {TegelswitzwartRule0, {{Flat(107), 109}, {Flat(255), 253}}},
        {TegelswitzwartRule1,
         {{.p = Flat(80), .newState = 26, .state = 24},
          {.p = Flat(80), .newState = 82, .state = 23},
          {.p = Flat(80), .newState = 255, .state = 254}}},
        {TegelswitzwartRule3, {{Flat(115), 117}}},
        {TegelswitzwartRule4, {{Flat(248), 255}}},
        {TegelswitzwartRule5,
         {{.p = Flat(100), .newState = 0, .state = 2},
          {.p = Ring({0, 33, 66, 99, 132, 165, 198, 230}, 9), .newState = 5, .state = 2}}},
    };
    for (const auto& [rule, examples] : cases) {
        const auto [row, index] = FirstBotWith(rule);
        ASSERT_NE(row, nullptr);
        for (size_t i = 0; i < examples.size(); ++i) {
            const Example& c = examples[i];
            Bot bot;
            std::memcpy(bot.genes, row->genes[index].genes, 13);
            const uint8_t* g = bot.genes;
            uint8_t* channels[3] = {bot.hue, bot.sat, bot.lum};
            bot.baseColour = {g[10], g[11], g[12]};
            bot.primary = channels[g[8]];
            bot.secondary = channels[g[9]];
            bot.primaryBase = g[10 + g[8]];
            bot.secondaryBase = g[10 + g[9]];
            for (uint8_t* channel : channels)
                std::memset(channel, c.s, 9);
            std::memcpy(channels[g[8]], c.p.data(), 9);
            const uint8_t cell[3] = {bot.hue[8], bot.sat[8], bot.lum[8]};
            bot.cell = cell;
            bot.state = c.state;
            bot.heading = c.heading;
            ScriptDraws({c.draw, c.draw, c.draw, c.draw});
            int32_t state = -1, heading = -1;
            HslPixel colour;
            rule(bot, state, heading, colour);
            SCOPED_TRACE(std::string(row->name) + " bot " + std::to_string(index) + " example " +
                         std::to_string(i));
            EXPECT_EQ(state, c.newState);
            EXPECT_TRUE(c.newHeading == kAnyHeading || heading == c.newHeading) << heading;
        }
    }
}

}  // namespace
}  // namespace tintwalk
