// Community "fijnwerk": fine, close-knit strokes. Eight bots, each with a
// rule of its own; bots 2 and 6 share their genes[0..7] and steer alike, but
// bot 2 paints the hue while bot 6 paints the lightness.
#include "communities/presets.h"
#include "communities/rule.h"
#include "communities/rules.h"

namespace tintwalk {

namespace {

// Shared steering of bots 2 and 6: a turn by +2 when the -1 side of s is the
// more varied one, by -3 otherwise (also when both sides are equally varied).
inline int32_t SideSpreadTurn(const uint8_t* s, int32_t heading) {
    const int32_t a = LeftSpread(s);
    const int32_t b = RightSpread(s);
    const int32_t h = a < b ? heading + 1 : heading - 1;
    return HeadingMix(h - 4, heading);
}

// The state that bots 2 and 6 follow: jump to the centre when it differs much
// from the state, and again when the result strays far from the base value.
inline int32_t FollowCentre(const Bot& bot) {
    const int32_t centre = bot.primary[8];
    int32_t a = std::abs(centre - bot.state) > 64 ? centre : bot.state;
    if (std::abs(bot.primaryBase - a) > 32)
        a = centre;
    return a;
}

}  // namespace

void FijnwerkRule0(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const uint8_t* s = bot.secondary;
    int32_t a = p[8] > bot.state ? p[8] : bot.state;
    if (RingSpread(p) > 32)
        a = p[8];
    const int32_t v = Clamp(a - 2);
    newState = v;

    const int32_t w = (v >> 2) + 192;
    SetColour(newColour, Blend(bot.cell[0], bot.colour[0], w), (bot.cell[1] + v) >> 1,
              Blend(bot.cell[2], bot.colour[2], w));

    // Bits 3..5 of the centre pick the heading outright.
    newHeading = ((s[8] >> 3) & 7) - 4;
}

void FijnwerkRule1(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const uint8_t* s = bot.secondary;
    int32_t a = Cross(p);
    if (RingSpread(p) > 32)
        a = p[8];
    const int32_t r1 = Draw();
    const int32_t v = (a + kJitterWide8[r1 & 7]) & 0xff;
    newState = v;

    SetHueOverCell(newColour, bot, HueMidpoint(v, bot.cell[0]), (v >> 2) + 192);

    int32_t h = LeftSum(s) > RightSum(s) ? bot.heading + 1 : bot.heading - 1;
    const int32_t r2 = Draw();
    h = h + kDriftMinus8[r2 & 7] + 2;
    const int32_t r3 = Draw();
    newHeading = (r3 & 3) == 3 ? bot.heading : h;
}

void FijnwerkRule2(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const int32_t v = (FollowCentre(bot) - 1) & 0xff;
    newState = v;
    SetColour(newColour, HueMidpoint(v, bot.cell[0]), bot.cell[1], bot.cell[2]);
    newHeading = SideSpreadTurn(bot.secondary, bot.heading);
}

void FijnwerkRule3(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const int32_t v = Clamp(RingReflect(bot.primary));
    newState = v;
    SetColour(newColour, bot.cell[0], bot.cell[1], v);
    const int32_t r = Draw();
    newHeading = bot.heading + kDriftPlus8[r & 7] - 2;
}

void FijnwerkRule4(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    const uint8_t* s = bot.secondary;
    int32_t x = (((3 * p[2] - p[6]) >> 1) + p[8]) >> 1;
    if (x > bot.primaryBase)
        x = p[8];
    const int32_t v = (x - 2) & 0xff;
    newState = v;

    SetHueOverCell(newColour, bot, v, 255 - (v >> 2));

    // Keep going only on perfectly even ground; turn round anywhere else.
    newHeading = EvenGround(s) ? bot.heading : bot.heading + 4;
}

void FijnwerkRule5(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    int32_t a = Cross(p);
    if (RingSpread(p) > 32)
        a = p[8];
    const int32_t r1 = Draw();
    const int32_t v = Clamp(a + kJitterWide8[r1 & 7]);
    newState = v;
    SetColour(newColour, bot.cell[0], bot.cell[1], (bot.cell[2] + v) >> 1);

    const int32_t h = bot.heading + FanArgMaxDiff(bot.secondary, bot.secondaryBase);
    const int32_t r2 = Draw();
    newHeading = h + kNudgePlus8[r2 & 7];
}

void FijnwerkRule6(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const int32_t v = Clamp(FollowCentre(bot) - 1);
    newState = v;
    SetColour(newColour, bot.cell[0], bot.cell[1], (bot.cell[2] + v) >> 1);
    newHeading = SideSpreadTurn(bot.secondary, bot.heading);
}

void FijnwerkRule7(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    const uint8_t* p = bot.primary;
    int32_t a = Cross(p);
    if (std::abs(bot.primaryBase - a) > 128)
        a = p[8];
    const int32_t r1 = Draw();
    const int32_t v = Clamp(a + kSignWide2[r1 & 1]);
    newState = v;

    const int32_t w = (v >> 2) + 192;
    SetColour(newColour, Blend(bot.cell[0], bot.colour[0], w), v,
              Blend(bot.cell[2], bot.colour[2], w));

    const int32_t r2 = Draw();
    const int32_t h = bot.heading + kDriftMinus8[r2 & 7];
    const int32_t r3 = Draw();
    newHeading = (r3 & 3) == 3 ? bot.heading : h;
}

const CommunityPreset kFijnwerk =
    MakePreset<FijnwerkRule0, FijnwerkRule1, FijnwerkRule2, FijnwerkRule3, FijnwerkRule4,
               FijnwerkRule5, FijnwerkRule6, FijnwerkRule7>(
        "fijnwerk", 232, {198, 205, 197},
        {
            {{7, 7, 6, 13, 4, 0, 8, 0, 1, 1, 223, 47, 47}},
            {{12, 7, 15, 13, 21, 8, 2, 1, 0, 0, 134, 125, 220}},
            {{8, 4, 5, 2, 23, 0, 8, 3, 0, 0, 141, 146, 208}},
            {{15, 0, 0, 1, 0, 9, 6, 0, 2, 0, 56, 41, 90}},
            {{23, 2, 6, 10, 17, 0, 0, 0, 0, 0, 217, 85, 52}},
            {{12, 7, 15, 2, 13, 13, 0, 0, 2, 0, 16, 176, 227}},
            {{8, 4, 5, 2, 23, 0, 8, 3, 2, 1, 31, 192, 3}},
            {{12, 3, 13, 11, 0, 8, 0, 1, 1, 1, 95, 139, 199}},
        });

}  // namespace tintwalk
