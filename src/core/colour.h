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

namespace detail {

inline int32_t HslComponent(int32_t ramp, int32_t s, int32_t l) {
    if (ramp > 255)
        ramp = 255;
    const int32_t t = (2 * s + 6) * ramp + (255 - s) * 256;
    if (l < 128)
        return (t * l) >> 16;
    return (((255 - l) * t) >> 16) + 2 * l - 255;
}

}  // namespace detail

inline void HslToRgb(const HslPixel& source, RgbPixel& destination) {
    const int32_t h = source.hue;
    const int32_t s = source.saturation;
    const int32_t l = source.lightness;
    int32_t red;
    int32_t green;
    int32_t blue;
    if (h <= 84) {
        red = 504 - 6 * h;
        green = 6 * h;
        blue = 0;
    } else if (h <= 168) {
        red = 0;
        green = 1008 - 6 * h;
        blue = 6 * h - 504;
    } else {
        red = 6 * h - 1008;
        green = 0;
        blue = 1536 - 6 * h;
    }
    destination.red = static_cast<uint8_t>(detail::HslComponent(red, s, l));
    destination.green = static_cast<uint8_t>(detail::HslComponent(green, s, l));
    destination.blue = static_cast<uint8_t>(detail::HslComponent(blue, s, l));
}

}  // namespace tintwalk
