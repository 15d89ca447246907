// Community "fel": four kinds of bot, two of each; the bots of a pair differ
// only in their base colour. Only FelRule1 draws; FelRule2 turns by two at
// every step, so its bots circle one small square of four cells for ever.
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

}  // namespace

// Lightness follower: steps the centre four towards the base level, paints
// the cell's lightness halfway to it and turns towards the first neighbour
// (ahead outwards) that matches the centre of the secondary channel.
void FelRule0(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const uint8_t* s = bot.secondary;
    const uint8_t* cell = bot.cell;

    const int32_t a = p[8] > bot.primaryBase ? p[8] - 4 : p[8] + 4;
    const int32_t state = Clamp(a);
    SetColour(newColour, cell[0], cell[1], (cell[2] + state) >> 1);
    newState = state;

    int32_t heading = bot.heading - 6;
    for (int32_t k : kFanOrderFront) {
        if (std::abs(s[k] - s[8]) < 16) {
            heading = bot.heading + k - 2;
            break;
        }
    }
    newHeading = heading;
}

// Mean follower with a rare nudge to the right; two draws.
void FelRule1(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* cell = bot.cell;
    const uint8_t* base = bot.colour;

    const int32_t a = Mean9(bot.primary);
    const int32_t e = a >> 2;
    SetColour(newColour, HueMidpoint(a, cell[0]), Blend(base[1], cell[1], e),
              Blend(base[2], cell[2], e));
    newState = a;

    const int32_t r1 = Draw();
    const int32_t t = bot.heading + kNudgePlus16[r1 & 15];
    const int32_t r2 = Draw();
    newHeading = (r2 & 31) == 31 ? bot.heading : t;
}

// Square walker: a fixed turn of two, so four steps bring the bot back.
void FelRule2(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const uint8_t* cell = bot.cell;
    const uint8_t* base = bot.colour;

    int32_t v = RingPickNearest(p, RingMean(p), p[8]);
    if (RingSpread(p) < 32)
        v = p[8];
    v = v > bot.primaryBase ? v - 2 : v + 2;
    const int32_t state = Clamp(v);

    // Mostly the cell, a little of the base; the hue is mixed as a plain byte.
    const int32_t w = (state >> 2) + 192;
    SetColour(newColour, Blend(cell[0], base[0], w), Blend(cell[1], base[1], w), state);
    newState = state;
    newHeading = bot.heading + 2;
}

// Hue painter: reflects the centre through the ring while that stays near the
// base hue, and takes its direction from three bits of the secondary centre.
void FelRule3(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const uint8_t* cell = bot.cell;
    const uint8_t* base = bot.colour;

    int32_t a = RingReflect(p);
    if (std::abs(bot.primaryBase - a) > 32)
        a = p[8];
    const int32_t state = (a + 4) & 0xff;

    const int32_t w = (state >> 2) + 192;
    SetColour(newColour, state, Blend(cell[1], base[1], w), Blend(cell[2], base[2], w));
    newState = state;
    newHeading = ((bot.secondary[8] >> 3) & 7) - 2;
}

const CommunityPreset kFel =
    MakePreset<FelRule0, FelRule1, FelRule2, FelRule3, FelRule2, FelRule3, FelRule0, FelRule1>(
        "fel", 143, {198, 204, 199},
        {
            {{5, 0, 10, 2, 11, 0, 6, 0, 2, 0, 205, 87, 243}},
            {{13, 0, 0, 12, 0, 15, 0, 2, 0, 1, 174, 247, 91}},
            {{32, 5, 9, 11, 0, 0, 2, 0, 2, 1, 232, 15, 84}},
            {{15, 4, 3, 11, 4, 0, 6, 0, 0, 0, 150, 40, 154}},
            {{32, 5, 9, 11, 0, 0, 2, 0, 2, 1, 243, 30, 57}},
            {{15, 4, 3, 11, 4, 0, 6, 0, 0, 0, 149, 17, 192}},
            {{5, 0, 10, 2, 11, 0, 6, 0, 2, 0, 195, 66, 224}},
            {{13, 0, 0, 12, 0, 15, 0, 2, 0, 1, 187, 227, 78}},
        });

}  // namespace tintwalk
