// Community "somspaars": seven rules of its own; bot 4 borrows the rule of
// bot 3 of "paarsebergen" with a different base colour.
#include "communities/presets.h"
#include "communities/rule.h"
#include "communities/rules.h"

namespace tintwalk {

// Heads for the ring cell whose secondary value differs most from its base,
// now and then a step further round, and now and then not at all.
void SomspaarsRule0(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const int32_t r1 = Draw();
    const int32_t v = Clamp(RingMean(bot.primary) + kSignWide2[r1 & 1]);
    newState = v;

    const int32_t w = v >> 2;
    SetColour(newColour, Blend(bot.colour[0], bot.cell[0], w), Blend(bot.colour[1], bot.cell[1], w),
              (bot.cell[2] + v) >> 1);

    int32_t h = bot.heading + FanArgMaxDiff(bot.secondary, bot.secondaryBase);
    const int32_t r2 = Draw();
    if ((r2 & 63) == 63)
        h += kSign2[r2 & 1];
    const int32_t r3 = Draw();
    newHeading = (r3 & 31) == 31 ? bot.heading : h;
}

// Paints the reflected centre as lightness, keeping close to the cell's hue
// and saturation; drifts round one way.
void SomspaarsRule1(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const int32_t v = Clamp(RingReflect(bot.primary) - 4);
    newState = v;

    const int32_t w = (v >> 2) + 192;
    SetColour(newColour, Blend(bot.cell[0], bot.colour[0], w), Blend(bot.cell[1], bot.colour[1], w),
              v);

    const int32_t r = Draw();
    newHeading = bot.heading + kNudgePlus8[r & 7];
}

// Lets the ring mean sink by one and paints a hue half way to the cell's;
// heading straight from bits 2..4 of the centre's secondary value.
void SomspaarsRule2(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const int32_t v = (RingMean(bot.primary) - 1) & 0xff;
    newState = v;

    SetHueOverCell(newColour, bot, HueMidpoint(v, bot.cell[0]), 255 - (v >> 2));

    newHeading = (bot.secondary[8] >> 2) & 7;
}

// Paints the cross mean plus one as hue; heading from bits 4..6 of the
// centre's secondary value.
void SomspaarsRule3(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const int32_t v = (Cross(bot.primary) + 1) & 0xff;
    newState = v;

    SetHueOverCell(newColour, bot, v, 255 - (v >> 2));

    const int32_t h = (bot.secondary[8] >> 4) & 7;
    const int32_t r = Draw();
    newHeading = h + kJitter4[r & 3] - 3;
}

// Nudges a smooth-ground mean towards the base, keeping close to the cell's
// colour; heads for the ring cell with the largest secondary value.
void SomspaarsRule5(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    int32_t a = RingSpread(p) <= 32 ? RingMean(p) : p[8];
    a = a > bot.primaryBase ? a - 2 : a + 2;
    const int32_t v = Clamp(a);
    newState = v;

    const int32_t w = (v >> 2) + 192;
    SetColour(newColour, Blend(bot.cell[0], bot.colour[0], w), Blend(bot.cell[1], bot.colour[1], w),
              (bot.cell[2] + v) >> 1);

    const int32_t i = FanArgMaxDiff(bot.secondary, 0);
    const int32_t r = Draw();
    newHeading = bot.heading + i + kDriftMinus16[r & 15];
}

// Paints its centre mean less one as saturation; turns three steps back from
// the ring cell that differs most from its secondary base.
void SomspaarsRule6(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const int32_t v = Clamp(CentreMean(bot.primary) - 1);
    newState = v;

    const int32_t w = v >> 2;
    SetColour(newColour, Blend(bot.colour[0], bot.cell[0], w), v,
              Blend(bot.colour[2], bot.cell[2], w));

    const int32_t h = bot.heading + FanArgMaxDiff(bot.secondary, bot.secondaryBase) - 3;
    const int32_t r = Draw();
    newHeading = (r & 31) == 31 ? bot.heading : h;
}

// Paints the reflected centre (or the centre itself on smooth ground) less
// one as hue, keeping close to the cell's saturation and lightness.
void SomspaarsRule7(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    int32_t a = RingReflect(p);
    if (RingSpread(p) < 32)
        a = p[8];
    const int32_t v = (a - 1) & 0xff;
    newState = v;

    SetHueOverCell(newColour, bot, v, (v >> 2) + 192);

    const int32_t h = (bot.secondary[8] >> 4) & 7;
    const int32_t r = Draw();
    newHeading = h + kJitter4[r & 3];
}

const CommunityPreset kSomspaars =
    MakePreset<SomspaarsRule0, SomspaarsRule1, SomspaarsRule2, SomspaarsRule3, PaarsebergenRule3,
               SomspaarsRule5, SomspaarsRule6, SomspaarsRule7>(
        "somspaars", 192, {200, 207, 202},
        {
            {{14, 0, 13, 12, 13, 2, 0, 2, 2, 0, 38, 119, 221}},
            {{15, 0, 7, 11, 0, 13, 0, 0, 2, 2, 221, 27, 213}},
            {{14, 0, 5, 12, 3, 0, 0, 0, 0, 1, 110, 37, 193}},
            {{12, 0, 1, 10, 5, 5, 7, 0, 0, 2, 138, 140, 33}},
            {{11, 0, 10, 11, 4, 6, 0, 0, 0, 0, 30, 244, 15}},
            {{14, 7, 9, 13, 7, 10, 0, 0, 2, 1, 30, 111, 195}},
            {{11, 0, 5, 10, 13, 0, 7, 2, 1, 2, 97, 4, 38}},
            {{15, 5, 5, 11, 5, 5, 0, 0, 0, 0, 125, 78, 223}},
        });

}  // namespace tintwalk
