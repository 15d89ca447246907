// The bot step written the plain way, as a reference for the fast passes of
// core/bot_step.h: every coordinate is wrapped by a remainder, all eight
// neighbours are read one by one through that wrap, and nothing is cached
// from one step to the next. It shares no code with bot_step.h, so a fault
// in the fast paths cannot hide in both.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/biotope.h"
#include "core/colour.h"
#include "core/image.h"

namespace tintwalk {

// v wrapped into 0 .. n - 1 (n >= 1), whatever its sign.
inline int32_t PlainWrap(int64_t v, int32_t n) {
    const int64_t r = v % n;
    return static_cast<int32_t>(r < 0 ? r + n : r);
}

// The first byte of cell (x, y): rows of `width` cells packed back to back.
inline uint8_t* PlainCell(Image& image, int32_t x, int32_t y) {
    return image.pixels + (static_cast<size_t>(y) * image.width + static_cast<size_t>(x)) * 3;
}

// One step of `bot`, filling trail slot bot.stepIndex.
inline void PlainStep(Bot& bot, Image& hsl, Image& rgb) {
    const int32_t width = static_cast<int32_t>(hsl.width);
    const int32_t height = static_cast<int32_t>(hsl.height);
    // 1. Wrap the position.
    bot.x = PlainWrap(bot.x, width);
    bot.y = PlainWrap(bot.y, height);
    // 2. Sample the ring in absolute directions, then the centre.
    HslPixel ring[9];
    for (int k = 0; k < 8; ++k) {
        const int32_t nx = PlainWrap(int64_t{bot.x} + kDirectionOffsets[k].dx, width);
        const int32_t ny = PlainWrap(int64_t{bot.y} + kDirectionOffsets[k].dy, height);
        const uint8_t* p = PlainCell(hsl, nx, ny);
        ring[k] = {p[0], p[1], p[2]};
    }
    const uint8_t* centre = PlainCell(hsl, bot.x, bot.y);
    ring[8] = {centre[0], centre[1], centre[2]};
    // 3. Turn it to the heading: entry j is direction (heading + j) & 7.
    for (int k = 0; k < 8; ++k) {
        const int j = (k - bot.heading) & 7;
        bot.hue[j] = ring[k].hue;
        bot.sat[j] = ring[k].saturation;
        bot.lum[j] = ring[k].lightness;
    }
    bot.hue[8] = ring[8].hue;
    bot.sat[8] = ring[8].saturation;
    bot.lum[8] = ring[8].lightness;
    // 4, 5. The rule sees a copy of the centre.
    const HslPixel cellCopy = ring[8];
    bot.cell = &cellCopy.hue;
    int32_t newState;
    int32_t newHeading;
    HslPixel newColour;
    bot.rule(bot, newState, newHeading, newColour);
    bot.cell = nullptr;
    // 6. The HSL habitat gets the colour unchanged.
    uint8_t* h = PlainCell(hsl, bot.x, bot.y);
    h[0] = newColour.hue;
    h[1] = newColour.saturation;
    h[2] = newColour.lightness;
    // 7, 8, 9. The RGB habitat gets it hue-shifted and converted.
    HslPixel shifted = newColour;
    shifted.hue = static_cast<uint8_t>((shifted.hue + bot.hueShift) % 256);
    RgbPixel painted;
    HslToRgb(shifted, painted);
    uint8_t* c = PlainCell(rgb, bot.x, bot.y);
    c[0] = painted.red;
    c[1] = painted.green;
    c[2] = painted.blue;
    // 10. The trail.
    bot.trailPoints[bot.stepIndex] = {bot.x, bot.y};
    bot.trailColours[bot.stepIndex] = painted;
    // 11, 12. Move without wrapping; keep the whole state.
    const int32_t turn = newHeading & 7;
    bot.x += kDirectionOffsets[turn].dx;
    bot.y += kDirectionOffsets[turn].dy;
    bot.state = newState;
    bot.heading = turn;
}

// One pass of `bot`: trailLength steps through its rule pointer.
inline void PlainPass(Bot& bot, Image& hsl, Image& rgb) {
    if (hsl.pixels == nullptr || rgb.pixels == nullptr)
        return;
    for (bot.stepIndex = 0; bot.stepIndex < bot.trailLength; ++bot.stepIndex)
        PlainStep(bot, hsl, rgb);
}

// What Biotope::Step does, with every bot stepping the plain way.
inline void PlainBiotopeStep(Biotope& world) {
    ++world.passCount;
    for (uint32_t i = 0; i < world.botCount; ++i)
        PlainPass(world.bots[i], world.hslHabitat, world.rgbHabitat);
}

}  // namespace tintwalk
