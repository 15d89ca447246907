// Community "tegelswitzwart": most bots follow a saturation and paint it,
// steering by the hue or lightness of the ring around them. Every bot has a
// rule of its own.
#include "communities/presets.h"
#include "communities/rule.h"
#include "communities/rules.h"

namespace tintwalk {

namespace {

// The four ring entries at odd positions: both sides at 45 and 135 degrees.
inline int32_t OddSum(const uint8_t* a) {
    return a[1] + a[3] + a[5] + a[7];
}

// The smallest of the eight ring entries.
inline int32_t RingMin(const uint8_t* a) {
    int32_t lo = a[0];
    for (int k = 1; k < 8; ++k) {
        if (a[k] < lo)
            lo = a[k];
    }
    return lo;
}

// Steps a towards the base by `step`: down when above it, up otherwise.
inline int32_t StepTowards(int32_t a, int32_t base, int32_t step) {
    return a > base ? a - step : a + step;
}

}  // namespace

// Bot 0: the odd ring entries' mean, stepped towards the base saturation;
// turns towards the secondary value farthest from its base, and on one draw
// in four keeps its heading after all.
void TegelswitzwartRule0(const Bot& bot, int32_t& newState, int32_t& newHeading,
                         HslPixel& newColour) {
    const int32_t a = OddSum(bot.primary) >> 2;
    newState = Clamp(StepTowards(a, bot.primaryBase, 2));

    const int32_t w = newState >> 2;
    SetColour(newColour, Blend(bot.colour[0], bot.cell[0], w), newState,
              Blend(bot.colour[2], bot.cell[2], w));

    int32_t t = bot.heading + FanArgMaxDiff(bot.secondary, bot.secondaryBase);
    t += kNudgePlus8[Draw() & 7];
    newHeading = (Draw() & 3) == 3 ? bot.heading : t;
}

// Bot 1: once the state has reached the base lightness it keeps growing by 2
// up to 255; below that it restarts from the centre. Turns by 5 towards the
// brighter side, by 3 otherwise.
void TegelswitzwartRule1(const Bot& bot, int32_t& newState, int32_t& newHeading,
                         HslPixel& newColour) {
    const int32_t a = bot.state >= bot.primaryBase ? bot.state : bot.primary[8];
    newState = Clamp(a + 2);

    const int32_t w = newState >> 2;
    SetColour(newColour, Blend(bot.colour[0], bot.cell[0], w), Blend(bot.colour[1], bot.cell[1], w),
              newState);

    const uint8_t* s = bot.secondary;
    newHeading = LeftSum(s) > RightSum(s) ? bot.heading + 5 : bot.heading + 3;
}

// Bot 2: the ring mean (the centre when the mean lies far from the base),
// stepped by 16 towards the base saturation; turns towards the secondary
// value farthest from its base.
void TegelswitzwartRule2(const Bot& bot, int32_t& newState, int32_t& newHeading,
                         HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    int32_t m = RingMean(p);
    if (std::abs(bot.primaryBase - m) > 32)
        m = p[8];
    newState = Clamp(StepTowards(m, bot.primaryBase, 16));

    const int32_t w = newState >> 2;
    SetColour(newColour, Blend(bot.colour[0], bot.cell[0], w), newState,
              Blend(bot.colour[2], bot.cell[2], w));

    newHeading = bot.heading + FanArgMaxDiff(bot.secondary, bot.secondaryBase);
}

// Bot 3: the ring minimum, or the centre when the minimum is below the base
// saturation, stepped towards the base; a quarter of it goes into the cell's
// saturation. Turns away from the secondary value farthest from its base.
void TegelswitzwartRule3(const Bot& bot, int32_t& newState, int32_t& newHeading,
                         HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    int32_t a = RingMin(p);
    if (a < bot.primaryBase)
        a = p[8];
    newState = Clamp(StepTowards(a, bot.primaryBase, 2));

    SetColour(newColour, bot.cell[0], (newState + 3 * bot.cell[1]) >> 2, bot.cell[2]);

    newHeading = bot.heading + FanArgMaxDiff(bot.secondary, bot.secondaryBase) + 4;
}

// Bot 4: the mean of all nine cells, a little lighter; turns back by 3 when
// the +1 side of the ring is the brighter, by 5 otherwise, and on one draw in
// 64 by a step less.
void TegelswitzwartRule4(const Bot& bot, int32_t& newState, int32_t& newHeading,
                         HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const int32_t a = (RingSum(p) + p[8]) / 9;
    newState = Clamp(a + 8);

    const int32_t w = newState >> 2;
    SetColour(newColour, Blend(bot.colour[0], bot.cell[0], w), Blend(bot.colour[1], bot.cell[1], w),
              (bot.cell[2] + newState) >> 1);

    const uint8_t* s = bot.secondary;
    const int32_t t = LeftSum(s) > RightSum(s) ? bot.heading + 1 : bot.heading - 1;
    newHeading = (Draw() & 63) == 63 ? t - 3 : t - 4;
}

// Bot 5: the state fades by 4 a step, restarting from the centre on a ring
// of wide spread; the cell keeps most of its own colour. Turns towards the
// secondary value farthest from its base, rarely one step more.
void TegelswitzwartRule5(const Bot& bot, int32_t& newState, int32_t& newHeading,
                         HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    int32_t a = bot.state;
    if (RingSpread(p) > 224)
        a = p[8];
    newState = Clamp(a - 4);

    const int32_t w = (newState >> 2) + 192;
    SetColour(newColour, Blend(bot.cell[0], bot.colour[0], w), (bot.cell[1] + newState) >> 1,
              Blend(bot.cell[2], bot.colour[2], w));

    const int32_t t = bot.heading + FanArgMaxDiff(bot.secondary, bot.secondaryBase);
    newHeading = (Draw() & 63) == 63 ? t + 1 : t;
}

// Bot 6: the ring minimum (the centre on a ring of wide spread), stepped
// towards the base saturation; turns towards the secondary value nearest the
// secondary ring's mean, with a drift, unless one draw in 32 keeps the
// heading.
void TegelswitzwartRule6(const Bot& bot, int32_t& newState, int32_t& newHeading,
                         HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    int32_t a = RingMin(p);
    if (RingSpread(p) > 224)
        a = p[8];
    newState = Clamp(StepTowards(a, bot.primaryBase, 2));

    const int32_t w = newState >> 2;
    SetColour(newColour, Blend(bot.colour[0], bot.cell[0], w), (bot.cell[1] + newState) >> 1,
              Blend(bot.colour[2], bot.cell[2], w));

    const uint8_t* s = bot.secondary;
    int32_t t = bot.heading + FanArgMinDiff(s, RingMean(s));
    t += kDriftPlus8[Draw() & 7];
    newHeading = (Draw() & 31) == 31 ? bot.heading : t;
}

// Bot 7: five entries divided by seven (0..182) with a wide jitter; turns
// towards the secondary value nearest its base, with a drift.
void TegelswitzwartRule7(const Bot& bot, int32_t& newState, int32_t& newHeading,
                         HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const int32_t a = (OddSum(p) + p[8]) / 7;
    newState = Clamp(a + kJitterWide4[Draw() & 3]);

    const int32_t w = newState >> 2;
    SetColour(newColour, Blend(bot.colour[0], bot.cell[0], w), Blend(bot.colour[1], bot.cell[1], w),
              newState);

    const int32_t t = bot.heading + FanArgMinDiff(bot.secondary, bot.secondaryBase);
    newHeading = t + kDriftPlus8[Draw() & 7];
}

const CommunityPreset kTegelswitzwart =
    MakePreset<TegelswitzwartRule0, TegelswitzwartRule1, TegelswitzwartRule2, TegelswitzwartRule3,
               TegelswitzwartRule4, TegelswitzwartRule5, TegelswitzwartRule6, TegelswitzwartRule7>(
        "tegelswitzwart", 220, {199, 205, 196},
        {
            {{12, 0, 9, 10, 13, 13, 0, 1, 1, 0, 47, 107, 138}},
            {{0, 1, 2, 10, 21, 0, 4, 0, 2, 2, 92, 20, 24}},
            {{14, 4, 12, 10, 13, 0, 0, 0, 1, 2, 0, 99, 211}},
            {{24, 1, 9, 3, 13, 0, 4, 0, 1, 2, 181, 115, 71}},
            {{13, 0, 4, 12, 21, 4, 8, 0, 2, 2, 68, 88, 160}},
            {{0, 6, 7, 13, 13, 4, 0, 0, 1, 0, 98, 184, 69}},
            {{24, 6, 9, 12, 15, 9, 0, 2, 1, 0, 26, 37, 89}},
            {{10, 0, 14, 10, 14, 9, 0, 0, 2, 0, 25, 126, 126}},
        });

}  // namespace tintwalk
