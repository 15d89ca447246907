// The bot step written the plain way, as a reference for the fast passes of
// core/bot_step.h: every coordinate is wrapped by a remainder, the eight
// neighbours are read one by one and nothing is cached between steps. It
// shares no code with bot_step.h, so a fault cannot hide in both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/biotope.h"
#include "core/colour.h"
#include "core/image.h"

namespace tintwalk {

// v wrapped into 0 .. n - 1 (n >= 1), whatever its sign.
inline int32_t PlainWrap(int64_t v, int32_t n) {
    const int64_t r = v % n;
    return static_cast<int32_t>(r < 0 ? r + n : r);
}

// The first byte of cell (x, y) of packed rows.
inline uint8_t* PlainCell(Image& image, int32_t x, int32_t y) {
    return image.pixels + (static_cast<size_t>(y) * image.width + static_cast<size_t>(x)) * 3;
}

// One step of `bot`, filling trail slot bot.stepIndex.
inline void PlainStep(Bot& bot, Image& hsl, Image& rgb) {
    const int32_t width = static_cast<int32_t>(hsl.width);
    const int32_t height = static_cast<int32_t>(hsl.height);
    bot.x = PlainWrap(bot.x, width);
    bot.y = PlainWrap(bot.y, height);
    // The ring in absolute directions, turned to the heading: entry j is
    // direction (heading + j) & 7; entry 8 is the centre.
    for (int k = 0; k < 9; ++k) {
        const Offset d = k < 8 ? kDirectionOffsets[k] : Offset{0, 0};
        const uint8_t* p = PlainCell(hsl, PlainWrap(int64_t{bot.x} + d.dx, width),
                                     PlainWrap(int64_t{bot.y} + d.dy, height));
        const int j = k < 8 ? (k - bot.heading) & 7 : 8;
        bot.hue[j] = p[0];
        bot.sat[j] = p[1];
        bot.lum[j] = p[2];
    }
    // The rule sees a copy of the centre.
    const HslPixel cellCopy = {bot.hue[8], bot.sat[8], bot.lum[8]};
    bot.cell = &cellCopy.hue;
    int32_t newState, newHeading;
    HslPixel colour;
    bot.rule(bot, newState, newHeading, colour);
    bot.cell = nullptr;
    // The HSL habitat gets the colour, the RGB one its hue-shifted conversion.
    std::memcpy(PlainCell(hsl, bot.x, bot.y), &colour.hue, 3);
    colour.hue = static_cast<uint8_t>((colour.hue + bot.hueShift) % 256);
    RgbPixel painted;
    HslToRgb(colour, painted);
    std::memcpy(PlainCell(rgb, bot.x, bot.y), &painted.red, 3);
    bot.trailPoints[bot.stepIndex] = {bot.x, bot.y};
    bot.trailColours[bot.stepIndex] = painted;
    // Move without wrapping; keep the whole state.
    bot.heading = newHeading & 7;
    bot.x += kDirectionOffsets[bot.heading].dx;
    bot.y += kDirectionOffsets[bot.heading].dy;
    bot.state = newState;
}

// What Biotope::Step does, with every bot stepping trailLength times the
// plain way through its rule pointer.
inline void PlainBiotopeStep(Biotope& world) {
    ++world.passCount;
    for (uint32_t i = 0; i < world.botCount && world.hslHabitat.pixels != nullptr; ++i) {
        Bot& bot = world.bots[i];
        for (bot.stepIndex = 0; bot.stepIndex < bot.trailLength; ++bot.stepIndex)
            PlainStep(bot, world.hslHabitat, world.rgbHabitat);
    }
}

}  // namespace tintwalk
