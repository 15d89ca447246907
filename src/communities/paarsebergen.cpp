// Community "paarsebergen": seven rules for eight bots (bots 0 and 1 share
// one) that mostly paint hues of their own value and steer by bit fields of
// the centre's secondary value. The rule of bot 3 also serves "somspaars".
#include "communities/presets.h"
#include "communities/rule.h"
#include "communities/rules.h"

namespace tintwalk {

// Paints the jittered cross mean as hue; heading from bits 2..4 of the
// centre's secondary value.
void PaarsebergenRule0(const Bot& bot, int32_t& newState, int32_t& newHeading,
                       HslPixel& newColour) {
    const int32_t r1 = Draw();
    const int32_t v = (Cross(bot.primary) + kJitterWide4[r1 & 3]) & 0xff;
    newState = v;

    SetHueOverCell(newColour, bot, v, 255 - (v >> 2));

    const int32_t h = (bot.secondary[8] >> 2) & 7;
    const int32_t r2 = Draw();
    newHeading = h + kDriftMinus16[r2 & 15] + 3;
}

// A damped cross-and-centre sum, pushed towards the base; backs off sharply
// unless the secondary channel is perfectly flat.
void PaarsebergenRule2(const Bot& bot, int32_t& newState, int32_t& newHeading,
                       HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const uint8_t* s = bot.secondary;
    // Five entries over seven, on purpose: the value never exceeds 182.
    int32_t a = (p[1] + p[3] + p[5] + p[7] + p[8]) / 7;
    a = a > bot.primaryBase ? a - 4 : a + 4;
    const int32_t v = Clamp(a);
    newState = v;

    const int32_t w = v >> 2;
    SetColour(newColour, Blend(bot.colour[0], bot.cell[0], w), Blend(bot.colour[1], bot.cell[1], w),
              (bot.cell[2] + v) >> 1);

    const int32_t h = EvenGround(s) ? bot.heading : bot.heading + 4;
    newHeading = HeadingMix(h - 2, bot.heading);
}

// Paints its centre mean as hue and keeps close to the cell's saturation
// and lightness; heading from bits 3..5 of the centre's secondary value.
void PaarsebergenRule3(const Bot& bot, int32_t& newState, int32_t& newHeading,
                       HslPixel& newColour) {
    int32_t e = CentreMean(bot.primary);
    e = e > bot.primaryBase ? e - 4 : e + 4;
    const int32_t v = e & 0xff;
    newState = v;

    SetHueOverCell(newColour, bot, v, (v >> 2) + 192);

    const int32_t h = (bot.secondary[8] >> 3) & 7;
    const int32_t r = Draw();
    newHeading = h + kJitter8[r & 7];
}

// Holds the highest value seen while it stays below the base, letting it
// decay by one per step; heads for the ring cell nearest its secondary base.
void PaarsebergenRule4(const Bot& bot, int32_t& newState, int32_t& newHeading,
                       HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    int32_t a = p[8] > bot.state ? p[8] : bot.state;
    if (a > bot.primaryBase)
        a = p[8];
    const int32_t v = Clamp(a - 1);
    newState = v;

    const int32_t w = v >> 2;
    SetColour(newColour, Blend(bot.colour[0], bot.cell[0], w), Blend(bot.colour[1], bot.cell[1], w),
              (bot.cell[2] + v) >> 1);

    const int32_t i = FanArgMinDiff(bot.secondary, bot.secondaryBase);
    const int32_t r = Draw();
    newHeading = bot.heading + i + kJitter4[r & 3];
}

// Paints the centre reflected through the ring as hue on smooth ground;
// heading mixed from bits 4..6 of the centre's secondary value.
void PaarsebergenRule5(const Bot& bot, int32_t& newState, int32_t& newHeading,
                       HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    int32_t a = RingReflect(p);
    if (RingSpread(p) > 32)
        a = p[8];
    a = a > bot.primaryBase ? a - 4 : a + 4;
    const int32_t v = a & 0xff;
    newState = v;

    SetHueOverCell(newColour, bot, v, 255 - (v >> 2));

    const int32_t n = ((bot.secondary[8] >> 4) & 7) + 3;
    newHeading = HeadingMix(n, bot.heading);
}

// Paints the jittered centre mean as lightness; heading from bits 2..4 of
// the centre's secondary value.
void PaarsebergenRule6(const Bot& bot, int32_t& newState, int32_t& newHeading,
                       HslPixel& newColour) {
    const int32_t r = Draw();
    const int32_t v = Clamp(CentreMean(bot.primary) + kJitterWide8[r & 7]);
    newState = v;

    const int32_t w = v >> 2;
    SetColour(newColour, Blend(bot.colour[0], bot.cell[0], w), Blend(bot.colour[1], bot.cell[1], w),
              v);

    newHeading = ((bot.secondary[8] >> 2) & 7) - 3;
}

// Paints a hue half way between its value and the cell's; heads for the
// ring cell whose secondary value differs most from its base.
void PaarsebergenRule7(const Bot& bot, int32_t& newState, int32_t& newHeading,
                       HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const int32_t a = RingSpread(p) >= 32 ? RingMean(p) : p[8];
    const int32_t r = Draw();
    const int32_t v = (a + kSignWide2[r & 1]) & 0xff;
    newState = v;

    SetHueOverCell(newColour, bot, HueMidpoint(v, bot.cell[0]), 255 - (v >> 2));

    newHeading = bot.heading + FanArgMaxDiff(bot.secondary, bot.secondaryBase);
}

const CommunityPreset kPaarsebergen =
    MakePreset<PaarsebergenRule0, PaarsebergenRule0, PaarsebergenRule2, PaarsebergenRule3,
               PaarsebergenRule4, PaarsebergenRule5, PaarsebergenRule6, PaarsebergenRule7>(
        "paarsebergen", 192, {198, 200, 203},
        {
            {{12, 0, 14, 10, 3, 10, 3, 0, 0, 0, 8, 127, 72}},
            {{12, 0, 14, 10, 3, 10, 3, 0, 0, 0, 19, 134, 97}},
            {{10, 0, 10, 12, 17, 0, 6, 3, 2, 1, 181, 34, 177}},
            {{11, 0, 10, 11, 4, 6, 0, 0, 0, 0, 40, 216, 26}},
            {{7, 2, 5, 12, 14, 5, 0, 0, 2, 1, 113, 158, 102}},
            {{15, 7, 10, 10, 5, 0, 3, 3, 0, 1, 88, 8, 140}},
            {{11, 0, 15, 10, 3, 0, 7, 0, 2, 1, 99, 253, 70}},
            {{14, 5, 13, 12, 13, 0, 0, 0, 0, 1, 8, 106, 244}},
        });

}  // namespace tintwalk
