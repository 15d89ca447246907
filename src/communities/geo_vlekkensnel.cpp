// Community "geo&vlekkensnel": quick blotches over geometric tracks. Eight
// bots, each with a rule of its own. The state follows the lightness for bots
// 2 to 5, the hue for bots 0, 6 and 7 and the saturation for bot 1; the
// secondary channel steers, and the base colour is what the blends pull to.
#include "communities/presets.h"
#include "communities/rule.h"
#include "communities/rules.h"

namespace tintwalk {

namespace {

// Sum of the four ring entries at 45 and 135 degrees to either side of the
// heading (entries 1, 3, 5 and 7).
inline int32_t CrossSum(const uint8_t* p) {
    return p[1] + p[3] + p[5] + p[7];
}

// The cross and the centre, five entries, divided by 7: 0..182.
inline int32_t CrossCentreSeventh(const uint8_t* p) {
    return (CrossSum(p) + p[8]) / 7;
}

// +1 when the -1 side of s (entries 5, 6, 7) sums higher than the +1 side
// (entries 1, 2, 3), -1 otherwise.
inline int32_t TowardsHigherSide(const uint8_t* s) {
    return s[1] + s[2] + s[3] < s[5] + s[6] + s[7] ? 1 : -1;
}

}  // namespace

void GeoVlekkensnelRule0(const Bot& bot, int32_t& newState, int32_t& newHeading,
                         HslPixel& newColour) {
    const uint8_t* s = bot.secondary;
    const int32_t v = ((CrossSum(bot.primary) >> 2) - 2) & 0xff;
    newState = v;
    SetColour(newColour, HueMidpoint(v, bot.cell[0]), (31 * bot.cell[1] + bot.colour[1]) >> 5,
              (31 * bot.cell[2] + bot.colour[2]) >> 5);

    // Towards the ring position that lies nearest to the ring's mean.
    const int32_t i = FanArgMinDiff(s, RingMean(s));
    const int32_t r = Draw();
    newHeading = bot.heading + i + kJitter4[r & 3];
}

void GeoVlekkensnelRule1(const Bot& bot, int32_t& newState, int32_t& newHeading,
                         HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    int32_t a = RingReflect(p);
    if (a > bot.primaryBase)
        a = p[8];
    const int32_t v = Clamp(a);
    newState = v;
    SetColour(newColour, bot.cell[0], (bot.cell[1] + v) >> 1, bot.cell[2]);
    newHeading = bot.heading + FanArgMinDiff(bot.secondary, 0) + 3;
}

void GeoVlekkensnelRule2(const Bot& bot, int32_t& newState, int32_t& newHeading,
                         HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const int32_t larger = p[8] > bot.state ? p[8] : bot.state;
    const int32_t v = Clamp(larger - 2);
    newState = v;
    SetColour(newColour, bot.cell[0], bot.cell[1], v);

    const int32_t t = bot.heading + TowardsHigherSide(bot.secondary);
    const int32_t r = Draw();
    newHeading = t + kJitter16[r & 15] - 4;
}

void GeoVlekkensnelRule3(const Bot& bot, int32_t& newState, int32_t& newHeading,
                         HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const uint8_t* s = bot.secondary;
    const int32_t q = (p[2] + p[3] + p[4] + 2 * p[8] - p[0] - p[6] - p[7]) >> 1;
    // At most 3 * 637 * 255: well inside 32 bits.
    int32_t a = (3 * q * p[8]) >> 2;
    if (RingSpread(p) > 224)
        a = p[8];
    const int32_t v = Clamp(a + 1);
    newState = v;

    const int32_t e = v >> 2;
    SetColour(newColour, Blend(bot.colour[0], bot.cell[0], e), Blend(bot.colour[1], bot.cell[1], e),
              v);

    int32_t t = s[1] + s[2] + s[3] > s[5] + s[6] + s[7] ? bot.heading + 1 : bot.heading - 1;
    const int32_t r = Draw();
    if ((r & 63) == 63)
        t = t + 1;
    newHeading = t - 4;
}

void GeoVlekkensnelRule4(const Bot& bot, int32_t& newState, int32_t& newHeading,
                         HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    int32_t a = p[8] < bot.state ? p[8] : bot.state;
    if (RingSpread(p) < 32)
        a = p[8];
    const int32_t v = Clamp(a);
    newState = v;
    SetColour(newColour, HueApproach16(bot.colour[0], bot.cell[0]),
              (15 * bot.cell[1] + bot.colour[1]) >> 4, (bot.cell[2] + v) >> 1);

    const int32_t t = bot.heading + TowardsHigherSide(bot.secondary) - 4;
    const int32_t r = Draw();
    newHeading = (r & 31) == 31 ? bot.heading : t;
}

void GeoVlekkensnelRule5(const Bot& bot, int32_t& newState, int32_t& newHeading,
                         HslPixel& newColour) {
    const int32_t v = bot.primary[7];
    newState = v;
    const int32_t e = v >> 2;
    SetColour(newColour, Blend(bot.colour[0], bot.cell[0], e), Blend(bot.colour[1], bot.cell[1], e),
              (bot.cell[2] + v) >> 1);

    const int32_t r = Draw();
    newHeading = bot.heading + FanArgMinDiff(bot.secondary, 0) + kJitter16[r & 15] + 1;
}

void GeoVlekkensnelRule6(const Bot& bot, int32_t& newState, int32_t& newHeading,
                         HslPixel& newColour) {
    const int32_t v = (CrossCentreSeventh(bot.primary) - 2) & 0xff;
    newState = v;
    SetHueOverCell(newColour, bot, HueMidpoint(v, bot.cell[0]), (v >> 2) + 192);

    const int32_t r = Draw();
    newHeading = bot.heading + FanArgMinDiff(bot.secondary, 0) + kDriftMinus8[r & 7];
}

void GeoVlekkensnelRule7(const Bot& bot, int32_t& newState, int32_t& newHeading,
                         HslPixel& newColour) {
    const int32_t a = CrossCentreSeventh(bot.primary);
    const int32_t r1 = Draw();
    const int32_t v = (a + kSignWide2[r1 & 1]) & 0xff;
    newState = v;
    SetColour(newColour, HueMidpoint(v, bot.cell[0]), (15 * bot.cell[1] + bot.colour[1]) >> 4,
              (15 * bot.cell[2] + bot.colour[2]) >> 4);

    const int32_t r2 = Draw();
    newHeading = bot.heading + FanArgMaxDiff(bot.secondary, 0) + kDriftPlus8[r2 & 7];
}

const CommunityPreset kGeoVlekkensnel =
    MakePreset<GeoVlekkensnelRule0, GeoVlekkensnelRule1, GeoVlekkensnelRule2, GeoVlekkensnelRule3,
               GeoVlekkensnelRule4, GeoVlekkensnelRule5, GeoVlekkensnelRule6, GeoVlekkensnelRule7>(
        "geo&vlekkensnel", 0, {202, 202, 200},
        {
            {{12, 0, 6, 6, 15, 5, 0, 0, 0, 2, 238, 56, 130}},
            {{15, 2, 0, 2, 6, 0, 3, 0, 1, 0, 96, 59, 197}},
            {{7, 0, 6, 1, 20, 7, 8, 0, 2, 2, 131, 206, 218}},
            {{21, 6, 1, 10, 21, 2, 8, 0, 2, 2, 202, 70, 29}},
            {{6, 5, 0, 5, 20, 0, 8, 2, 2, 2, 183, 29, 242}},
            {{1, 0, 0, 12, 6, 7, 1, 0, 2, 2, 128, 199, 185}},
            {{10, 0, 6, 13, 6, 8, 0, 0, 0, 2, 94, 6, 234}},
            {{10, 0, 13, 5, 7, 9, 0, 0, 0, 0, 50, 202, 105}},
        });

}  // namespace tintwalk
