// Colour model of the habitat: 24-bit RGB cells and their byte-wide HSL twins.
//
// Hue is a byte on a 256-step circle: red 0, green 84, blue 168. The two
// conversions are integer-only and deliberately not exact inverses; every
// painted point goes through HslToRgb, so both are inline for the bot step.
#pragma once

#include <cstdint>

namespace tintwalk {

struct RgbPixel {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

struct HslPixel {
    uint8_t hue;
    uint8_t saturation;
    uint8_t lightness;
};

static_assert(sizeof(RgbPixel) == 3, "RgbPixel must be three packed bytes");
static_assert(sizeof(HslPixel) == 3, "HslPixel must be three packed bytes");

inline void RgbToHsl(const RgbPixel& source, HslPixel& destination) {
    const int32_t r = source.red;
    const int32_t g = source.green;
    const int32_t b = source.blue;
    int32_t max = r > g ? r : g;
    if (b > max)
        max = b;
    int32_t min = r < g ? r : g;
    if (b < min)
        min = b;
    const int32_t d = max - min;
    const int32_t l = (max + min + 1) >> 1;

    int32_t s = 0;
    if (l != 0)
        s = l < 128 ? (d * 127) / l : (d * 255) / (511 - 2 * l);

    int32_t h = 0;
    if (d == 0) {
        h = 0;
    } else if (max == r && max != g) {
        h = ((g - b) * 42) / d;
    } else if (max == g && max != b) {
        h = ((b - r) * 42) / d + 84;
    } else {
        h = ((r - g) * 42) / d + 168;
    }
    destination.hue = static_cast<uint8_t>(h);
    destination.saturation = static_cast<uint8_t>(s);
    destination.lightness = static_cast<uint8_t>(l);
}

// Written without branches: hues and lightnesses vary from one painted point
// to the next, and mispredicted branches cost more than the arithmetic.
inline void HslToRgb(const HslPixel& source, RgbPixel& destination) {
    const int32_t h = source.hue;
    const int32_t s = source.saturation;
    const int32_t l = source.lightness;
    // The three ramps, a slope of 6 per hue step, each at most 255:
    // hue 0..84: 504 - 6h, 6h, 0; 85..168: 0, 1008 - 6h, 6h - 504;
    // 169..255: 6h - 1008, 0, 1536 - 6h.
    const int32_t h6 = 6 * h;
    const bool first = h <= 84;
    const bool second = !first && h <= 168;
    const bool third = h > 168;
    int32_t red = first ? 504 - h6 : (third ? h6 - 1008 : 0);
    int32_t green = first ? h6 : (second ? 1008 - h6 : 0);
    int32_t blue = second ? h6 - 504 : (third ? 1536 - h6 : 0);
    red = red > 255 ? 255 : red;
    green = green > 255 ? 255 : green;
    blue = blue > 255 ? 255 : blue;
    // Each component from t = (2s + 6) c + (255 - s) 256: (t l) >> 16 below
    // lightness 128, ((t (255 - l)) >> 16) + 2l - 255 from 128 on. With f
    // the factor and o the offset, that is ((2s + 6) f c + (255 - s) 256 f
    // + o 65536) >> 16, o being a whole multiple of 65536 there; the parts
    // without c are shared by the three components. Nothing exceeds 2^31.
    const bool dark = l < 128;
    const int32_t f = dark ? l : 255 - l;
    const int32_t o = dark ? 0 : 2 * l - 255;
    const int32_t slope = (2 * s + 6) * f;
    const int32_t offset = (255 - s) * 256 * f + o * 65536;
    destination.red = static_cast<uint8_t>((slope * red + offset) >> 16);
    destination.green = static_cast<uint8_t>((slope * green + offset) >> 16);
    destination.blue = static_cast<uint8_t>((slope * blue + offset) >> 16);
}

}  // namespace tintwalk
