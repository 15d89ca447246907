// Community "rock": eight bots, eight rules of their own. Four of them take
// their direction from a few bits of the secondary value under the bot, so
// that those bots are steered by the colour field they cross.
#include <cstdlib>

#include "communities/presets.h"
#include "communities/rule.h"
#include "communities/rules.h"

namespace tintwalk {

namespace {

// Mean of the four diagonal ring entries (odd positions), or the centre on a
// ring of extreme contrast.
inline int32_t DiagonalMean(const uint8_t* p) {
    if (RingSpread(p) > 224)
        return p[8];
    return (p[1] + p[3] + p[5] + p[7]) >> 2;
}

// Steps a value two towards the base level; a value at the base goes up.
inline int32_t StepTowards(int32_t a, int32_t base) {
    return a > base ? a - 2 : a + 2;
}

// Keeps the cell, pulling its saturation a quarter of the way to the state.
inline void PaintSaturation(const uint8_t* cell, int32_t state, HslPixel& colour) {
    SetColour(colour, cell[0], (3 * cell[1] + state) >> 2, cell[2]);
}

// Turns one way or the other by which side of the secondary ring is more
// varied, then drifts and backs off by three; one draw.
inline int32_t SideSpreadHeading(const Bot& bot) {
    const uint8_t* s = bot.secondary;
    const int32_t t = LeftSpread(s) > RightSpread(s) ? bot.heading + 1 : bot.heading - 1;
    const int32_t r = Draw();
    return t + kDriftMinus16[r & 15] - 3;
}

}  // namespace

// Lightness from an edge filter across the ring; direction from bits 3..5 of
// the secondary centre, kept or not by the second draw. Two draws.
void RockRule0(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const uint8_t* cell = bot.cell;
    const uint8_t* base = bot.colour;

    const int32_t a = (((3 * p[2] - p[6]) >> 1) + p[8]) >> 1;
    const int32_t state = Clamp(a);
    const int32_t e = state >> 2;
    SetColour(newColour, Blend(base[0], cell[0], e), Blend(base[1], cell[1], e), state);
    newState = state;

    int32_t t = (bot.secondary[8] >> 3) & 7;
    const int32_t r1 = Draw();
    if ((r1 & 63) == 63)
        t += 1;
    t -= 1;
    const int32_t r2 = Draw();
    newHeading = (r2 & 3) == 3 ? bot.heading : t;
}

// Holds its state near the base saturation; mixes a direction from the
// secondary centre with the old heading. No draw.
void RockRule1(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* cell = bot.cell;
    const uint8_t* base = bot.colour;

    int32_t a = bot.state;
    if (std::abs(bot.primaryBase - bot.state) > 32)
        a = bot.primary[8];
    const int32_t state = Clamp(StepTowards(a, bot.primaryBase));
    const int32_t e = state >> 2;
    SetColour(newColour, Blend(base[0], cell[0], e), (cell[1] + state) >> 1,
              Blend(base[2], cell[2], e));
    newState = state;

    const int32_t t = ((bot.secondary[8] >> 3) & 7) - 3;
    newHeading = HeadingMix(t, bot.heading);
}

// Diagonal mean plus four, painted into the saturation; one draw.
void RockRule2(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const int32_t state = Clamp(DiagonalMean(bot.primary) + 4);
    PaintSaturation(bot.cell, state, newColour);
    newState = state;
    newHeading = SideSpreadHeading(bot);
}

// Ring mean held near the base saturation; paints and steers as RockRule2.
// One draw.
void RockRule3(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;

    int32_t a = RingMean(p);
    if (std::abs(bot.primaryBase - a) > 32)
        a = p[8];
    const int32_t state = Clamp(StepTowards(a, bot.primaryBase));
    PaintSaturation(bot.cell, state, newColour);
    newState = state;
    newHeading = SideSpreadHeading(bot);
}

// Centre hue kept within the ring's range on a calm ring, plus one; the
// cell's hue moves a quarter of the way to it. One draw.
void RockRule4(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const uint8_t* cell = bot.cell;

    int32_t lo = p[0];
    int32_t hi = p[0];
    for (int k = 1; k < 8; ++k) {
        if (p[k] < lo)
            lo = p[k];
        if (p[k] > hi)
            hi = p[k];
    }
    int32_t a = p[8] < lo ? lo : (p[8] > hi ? hi : p[8]);
    if (hi - lo > 32)  // the ring's spread
        a = p[8];
    const int32_t state = (a + 1) & 0xff;
    SetColour(newColour, HueApproach4(state, cell[0]), cell[1], cell[2]);
    newState = state;

    const int32_t r = Draw();
    newHeading = bot.heading + kDriftPlus8[r & 7];
}

// The higher of centre and state while that stays at or below the base;
// direction from bits 1..3 of the secondary centre. One draw.
void RockRule5(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;

    int32_t a = p[8] > bot.state ? p[8] : bot.state;
    if (a > bot.primaryBase)
        a = p[8];
    const int32_t state = Clamp(a + 4);
    PaintSaturation(bot.cell, state, newColour);
    newState = state;

    const int32_t t = (bot.secondary[8] >> 1) & 7;
    const int32_t r = Draw();
    newHeading = t + kNudgePlus8[r & 7] + 2;
}

// Follows the centre when it is near the state, but only near the base;
// turns by -3 or -5 by which side of the secondary ring is heavier. No draw.
void RockRule6(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const uint8_t* s = bot.secondary;
    const uint8_t* cell = bot.cell;
    const uint8_t* base = bot.colour;

    int32_t a = bot.state;
    if (std::abs(p[8] - bot.state) < 64)
        a = p[8];
    if (std::abs(bot.primaryBase - a) > 32)
        a = p[8];
    const int32_t state = Clamp(a);
    const int32_t e = state >> 2;
    SetColour(newColour, Blend(base[0], cell[0], e), (cell[1] + state) >> 1,
              Blend(base[2], cell[2], e));
    newState = state;

    const int32_t left = s[1] + s[2] + s[3];
    const int32_t right = s[5] + s[6] + s[7];
    newHeading = left < right ? bot.heading - 3 : bot.heading - 5;
}

// Diagonal hue mean plus one, mixed halfway into the cell's hue; direction
// from bits 3..5 of the secondary centre, kept or not by the draw.
void RockRule7(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* cell = bot.cell;

    const int32_t state = (DiagonalMean(bot.primary) + 1) & 0xff;
    SetColour(newColour, HueMidpoint(state, cell[0]), cell[1], cell[2]);
    newState = state;

    const int32_t t = ((bot.secondary[8] >> 3) & 7) + 3;
    const int32_t r = Draw();
    newHeading = (r & 3) == 3 ? bot.heading : t;
}

const CommunityPreset kRock =
    MakePreset<RockRule0, RockRule1, RockRule2, RockRule3, RockRule4, RockRule5, RockRule6,
               RockRule7>("rock", 0, {200, 204, 203},
                          {
                              {{23, 0, 0, 10, 4, 2, 5, 1, 2, 1, 110, 27, 112}},
                              {{0, 4, 9, 12, 4, 0, 7, 3, 1, 0, 28, 64, 22}},
                              {{12, 6, 3, 3, 22, 10, 7, 0, 1, 1, 236, 224, 244}},
                              {{14, 4, 9, 3, 22, 10, 7, 0, 1, 1, 236, 231, 212}},
                              {{35, 7, 1, 3, 0, 9, 0, 0, 0, 0, 6, 110, 33}},
                              {{7, 2, 3, 3, 2, 13, 2, 0, 1, 2, 68, 87, 195}},
                              {{9, 4, 0, 12, 20, 0, 8, 0, 1, 0, 50, 221, 15}},
                              {{12, 6, 1, 2, 4, 0, 3, 1, 0, 1, 219, 175, 212}},
                          });

}  // namespace tintwalk
