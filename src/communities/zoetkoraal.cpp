// Community "zoetkoraal": seven rules for eight bots (bots 2 and 3 share
// one). Several rules pick one neighbour's value (the one farthest from the
// centre, or the one nearest to the base) rather than averaging.
#include <cstdlib>

#include "communities/presets.h"
#include "communities/rule.h"
#include "communities/rules.h"

namespace tintwalk {

namespace {

// Mean of all nine entries, centre included.
inline int32_t Mean9(const uint8_t* a) {
    return (RingSum(a) + a[8]) / 9;
}

// The state two below a level; paints mostly the cell with a little of the
// base colour and the lightness halfway to the state; one jittering draw.
inline void SinkAndJitter(const Bot& bot, int32_t level, int32_t& newState, int32_t& newHeading,
                          HslPixel& newColour) {
    const uint8_t* cell = bot.cell;
    const uint8_t* base = bot.colour;

    const int32_t state = Clamp(level - 2);
    // The hue is mixed as a plain byte, not around the hue circle.
    const int32_t w = (state >> 2) + 192;
    SetColour(newColour, Blend(cell[0], base[0], w), Blend(cell[1], base[1], w),
              (cell[2] + state) >> 1);
    newState = state;

    const int32_t r = Draw();
    newHeading = bot.heading + kJitter8[r & 7];
}

// The ring value nearest to the base level, or the centre when that pick lies
// below the base (a fallback state below the base included).
inline int32_t PickAtOrAboveBase(const Bot& bot) {
    const int32_t v = RingPickNearest(bot.primary, bot.primaryBase, bot.state);
    return v < bot.primaryBase ? bot.primary[8] : v;
}

}  // namespace

// Takes the hue farthest from the centre, less one, and paints it; heads for
// the mix of the old heading with the direction of the largest secondary
// neighbour. No draw.
void ZoetkoraalRule0(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const uint8_t* cell = bot.cell;

    const int32_t v = RingPickFarthest(p, p[8], bot.state);
    const int32_t state = (v - 1) & 0xff;
    SetColour(newColour, state, cell[1], cell[2]);
    newState = state;

    const int32_t i = FanArgMaxDiff(bot.secondary, 0);
    newHeading = HeadingMix(bot.heading + i, bot.heading);
}

// Follows the neighbour at position 3 with a wide jitter; direction from bits
// 1..3 of the secondary centre, mixed with the old heading. One draw.
void ZoetkoraalRule1(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const uint8_t* cell = bot.cell;
    const uint8_t* base = bot.colour;

    int32_t a = p[3];
    if (RingSpread(p) > 224)
        a = p[8];
    const int32_t r = Draw();
    const int32_t state = Clamp(a + kJitterWide8[r & 7]);
    const int32_t e = state >> 2;
    SetColour(newColour, Blend(base[0], cell[0], e), Blend(base[1], cell[1], e),
              (cell[2] + state) >> 1);
    newState = state;

    const int32_t t = ((bot.secondary[8] >> 1) & 7) + 4;
    newHeading = HeadingMix(t, bot.heading);
}

// Nine-cell mean, or the centre on a calm ring, less two. One draw.
void ZoetkoraalRule2(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const int32_t a = RingSpread(p) < 32 ? p[8] : Mean9(p);
    SinkAndJitter(bot, a, newState, newHeading, newColour);
}

// Sharpens the centre against the ring on rings of extreme contrast, else
// keeps it; heads away from the first secondary neighbour (ahead outwards)
// that matches the centre, or keeps its heading when none does. No draw.
void ZoetkoraalRule4(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const uint8_t* s = bot.secondary;
    const uint8_t* cell = bot.cell;
    const uint8_t* base = bot.colour;

    int32_t a = p[8];
    if (RingSpread(p) >= 224) {
        const int32_t q = (12 * p[8] - RingSum(p)) >> 2;
        a = (3 * q * p[8]) >> 2;
    }
    const int32_t state = (a + 4) & 0xff;
    const int32_t w = (state >> 2) + 192;
    SetColour(newColour, HueMidpoint(state, cell[0]), Blend(cell[1], base[1], w),
              Blend(cell[2], base[2], w));
    newState = state;

    int32_t heading = bot.heading;
    for (int32_t k : kFanOrderFront) {
        if (std::abs(s[k] - s[8]) < 32) {
            heading = bot.heading + k + 4;
            break;
        }
    }
    newHeading = heading;
}

// Nine-cell mean less two, whatever the ring. One draw.
void ZoetkoraalRule5(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    SinkAndJitter(bot, Mean9(bot.primary), newState, newHeading, newColour);
}

// Hue nearest to (and not below) the base with a wide jitter; direction from
// bits 4..6 of the secondary centre, kept or not by the third draw. Three
// draws, always.
void ZoetkoraalRule6(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* cell = bot.cell;
    const uint8_t* base = bot.colour;

    const int32_t v = PickAtOrAboveBase(bot);
    const int32_t r1 = Draw();
    const int32_t state = (v + kJitterWide4[r1 & 3]) & 0xff;
    const int32_t e = state >> 2;
    SetColour(newColour, HueMidpoint(state, cell[0]), Blend(base[1], cell[1], e),
              Blend(base[2], cell[2], e));
    newState = state;

    int32_t t = (bot.secondary[8] >> 4) & 7;
    const int32_t r2 = Draw();
    if ((r2 & 63) == 63)
        t += 1;
    t -= 2;
    const int32_t r3 = Draw();
    newHeading = (r3 & 3) == 3 ? bot.heading : t;
}

// Lightness nearest to (and not below) the base with a wide jitter; direction
// from the spread of the secondary ring. Two draws.
void ZoetkoraalRule7(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* cell = bot.cell;

    const int32_t v = PickAtOrAboveBase(bot);
    const int32_t r1 = Draw();
    const int32_t state = Clamp(v + kJitterWide8[r1 & 7]);
    SetColour(newColour, cell[0], cell[1], (cell[2] + state) >> 1);
    newState = state;

    const int32_t t = (RingSpread(bot.secondary) >> 1) & 7;
    const int32_t r2 = Draw();
    newHeading = t + kNudgeMinus16[r2 & 15] + 2;
}

const CommunityPreset kZoetkoraal =
    MakePreset<ZoetkoraalRule0, ZoetkoraalRule1, ZoetkoraalRule2, ZoetkoraalRule2, ZoetkoraalRule4,
               ZoetkoraalRule5, ZoetkoraalRule6, ZoetkoraalRule7>(
        "zoetkoraal", 212, {203, 207, 203},
        {
            {{26, 0, 5, 1, 7, 0, 0, 3, 0, 1, 12, 173, 103}},
            {{2, 6, 15, 12, 2, 0, 4, 3, 2, 0, 56, 83, 176}},
            {{13, 5, 6, 13, 0, 6, 0, 0, 2, 0, 54, 77, 185}},
            {{13, 5, 6, 13, 0, 6, 0, 0, 2, 1, 13, 37, 136}},
            {{18, 8, 3, 13, 12, 0, 4, 0, 0, 2, 42, 114, 130}},
            {{13, 0, 6, 13, 0, 6, 0, 0, 2, 1, 16, 33, 152}},
            {{29, 1, 14, 12, 5, 2, 6, 1, 0, 2, 86, 244, 253}},
            {{29, 1, 15, 2, 19, 14, 2, 0, 2, 0, 2, 127, 140}},
        });

}  // namespace tintwalk
