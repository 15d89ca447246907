// The preset table and loading a row, then the published worked examples of
// the shared helpers and of the rules: every figure comes from the
// description of the rules, not from the code.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "communities/community.h"
#include "communities/rule.h"
#include "communities/rules.h"
#include "support/scripted_draws.h"

namespace tintwalk {
namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStderr;
using ::testing::internal::GetCapturedStdout;

TEST(Presets, RowsAreThePublishedOnes) {
    const std::string names[kCommunityCount] = {
        "amorfwit", "paarsebergen", "somspaars",  "fijnwerk",   "geo&vlekkensnel",
        "fel",      "rock",         "zoetkoraal", "zwavelgrot", "tegelswitzwart"};
    // Hue shift and background of each row.
    const std::array<int, 4> values[kCommunityCount] = {
        {128, 201, 202, 196}, {192, 198, 200, 203}, {192, 200, 207, 202}, {232, 198, 205, 197},
        {0, 202, 202, 200},   {143, 198, 204, 199}, {0, 200, 204, 203},   {212, 203, 207, 203},
        {224, 197, 206, 202}, {220, 199, 205, 196}};
    // FNV-1a 64 of the 80 published gene rows, 13 bytes each, in row and
    // bot order: the genes printed at start-up enter no picture.
    uint64_t hash = 14695981039346656037ull;
    for (int32_t i = 0; i < kCommunityCount; ++i) {
        const CommunityPreset& p = *kCommunityPresets[i];
        EXPECT_EQ(p.name, names[i]);
        EXPECT_EQ(FindCommunity(names[i].c_str()), i);
        const RgbPixel& b = p.background;
        EXPECT_EQ((std::array<int, 4>{p.hueShift, b.red, b.green, b.blue}), values[i]) << p.name;
        for (const GenePreset& genes : p.genes) {
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
        CaptureStdout();
        CaptureStderr();
        ASSERT_TRUE(InitCommunity(5, 3));
        const std::string out = GetCapturedStdout();
        const std::string size = std::to_string(width) + " x " + std::to_string(height);
        EXPECT_EQ(GetCapturedStderr(), "InitCommunity(5)\ncommunity 'fel' : habitat " + size +
                                           ", rgb(198, 204, 199) hue_shift 143\n");
        EXPECT_EQ(out.find("Biotope::Create(8, " + std::to_string(width)), 0u) << out;
        EXPECT_EQ(biotope.bots[7].trailLength, uint32_t(trail));
        EXPECT_EQ(backgroundColour.green, 204);
    }
    biotope.Release();
    for (int32_t row : {10, -1}) {
        CaptureStderr();
        EXPECT_FALSE(InitCommunity(row, 3));
        const std::string r = std::to_string(row);
        EXPECT_EQ(GetCapturedStderr(),
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

constexpr int32_t kAnyHeading = -99;

// One call of `rule` for bot `bot` of `row`, set up as loading the row sets
// it up: the primary array holds `p`, the secondary one `s` (-1: it is the
// primary), every draw is `draw`.
struct RuleCase {
    BotRule rule;
    const CommunityPreset* row;
    int bot;
    Nine p;
    int s;
    int32_t state, heading;
    uint32_t draw;
    int32_t newState;
    int32_t newHeading = kAnyHeading;  // when the example gives it
};

TEST(Rules, WorkedExamples) {
    const RuleCase cases[] = {
        {AmorfwitRule0, &kAmorfwit, 0, Flat(41), 0, 0, 0, 0, 41},
        {AmorfwitRule0, &kAmorfwit, 0, Flat(40), 0, 0, 0, 3, 40, 0},
        {AmorfwitRule0, &kAmorfwit, 0, Ring({36, 40, 40, 40, 40, 40, 40, 40}, 44), 0, 0, 0, 0, 44,
         0},
        {AmorfwitRule4, &kAmorfwit, 4, Flat(0), 0, 0, 0, 0, 254},
        {AmorfwitRule1, &kAmorfwit, 1, Ring({0, 224}, 7), 0, 0, 0, 0, 112},
        {AmorfwitRule1, &kAmorfwit, 1, Ring({0, 225}, 7), 0, 0, 0, 0, 7},
        {AmorfwitRule2, &kAmorfwit, 2, Flat(10), 0, 98, 0, 0, 94},
        {AmorfwitRule4, &kAmorfwit, 4, Ring({0, 6}, 0), 0, 0, 0, 0, 1},
        {AmorfwitRule6, &kAmorfwit, 6, Ring({0, 31}, 100), 0, 0, 0, 0, 102},
        {AmorfwitRule6, &kAmorfwit, 6, Ring({0, 32}, 100), 0, 0, 0, 0, 27},
        {AmorfwitRule7, &kAmorfwit, 7, Ring({0, 32}, 100), 0, 0, 0, 0, 40},
        {AmorfwitRule7, &kAmorfwit, 7, Ring({0, 33}, 100), 0, 0, 0, 0, 108},
        {PaarsebergenRule2, &kPaarsebergen, 2, Flat(255), 0, 0, 0, 0, 178},
        {PaarsebergenRule3, &kPaarsebergen, 3, Flat(40), -1, 0, 0, 0, 44},
        {PaarsebergenRule3, &kPaarsebergen, 3, Flat(41), -1, 0, 0, 0, 37},
        {PaarsebergenRule4, &kPaarsebergen, 4, Flat(60), 0, 90, 0, 0, 89},
        {PaarsebergenRule4, &kPaarsebergen, 4, Flat(60), 0, 150, 0, 0, 59},
        {PaarsebergenRule5, &kPaarsebergen, 5, Ring({0, 32}, 40), 0, 0, 0, 0, 252},
        {PaarsebergenRule5, &kPaarsebergen, 5, Ring({0, 33}, 40), 0, 0, 0, 0, 44},
        {PaarsebergenRule7, &kPaarsebergen, 7, Ring({0, 31}, 100), 0, 0, 0, 0, 98},
        {PaarsebergenRule7, &kPaarsebergen, 7, Ring({0, 32}, 100), 0, 0, 0, 0, 14},
        {SomspaarsRule5, &kSomspaars, 5, Flat(195), 0, 0, 0, 0, 197},
        {SomspaarsRule5, &kSomspaars, 5, Flat(196), 0, 0, 0, 0, 194},
        {FijnwerkRule7, &kFijnwerk, 7, Ring({0, 11}, 50), 0, 0, 0, 0, 9},
        {FijnwerkRule7, &kFijnwerk, 7, Ring({0, 10}, 50), 0, 0, 0, 0, 48},
        {GeoVlekkensnelRule1, &kGeoVlekkensnel, 1, Ring({40}, 21), 0, 0, 0, 0, 59},
        {ZwavelgrotRule6, &kZwavelgrot, 6, Flat(200), 0, 57, 0, 0, 73},
        {ZwavelgrotRule6, &kZwavelgrot, 6, Flat(200), 0, 0, 0, 0, 184},
        {TegelswitzwartRule2, &kTegelswitzwart, 2, Ring({132}, 50), 0, 0, 0, 0, 66},
        {TegelswitzwartRule2, &kTegelswitzwart, 2, Ring({131}, 50), 0, 0, 0, 0, 115},
        {FelRule2, &kFel, 2, Ring({0, 32}, 100), 0, 0, 0, 0, 2},
        {FelRule2, &kFel, 2, Ring({0, 31}, 100), 0, 0, 0, 0, 98},
        {FelRule3, &kFel, 3, Ring({100}, 82), -1, 0, 0, 0, 122},
        {FelRule0, &kFel, 0, Flat(255), 40, 0, 3, 0, 251},
        {FelRule0, &kFel, 0, Flat(0), 40, 0, 3, 0, 4},
        {FelRule0, &kFel, 0, Flat(243), 40, 0, 3, 0, 247},
        {FelRule1, &kFel, 1, Flat(255), 0, 0, 0, 0, 255},
        {FelRule2, &kFel, 2, Flat(0), 0, 0, 0, 0, 2},
        {FelRule3, &kFel, 3, Ring({0}, 255), -1, 0, 0, 0, 3, 5},
        {FelRule3, &kFel, 3, Flat(0), -1, 0, 0, 0, 4, -2},
        {GeoVlekkensnelRule0, &kGeoVlekkensnel, 0, Flat(0), 0, 0, 0, 0, 254},
        {GeoVlekkensnelRule0, &kGeoVlekkensnel, 0, Flat(255), 0, 0, 0, 0, 253},
        {GeoVlekkensnelRule1, &kGeoVlekkensnel, 1, Ring({255}, 0), 0, 0, 0, 0, 0},
        {GeoVlekkensnelRule1, &kGeoVlekkensnel, 1, Ring({0}, 255), 0, 0, 0, 0, 0},
        {GeoVlekkensnelRule1, &kGeoVlekkensnel, 1, Flat(90), 0, 0, 0, 0, 90},
        {GeoVlekkensnelRule2, &kGeoVlekkensnel, 2, Flat(0), 0, 1, 0, 0, 0},
        {GeoVlekkensnelRule3, &kGeoVlekkensnel, 3, Ring({9, 200, 3, 77, 0, 255, 1, 30}, 0), 0, 0, 0,
         0, 1},
        {GeoVlekkensnelRule6, &kGeoVlekkensnel, 6, Flat(255), 0, 0, 0, 0, 180},
        {RockRule0, &kRock, 0, Ring({0, 0, 0, 0, 0, 0, 255, 0}, 0), 0, 0, 0, 0, 0},
        {RockRule0, &kRock, 0, Ring({0, 0, 255, 0, 0, 0, 0, 0}, 255), 0, 0, 0, 0, 255},
        {RockRule4, &kRock, 4, Ring({10, 20, 30}, 200), 0, 0, 0, 0, 31},
        {RockRule4, &kRock, 4, Ring({10, 20, 60}, 200), 0, 0, 0, 0, 201},
        {RockRule4, &kRock, 4, Flat(255), 0, 0, 0, 0, 0},
        {ZoetkoraalRule0, &kZoetkoraal, 0, Flat(70), 0, 0, 0, 0, 255},
        {ZoetkoraalRule2, &kZoetkoraal, 2, Flat(1), 0, 0, 0, 0, 0},
        {ZoetkoraalRule2, &kZoetkoraal, 2, Flat(90), 0, 0, 0, 0, 88},
        {ZoetkoraalRule4, &kZoetkoraal, 4, Flat(254), 0, 0, 0, 0, 2},
        {ZwavelgrotRule0, &kZwavelgrot, 0, Flat(254), 0, 0, 0, 0, 255},
        {ZwavelgrotRule7, &kZwavelgrot, 7, Flat(0), 0, 0, 0, 0, 0},
        {TegelswitzwartRule0, &kTegelswitzwart, 0, Flat(107), 0, 0, 0, 0, 109},
        {TegelswitzwartRule0, &kTegelswitzwart, 0, Flat(255), 0, 0, 0, 0, 253},
        {TegelswitzwartRule1, &kTegelswitzwart, 1, Flat(80), 0, 24, 0, 0, 26},
        {TegelswitzwartRule1, &kTegelswitzwart, 1, Flat(80), 0, 23, 0, 0, 82},
        {TegelswitzwartRule1, &kTegelswitzwart, 1, Flat(80), 0, 254, 0, 0, 255},
        {TegelswitzwartRule2, &kTegelswitzwart, 2, Flat(131), 0, 0, 0, 0, 115},
        {TegelswitzwartRule2, &kTegelswitzwart, 2, Flat(99), 0, 0, 0, 0, 115},
        {TegelswitzwartRule3, &kTegelswitzwart, 3, Flat(115), 0, 0, 0, 0, 117},
        {TegelswitzwartRule4, &kTegelswitzwart, 4, Flat(248), 0, 0, 0, 0, 255},
        {TegelswitzwartRule5, &kTegelswitzwart, 5, Flat(100), 0, 2, 0, 0, 0},
        {TegelswitzwartRule5, &kTegelswitzwart, 5, Ring({0, 33, 66, 99, 132, 165, 198, 230}, 9), 0,
         2, 0, 0, 5},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const RuleCase& c = cases[i];
        Bot bot;
        std::memcpy(bot.genes, c.row->genes[c.bot].genes, 13);
        const uint8_t* g = bot.genes;
        uint8_t* channels[3] = {bot.hue, bot.sat, bot.lum};
        bot.baseColour = {g[10], g[11], g[12]};
        bot.primary = channels[g[8]];
        bot.secondary = channels[g[9]];
        bot.primaryBase = g[10 + g[8]];
        bot.secondaryBase = g[10 + g[9]];
        for (uint8_t* channel : channels)
            std::memset(channel, c.s < 0 ? 0 : c.s, 9);
        std::memcpy(channels[g[8]], c.p.data(), 9);
        const uint8_t cell[3] = {bot.hue[8], bot.sat[8], bot.lum[8]};
        bot.cell = cell;
        bot.state = c.state;
        bot.heading = c.heading;
        testing::ScriptDraws({c.draw, c.draw, c.draw, c.draw});
        int32_t state = -1;
        int32_t heading = -1;
        HslPixel colour;
        c.rule(bot, state, heading, colour);
        EXPECT_EQ(state, c.newState) << "case " << i;
        if (c.newHeading != kAnyHeading) {
            EXPECT_EQ(heading, c.newHeading) << "case " << i;
        }
    }
}

}  // namespace
}  // namespace tintwalk
