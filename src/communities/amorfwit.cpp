// Community "amorfwit": eight bots with a rule each, painting soft, pale
// shapes whose lightness follows the neighbourhood while the hue leans on
// each bot's own base colour.
#include <cstdlib>

#include "communities/presets.h"
#include "communities/rule.h"
#include "communities/rules.h"

namespace tintwalk {

namespace {

// Truncated mean of all nine entries, centre included.
inline int32_t Mean9(const uint8_t* p) {
    return (RingSum(p) + p[8]) / 9;
}

// The colour and heading that bots 2 and 3 share for a new state v: hue and
// lightness lean towards the base colour in proportion to v, the saturation
// is v itself; the heading comes from the centre's secondary value, with a
// drift and, once in 32 calls, a stubborn keep of the old heading.
inline void BaseBlendAndCentreHeading(const Bot& bot, int32_t v, int32_t& newHeading,
                                      HslPixel& newColour) {
    const int32_t w = v >> 2;
    SetColour(newColour, Blend(bot.colour[0], bot.cell[0], w), v,
              Blend(bot.colour[2], bot.cell[2], w));

    int32_t h = bot.secondary[8] & 7;
    const int32_t r1 = Draw();
    h = h + kDriftMinus16[r1 & 15] + 4;
    const int32_t r2 = Draw();
    newHeading = (r2 & 31) == 31 ? bot.heading : h;
}

}  // namespace

// Paints the nine-cell mean as lightness unless it strays far from the base.
void AmorfwitRule0(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const int32_t m = Mean9(p);
    const int32_t v = std::abs(bot.primaryBase - m) > 128 ? p[8] : m;
    newState = v;

    const int32_t w = v >> 2;
    SetColour(newColour, Blend(bot.colour[0], bot.cell[0], w), Blend(bot.colour[1], bot.cell[1], w),
              v);

    const int32_t r1 = Draw();
    const int32_t h = bot.heading + kJitter16[r1 & 15] + 1;
    const int32_t r2 = Draw();
    newHeading = (r2 & 3) == 3 ? bot.heading : h;
}

// Keeps the cell's hue and saturation and smooths its lightness; turns
// towards the side of the larger secondary sum (the +1 side wins only when
// strictly larger).
void AmorfwitRule1(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const uint8_t* s = bot.secondary;
    const int32_t v = RingSpread(p) <= 224 ? RingMean(p) : p[8];
    newState = v;

    SetColour(newColour, bot.cell[0], bot.cell[1], v);

    const int32_t h = LeftSum(s) > RightSum(s) ? bot.heading + 1 : bot.heading - 1;
    const int32_t r = Draw();
    newHeading = h + kDriftPlus8[r & 7] + 1;
}

// A state that holds above the base and fades by 4 per step.
void AmorfwitRule2(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const int32_t a = bot.state < bot.primaryBase ? bot.primary[8] : bot.state;
    const int32_t v = Clamp(a - 4);
    newState = v;
    BaseBlendAndCentreHeading(bot, v, newHeading, newColour);
}

// Follows the ring value that stands out most from the centre.
void AmorfwitRule3(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    int32_t a = bot.state;
    int32_t best = 0;
    for (int k = 0; k < 8; ++k) {
        const int32_t d = std::abs(p[k] - p[8]);
        if (d > best) {
            best = d;
            a = p[k];
        }
    }
    if (a < bot.primaryBase)
        a = p[8];
    const int32_t v = Clamp(a - 4);
    newState = v;
    BaseBlendAndCentreHeading(bot, v, newHeading, newColour);
}

// Pulls the cell's hue a quarter of the way towards a wobbling state.
void AmorfwitRule4(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const uint8_t* s = bot.secondary;
    int32_t e = (p[1] + p[3] + p[5] + p[7] + 4 * p[8]) >> 3;
    if (e < bot.primaryBase)
        e = p[8];
    const int32_t r1 = Draw();
    const int32_t v = (e + kSignWide2[r1 & 1]) & 0xff;
    newState = v;

    SetColour(newColour, HueApproach4(v, bot.cell[0]), bot.cell[1], bot.cell[2]);

    const int32_t i = FanArgMinDiff(s, RingMean(s));
    const int32_t r2 = Draw();
    const int32_t n = bot.heading + i + kJitter8[r2 & 7] - 4;
    newHeading = HeadingMix(n, bot.heading);
}

// Paints a saturation that creeps towards the base from the side cells;
// turns towards the side of the smaller secondary sum (ties turn by -1).
void AmorfwitRule5(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* s = bot.secondary;
    int32_t a = Cross(bot.primary);
    a = a > bot.primaryBase ? a - 2 : a + 2;
    const int32_t v = Clamp(a);
    newState = v;

    SetColour(newColour, bot.cell[0], v, bot.cell[2]);

    const int32_t h = LeftSum(s) < RightSum(s) ? bot.heading + 1 : bot.heading - 1;
    const int32_t r = Draw();
    newHeading = h + kDriftMinus16[r & 15] + 1;
}

// Smooths rough patches towards the base; the ring's contrast steers.
void AmorfwitRule6(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    int32_t a = RingSpread(p) >= 32 ? Mean9(p) : p[8];
    a = a > bot.primaryBase ? a - 2 : a + 2;
    const int32_t v = Clamp(a);
    newState = v;

    const int32_t w = v >> 2;
    SetColour(newColour, Blend(bot.colour[0], bot.cell[0], w), (bot.cell[1] + v) >> 1,
              Blend(bot.colour[2], bot.cell[2], w));

    const int32_t h = (RingSpread(bot.secondary) >> 1) & 7;
    const int32_t r = Draw();
    newHeading = h + kDriftPlus16[r & 15] + 1;
}

// Brightens the cell a little, more so on flat ground.
void AmorfwitRule7(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const int32_t a = RingSpread(p) <= 32 ? Cross(p) : p[8];
    const int32_t v = Clamp(a + 8);
    newState = v;

    SetColour(newColour, bot.cell[0], bot.cell[1], (bot.cell[2] + v) >> 1);

    int32_t h = (bot.secondary[8] >> 4) & 7;
    const int32_t r1 = Draw();
    h = h + kNudgePlus8[r1 & 7] - 2;
    const int32_t r2 = Draw();
    newHeading = (r2 & 31) == 31 ? bot.heading : h;
}

const CommunityPreset kAmorfwit =
    MakePreset<AmorfwitRule0, AmorfwitRule1, AmorfwitRule2, AmorfwitRule3, AmorfwitRule4,
               AmorfwitRule5, AmorfwitRule6, AmorfwitRule7>(
        "amorfwit", 128, {201, 202, 196},
        {
            {{13, 3, 0, 10, 0, 7, 1, 1, 2, 0, 224, 4, 169}},
            {{14, 6, 0, 1, 21, 9, 1, 0, 2, 2, 146, 232, 253}},
            {{31, 1, 7, 10, 1, 10, 4, 2, 1, 0, 93, 98, 41}},
            {{26, 1, 7, 10, 1, 10, 4, 2, 1, 0, 98, 91, 23}},
            {{11, 1, 13, 3, 15, 6, 8, 3, 0, 1, 3, 198, 243}},
            {{12, 0, 9, 1, 20, 10, 1, 0, 1, 1, 219, 193, 250}},
            {{13, 5, 9, 12, 19, 11, 1, 0, 1, 0, 111, 167, 32}},
            {{12, 7, 4, 2, 5, 13, 6, 2, 2, 2, 156, 135, 229}},
        });

}  // namespace tintwalk
