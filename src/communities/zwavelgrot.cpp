// Community "zwavelgrot": mostly repaints lightness and pulls hue and
// saturation gently towards each bot's base colour. Bots 0 and 1 share a
// rule; three of the rules take their direction straight from bits of the
// secondary value under the bot.
#include "communities/presets.h"
#include "communities/rule.h"
#include "communities/rules.h"

namespace tintwalk {

namespace {

// The four ring entries at odd positions: both sides at 45 and 135 degrees.
inline int32_t OddSum(const uint8_t* a) {
    return a[1] + a[3] + a[5] + a[7];
}

// Hue and saturation mostly the cell's own, with a little of the base colour
// mixed in; the weight grows with the state v (192..255). The hue is mixed
// as a plain number, not around the hue circle. The lightness is given.
inline void WBlend(HslPixel& colour, const Bot& bot, int32_t v, int32_t lightness) {
    const int32_t w = (v >> 2) + 192;
    SetColour(colour, Blend(bot.cell[0], bot.colour[0], w), Blend(bot.cell[1], bot.colour[1], w),
              lightness);
}

}  // namespace

// Bots 0 and 1: follow the ring value farthest from the base lightness (the
// centre on a flat ring); the heading is bits 3..5 of the secondary centre.
void ZwavelgrotRule0(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    int32_t v = RingPickFarthest(p, bot.primaryBase, bot.state);
    if (RingSpread(p) < 32)
        v = p[8];
    newState = Clamp(v + 2);

    WBlend(newColour, bot, newState, newState);

    const int32_t t = (bot.secondary[8] >> 3) & 7;
    newHeading = t + kNudgePlus16[Draw() & 15];
}

// Bot 2: paints the mean hue of the odd ring entries and turns away from
// the largest secondary value.
void ZwavelgrotRule2(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    int32_t a = OddSum(p) >> 2;
    if (RingSpread(p) > 224)
        a = p[8];
    newState = a;

    SetHueOverCell(newColour, bot, a, (a >> 2) + 192);

    newHeading = bot.heading + FanArgMaxDiff(bot.secondary, 0) + 4;
}

// Bot 3: a damped mean of the odd ring entries and the centre, stepped
// towards the base lightness; the heading is bits 3..5 of the secondary
// centre, whatever the old heading was.
void ZwavelgrotRule3(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    int32_t a = (OddSum(p) + p[8]) / 7;
    if (RingSpread(p) > 224)
        a = p[8];
    a = a > bot.primaryBase ? a - 2 : a + 2;
    newState = Clamp(a);

    WBlend(newColour, bot, newState, newState);

    newHeading = (bot.secondary[8] >> 3) & 7;
}

// Bot 4: the centre reflected through the ring, stepped by 8 towards the
// base lightness; turns towards the busier side, or keeps its heading on
// one draw in four.
void ZwavelgrotRule4(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    int32_t a = RingReflect(bot.primary);
    a = a > bot.primaryBase ? a - 8 : a + 8;
    newState = Clamp(a);

    const int32_t e = newState >> 2;
    SetColour(newColour, Blend(bot.colour[0], bot.cell[0], e), Blend(bot.colour[1], bot.cell[1], e),
              (bot.cell[2] + newState) >> 1);

    const uint8_t* s = bot.secondary;
    const int32_t t = LeftSpread(s) > RightSpread(s) ? bot.heading + 1 : bot.heading - 1;
    newHeading = (Draw() & 3) == 3 ? bot.heading : t;
}

// Bot 5: paints the mean hue of a calm ring, one step further round;
// reverses, or nearly so. The draw can add 7 to t, which the mix with the
// old heading cancels out again, but it is always taken.
void ZwavelgrotRule5(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    int32_t a = OddSum(p) >> 2;
    if (RingSpread(p) > 32)
        a = p[8];
    newState = (a + 1) & 0xff;
    SetColour(newColour, newState, bot.cell[1], bot.cell[2]);

    const uint8_t* s = bot.secondary;
    int32_t t = LeftSpread(s) < RightSpread(s) ? bot.heading + 1 : bot.heading - 1;
    if ((Draw() & 63) == 63)
        t += 7;
    newHeading = HeadingMix(t + 2, bot.heading);
}

// Bot 6: the darker of the centre and the state (the centre when that lies
// too far from the base), stepped by 16 towards the base lightness; the
// heading is bits 4..6 of the secondary centre with a little jitter.
void ZwavelgrotRule6(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    int32_t a = p[8] < bot.state ? p[8] : bot.state;
    if (std::abs(bot.primaryBase - a) > 128)
        a = p[8];
    a = a > bot.primaryBase ? a - 16 : a + 16;
    newState = Clamp(a);

    WBlend(newColour, bot, newState, newState);

    const int32_t t = (bot.secondary[8] >> 4) & 7;
    newHeading = t + kJitter8[Draw() & 7];
}

// Bot 7: the odd ring entries' mean, a little darker, halfway into the
// cell's lightness; drifts slowly round.
void ZwavelgrotRule7(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    newState = Clamp((OddSum(bot.primary) >> 2) - 2);

    WBlend(newColour, bot, newState, (bot.cell[2] + newState) >> 1);

    newHeading = bot.heading + kDriftPlus16[Draw() & 15];
}

const CommunityPreset kZwavelgrot =
    MakePreset<ZwavelgrotRule0, ZwavelgrotRule0, ZwavelgrotRule2, ZwavelgrotRule3, ZwavelgrotRule4,
               ZwavelgrotRule5, ZwavelgrotRule6, ZwavelgrotRule7>(
        "zwavelgrot", 224, {197, 206, 202},
        {
            {{28, 5, 2, 11, 4, 15, 0, 0, 2, 2, 126, 181, 251}},
            {{28, 5, 2, 11, 4, 15, 0, 0, 2, 2, 139, 200, 228}},
            {{12, 6, 0, 11, 7, 0, 4, 0, 0, 1, 249, 88, 216}},
            {{10, 6, 9, 11, 4, 0, 0, 0, 2, 0, 10, 41, 240}},
            {{15, 0, 11, 12, 22, 0, 0, 1, 2, 2, 194, 97, 212}},
            {{12, 7, 1, 1, 23, 1, 2, 3, 0, 0, 248, 219, 67}},
            {{6, 3, 12, 11, 5, 6, 0, 0, 2, 2, 113, 105, 185}},
            {{12, 0, 6, 13, 0, 11, 0, 0, 2, 1, 131, 4, 73}},
        });

}  // namespace tintwalk
