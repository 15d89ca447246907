// The published worked examples of the shared helpers and of the behaviour
// rules, one table per subject. Every figure comes from the description of
// the rules, not from the code.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "communities/community.h"
#include "communities/rule.h"
#include "communities/rules.h"
#include "support/scripted_draws.h"

namespace tintwalk {
namespace {

using Nine = std::array<uint8_t, 9>;  // ring entries 0..7, then the centre

Nine Flat(int v) {
    Nine a;
    a.fill(static_cast<uint8_t>(v));
    return a;
}

TEST(Helpers, WorkedExamples) {
    struct Case {
        const char* what;
        int32_t got;
        int32_t expected;
    };
    const Nine ramp = {10, 20, 30, 40, 50, 60, 70, 80, 0};
    Nine ring255 = Flat(255), ring0 = Flat(0), ring100 = Flat(100), ties = Flat(50);
    ring255[8] = 0;
    ring0[8] = 255;
    ring100[8] = 40;
    Nine tie17 = ties, tie72 = ties, only4 = Flat(9);
    tie17[1] = tie17[7] = 90;
    tie72[7] = tie72[2] = 10;
    only4[4] = 0;
    const Case cases[] = {
        {"Blend(255, 255, 77)", Blend(255, 255, 77), 254},
        {"Blend(0, 0, 200)", Blend(0, 0, 200), 0},
        {"Blend(200, 100, 0)", Blend(200, 100, 0), 99},
        {"Blend(200, 100, 255)", Blend(200, 100, 255), 199},
        {"Blend(200, 100, 63)", Blend(200, 100, 63), 124},
        {"RingReflect(flat 7)", RingReflect(Flat(7).data()), 7},
        {"RingReflect(ring 255, centre 0)", RingReflect(ring255.data()), 510},
        {"RingReflect(ring 0, centre 255)", RingReflect(ring0.data()), -255},
        {"RingReflect(ring 100, centre 40)", RingReflect(ring100.data()), 160},
        {"RingSpread(flat)", RingSpread(ties.data()), 0},
        {"RingSpread(10..80)", RingSpread(ramp.data()), 70},
        {"RingMean(10..80)", RingMean(ramp.data()), 45},
        {"FanArgMaxDiff(flat, ref)", FanArgMaxDiff(ties.data(), 50), 0},
        {"FanArgMaxDiff(1 and 7 tie)", FanArgMaxDiff(tie17.data(), 50), 1},
        {"FanArgMaxDiff(7 and 2 tie)", FanArgMaxDiff(tie72.data(), 50), 7},
        {"FanArgMinDiff(only 4 is 0)", FanArgMinDiff(only4.data(), 0), 4},
        {"HeadingMix(3, 3)", HeadingMix(3, 3), 7},
        {"HeadingMix(0, 7)", HeadingMix(0, 7), 3},
        {"HeadingMix(-5, 0)", HeadingMix(-5, 0), -3},
        {"HueMidpoint(10, 20)", HueMidpoint(10, 20), 15},
        {"HueMidpoint(0, 255)", HueMidpoint(0, 255), 255},
        {"HueMidpoint(255, 0)", HueMidpoint(255, 0), 255},
        {"HueMidpoint(0, 128)", HueMidpoint(0, 128), 192},
        {"HueMidpoint(128, 0)", HueMidpoint(128, 0), 192},
        {"HueMidpoint(250, 4)", HueMidpoint(250, 4), 255},
        {"HueMidpoint(254, 2)", HueMidpoint(254, 2), 0},
        {"HueApproach16(100, 120)", HueApproach16(100, 120), 119},
        {"HueApproach16(120, 100)", HueApproach16(120, 100), 102},
        {"HueApproach16(100, 101)", HueApproach16(100, 101), 101},
        {"HueApproach16(101, 100)", HueApproach16(101, 100), 101},
        {"HueApproach16(0, 255)", HueApproach16(0, 255), 0},
        {"HueApproach16(255, 0)", HueApproach16(255, 0), 0},
        {"HueApproach4(100, 120)", HueApproach4(100, 120), 115},
        {"HueApproach4(120, 100)", HueApproach4(120, 100), 105},
        {"HueApproach4(0, 250)", HueApproach4(0, 250), 252},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.what;
}

// One rule call on bot `bot` of `row` as loading the row sets it up: the
// primary array holds `p`, the secondary array `s` (where the two are
// different channels), every draw is `draw`.
struct RuleCase {
    BotRule rule;
    const CommunityPreset* row;
    int bot;
    Nine p;
    int s;  // fill of the secondary array; -1 when it is the primary
    int32_t state;
    int32_t heading;
    uint32_t draw;
    int32_t newState;
    int32_t newHeading;  // kAnyHeading when the example does not say
};
constexpr int32_t kAnyHeading = -99;

void RunCase(const RuleCase& c) {
    Bot bot;
    std::memcpy(bot.genes, c.row->genes[c.bot].genes, 13);
    const uint8_t* g = bot.genes;
    uint8_t* channels[3] = {bot.hue, bot.sat, bot.lum};
    bot.baseColour = {g[10], g[11], g[12]};
    bot.colour = &bot.baseColour.hue;
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
    const uint32_t draws[4] = {c.draw, c.draw, c.draw, c.draw};
    testing::ScriptDrawSpan(draws, 4);
    int32_t state = -1;
    int32_t heading = -1;
    HslPixel colour;
    c.rule(bot, state, heading, colour);
    EXPECT_EQ(state, c.newState);
    if (c.newHeading != kAnyHeading) {
        EXPECT_EQ(heading, c.newHeading);
    }
}

Nine Ring(std::array<int, 8> ring, int centre) {
    Nine a;
    for (int k = 0; k < 8; ++k)
        a[k] = static_cast<uint8_t>(ring[k]);
    a[8] = static_cast<uint8_t>(centre);
    return a;
}

TEST(Rules, WorkedExamples) {
    const Nine up = Ring({0, 33, 66, 99, 132, 165, 198, 230}, 9);
    const RuleCase cases[] = {
        {AmorfwitRule0, &kAmorfwit, 0, Flat(41), 0, 0, 0, 0, 41, kAnyHeading},
        {AmorfwitRule0, &kAmorfwit, 0, Ring({40, 40, 40, 40, 40, 40, 40, 40}, 40), 0, 0, 0, 3, 40,
         0},
        {AmorfwitRule0, &kAmorfwit, 0, Ring({36, 40, 40, 40, 40, 40, 40, 40}, 44), 0, 0, 0, 0, 44,
         0},
        {AmorfwitRule4, &kAmorfwit, 4, Flat(0), 0, 0, 0, 0, 254, kAnyHeading},
        // Boundaries: equal is not greater, a spread of exactly the limit.
        {AmorfwitRule1, &kAmorfwit, 1, Ring({0, 224, 0, 224, 0, 224, 0, 224}, 7), 0, 0, 0, 0, 112,
         kAnyHeading},
        {AmorfwitRule1, &kAmorfwit, 1, Ring({0, 225, 0, 225, 0, 225, 0, 225}, 7), 0, 0, 0, 0, 7,
         kAnyHeading},
        {AmorfwitRule2, &kAmorfwit, 2, Flat(10), 0, 98, 0, 0, 94, kAnyHeading},
        {AmorfwitRule4, &kAmorfwit, 4, Ring({0, 6, 0, 6, 0, 6, 0, 6}, 0), 0, 0, 0, 0, 1,
         kAnyHeading},
        {AmorfwitRule6, &kAmorfwit, 6, Ring({0, 31, 0, 31, 0, 31, 0, 31}, 100), 0, 0, 0, 0, 102,
         kAnyHeading},
        {AmorfwitRule6, &kAmorfwit, 6, Ring({0, 32, 0, 32, 0, 32, 0, 32}, 100), 0, 0, 0, 0, 27,
         kAnyHeading},
        {AmorfwitRule7, &kAmorfwit, 7, Ring({0, 32, 0, 32, 0, 32, 0, 32}, 100), 0, 0, 0, 0, 40,
         kAnyHeading},
        {AmorfwitRule7, &kAmorfwit, 7, Ring({0, 33, 0, 33, 0, 33, 0, 33}, 100), 0, 0, 0, 0, 108,
         kAnyHeading},
        {PaarsebergenRule2, &kPaarsebergen, 2, Flat(255), 0, 0, 0, 0, 178, kAnyHeading},
        {PaarsebergenRule3, &kPaarsebergen, 3, Flat(40), -1, 0, 0, 0, 44, kAnyHeading},
        {PaarsebergenRule3, &kPaarsebergen, 3, Flat(41), -1, 0, 0, 0, 37, kAnyHeading},
        {PaarsebergenRule4, &kPaarsebergen, 4, Flat(60), 0, 90, 0, 0, 89, kAnyHeading},
        {PaarsebergenRule4, &kPaarsebergen, 4, Flat(60), 0, 150, 0, 0, 59, kAnyHeading},
        {PaarsebergenRule5, &kPaarsebergen, 5, Ring({0, 32, 0, 32, 0, 32, 0, 32}, 40), 0, 0, 0, 0,
         252, kAnyHeading},
        {PaarsebergenRule5, &kPaarsebergen, 5, Ring({0, 33, 0, 33, 0, 33, 0, 33}, 40), 0, 0, 0, 0,
         44, kAnyHeading},
        {PaarsebergenRule7, &kPaarsebergen, 7, Ring({0, 31, 0, 31, 0, 31, 0, 31}, 100), 0, 0, 0, 0,
         98, kAnyHeading},
        {PaarsebergenRule7, &kPaarsebergen, 7, Ring({0, 32, 0, 32, 0, 32, 0, 32}, 100), 0, 0, 0, 0,
         14, kAnyHeading},
        {SomspaarsRule5, &kSomspaars, 5, Flat(195), 0, 0, 0, 0, 197, kAnyHeading},
        {SomspaarsRule5, &kSomspaars, 5, Flat(196), 0, 0, 0, 0, 194, kAnyHeading},
        {FijnwerkRule7, &kFijnwerk, 7, Ring({0, 11, 0, 11, 0, 11, 0, 11}, 50), 0, 0, 0, 0, 9,
         kAnyHeading},
        {FijnwerkRule7, &kFijnwerk, 7, Ring({0, 10, 0, 10, 0, 10, 0, 10}, 50), 0, 0, 0, 0, 48,
         kAnyHeading},
        {GeoVlekkensnelRule1, &kGeoVlekkensnel, 1, Ring({40, 40, 40, 40, 40, 40, 40, 40}, 21), 0, 0,
         0, 0, 59, kAnyHeading},
        {ZwavelgrotRule6, &kZwavelgrot, 6, Flat(200), 0, 57, 0, 0, 73, kAnyHeading},
        {ZwavelgrotRule6, &kZwavelgrot, 6, Flat(200), 0, 0, 0, 0, 184, kAnyHeading},
        {TegelswitzwartRule2, &kTegelswitzwart, 2,
         Ring({132, 132, 132, 132, 132, 132, 132, 132}, 50), 0, 0, 0, 0, 66, kAnyHeading},
        {TegelswitzwartRule2, &kTegelswitzwart, 2,
         Ring({131, 131, 131, 131, 131, 131, 131, 131}, 50), 0, 0, 0, 0, 115, kAnyHeading},
        {FelRule2, &kFel, 2, Ring({0, 32, 0, 32, 0, 32, 0, 32}, 100), 0, 0, 0, 0, 2, kAnyHeading},
        {FelRule2, &kFel, 2, Ring({0, 31, 0, 31, 0, 31, 0, 31}, 100), 0, 0, 0, 0, 98, kAnyHeading},
        {FelRule3, &kFel, 3, Ring({100, 100, 100, 100, 100, 100, 100, 100}, 82), -1, 0, 0, 0, 122,
         kAnyHeading},
        {FelRule0, &kFel, 0, Flat(255), 40, 0, 3, 0, 251, kAnyHeading},
        {FelRule0, &kFel, 0, Flat(0), 40, 0, 3, 0, 4, kAnyHeading},
        {FelRule0, &kFel, 0, Flat(243), 40, 0, 3, 0, 247, kAnyHeading},
        {FelRule1, &kFel, 1, Flat(255), 0, 0, 0, 0, 255, kAnyHeading},
        {FelRule2, &kFel, 2, Flat(0), 0, 0, 0, 0, 2, kAnyHeading},
        {FelRule3, &kFel, 3, Ring({0, 0, 0, 0, 0, 0, 0, 0}, 255), -1, 0, 0, 0, 3, 5},
        {FelRule3, &kFel, 3, Flat(0), -1, 0, 0, 0, 4, -2},
        {GeoVlekkensnelRule0, &kGeoVlekkensnel, 0, Flat(0), 0, 0, 0, 0, 254, kAnyHeading},
        {GeoVlekkensnelRule0, &kGeoVlekkensnel, 0, Flat(255), 0, 0, 0, 0, 253, kAnyHeading},
        {GeoVlekkensnelRule1, &kGeoVlekkensnel, 1,
         Ring({255, 255, 255, 255, 255, 255, 255, 255}, 0), 0, 0, 0, 0, 0, kAnyHeading},
        {GeoVlekkensnelRule1, &kGeoVlekkensnel, 1, Ring({0, 0, 0, 0, 0, 0, 0, 0}, 255), 0, 0, 0, 0,
         0, kAnyHeading},
        {GeoVlekkensnelRule1, &kGeoVlekkensnel, 1, Flat(90), 0, 0, 0, 0, 90, kAnyHeading},
        {GeoVlekkensnelRule2, &kGeoVlekkensnel, 2, Flat(0), 0, 1, 0, 0, 0, kAnyHeading},
        {GeoVlekkensnelRule3, &kGeoVlekkensnel, 3, Ring({9, 200, 3, 77, 0, 255, 1, 30}, 0), 0, 0, 0,
         0, 1, kAnyHeading},
        {GeoVlekkensnelRule6, &kGeoVlekkensnel, 6, Flat(255), 0, 0, 0, 0, 180, kAnyHeading},
        {RockRule0, &kRock, 0, Ring({0, 0, 0, 0, 0, 0, 255, 0}, 0), 0, 0, 0, 0, 0, kAnyHeading},
        {RockRule0, &kRock, 0, Ring({0, 0, 255, 0, 0, 0, 0, 0}, 255), 0, 0, 0, 0, 255, kAnyHeading},
        {RockRule4, &kRock, 4, Ring({10, 20, 30, 10, 20, 30, 10, 20}, 200), 0, 0, 0, 0, 31,
         kAnyHeading},
        {RockRule4, &kRock, 4, Ring({10, 20, 60, 10, 20, 60, 10, 20}, 200), 0, 0, 0, 0, 201,
         kAnyHeading},
        {RockRule4, &kRock, 4, Flat(255), 0, 0, 0, 0, 0, kAnyHeading},
        {ZoetkoraalRule0, &kZoetkoraal, 0, Flat(70), 0, 0, 0, 0, 255, kAnyHeading},
        {ZoetkoraalRule2, &kZoetkoraal, 2, Flat(1), 0, 0, 0, 0, 0, kAnyHeading},
        {ZoetkoraalRule2, &kZoetkoraal, 2, Flat(90), 0, 0, 0, 0, 88, kAnyHeading},
        {ZoetkoraalRule4, &kZoetkoraal, 4, Flat(254), 0, 0, 0, 0, 2, kAnyHeading},
        {ZwavelgrotRule0, &kZwavelgrot, 0, Flat(254), 0, 0, 0, 0, 255, kAnyHeading},
        {ZwavelgrotRule7, &kZwavelgrot, 7, Flat(0), 0, 0, 0, 0, 0, kAnyHeading},
        {TegelswitzwartRule0, &kTegelswitzwart, 0, Flat(107), 0, 0, 0, 0, 109, kAnyHeading},
        {TegelswitzwartRule0, &kTegelswitzwart, 0, Flat(255), 0, 0, 0, 0, 253, kAnyHeading},
        {TegelswitzwartRule1, &kTegelswitzwart, 1, Flat(80), 0, 24, 0, 0, 26, kAnyHeading},
        {TegelswitzwartRule1, &kTegelswitzwart, 1, Flat(80), 0, 23, 0, 0, 82, kAnyHeading},
        {TegelswitzwartRule1, &kTegelswitzwart, 1, Flat(80), 0, 254, 0, 0, 255, kAnyHeading},
        {TegelswitzwartRule2, &kTegelswitzwart, 2, Flat(131), 0, 0, 0, 0, 115, kAnyHeading},
        {TegelswitzwartRule2, &kTegelswitzwart, 2, Flat(99), 0, 0, 0, 0, 115, kAnyHeading},
        {TegelswitzwartRule3, &kTegelswitzwart, 3, Flat(115), 0, 0, 0, 0, 117, kAnyHeading},
        {TegelswitzwartRule4, &kTegelswitzwart, 4, Flat(248), 0, 0, 0, 0, 255, kAnyHeading},
        {TegelswitzwartRule5, &kTegelswitzwart, 5, Flat(100), 0, 2, 0, 0, 0, kAnyHeading},
        {TegelswitzwartRule5, &kTegelswitzwart, 5, up, 0, 2, 0, 0, 5, kAnyHeading},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        RunCase(cases[i]);
    }
}

}  // namespace
}  // namespace tintwalk
