#include "core/colour.h"

#include <gtest/gtest.h>

#include <array>

namespace tintwalk {
namespace {

HslPixel ToHsl(uint8_t r, uint8_t g, uint8_t b) {
    HslPixel hsl;
    RgbToHsl({r, g, b}, hsl);
    return hsl;
}

RgbPixel ToRgb(uint8_t h, uint8_t s, uint8_t l) {
    RgbPixel rgb;
    HslToRgb({h, s, l}, rgb);
    return rgb;
}

// The published conversions: RGB to HSL and, where given, back.
TEST(Colour, PublishedConversions) {
    struct Case {
        int r, g, b, h, s, l;
        int backR, backG, backB;  // -1: not published
    };
    const Case cases[] = {
        {196, 196, 196, 0, 0, 196, 197, 195, 195}, {0, 0, 0, 0, 0, 0, 0, 0, 0},
        {255, 255, 255, 0, 0, 255, 255, 255, 255}, {255, 0, 0, 0, 255, 128, 255, 1, 1},
        {0, 255, 0, 84, 255, 128, 1, 255, 1},      {0, 0, 255, 168, 255, 128, 1, 1, 255},
        {255, 255, 0, 42, 255, 128, -1, -1, -1},   {0, 255, 255, 126, 255, 128, -1, -1, -1},
        {255, 0, 255, 214, 255, 128, 255, 1, 252}, {1, 0, 0, 0, 127, 1, -1, -1, -1},
        {2, 0, 0, 0, 254, 1, -1, -1, -1},          {201, 202, 196, 49, 13, 199, 201, 202, 195},
    };
    for (const Case& c : cases) {
        const HslPixel hsl = ToHsl(c.r, c.g, c.b);
        EXPECT_EQ((std::array{hsl.hue, hsl.saturation, hsl.lightness}),
                  (std::array<uint8_t, 3>{uint8_t(c.h), uint8_t(c.s), uint8_t(c.l)}))
            << c.r << "," << c.g << "," << c.b;
        if (c.backR >= 0) {
            const RgbPixel rgb = ToRgb(c.h, c.s, c.l);
            EXPECT_EQ(
                (std::array{rgb.red, rgb.green, rgb.blue}),
                (std::array<uint8_t, 3>{uint8_t(c.backR), uint8_t(c.backG), uint8_t(c.backB)}))
                << c.h << "," << c.s << "," << c.l;
        }
    }
}

// The conversion as its definition reads, with the sector and lightness
// branches written out; the fast conversion avoids both branches.
RgbPixel PlainHslToRgb(int h, int s, int l) {
    int ramp[3];
    if (h <= 84) {
        ramp[0] = 504 - 6 * h;
        ramp[1] = 6 * h;
        ramp[2] = 0;
    } else if (h <= 168) {
        ramp[0] = 0;
        ramp[1] = 1008 - 6 * h;
        ramp[2] = 6 * h - 504;
    } else {
        ramp[0] = 6 * h - 1008;
        ramp[1] = 0;
        ramp[2] = 1536 - 6 * h;
    }
    int out[3];
    for (int i = 0; i < 3; ++i) {
        const int c = ramp[i] > 255 ? 255 : ramp[i];
        const int t = (2 * s + 6) * c + (255 - s) * 256;
        out[i] = l < 128 ? (t * l) >> 16 : (((255 - l) * t) >> 16) + 2 * l - 255;
    }
    return {static_cast<uint8_t>(out[0]), static_cast<uint8_t>(out[1]),
            static_cast<uint8_t>(out[2])};
}

TEST(Colour, HslToRgbMatchesItsDefinitionForEveryInput) {
    for (int h = 0; h < 256; ++h) {
        for (int s = 0; s < 256; ++s) {
            for (int l = 0; l < 256; ++l) {
                const RgbPixel fast = ToRgb(h, s, l);
                const RgbPixel plain = PlainHslToRgb(h, s, l);
                ASSERT_TRUE(fast.red == plain.red && fast.green == plain.green &&
                            fast.blue == plain.blue)
                    << h << "," << s << "," << l;
            }
        }
    }
}

TEST(Colour, NoColourHasAHueFrom210To213) {
    for (int r = 0; r < 256; r += 3) {
        for (int g = 0; g < 256; g += 3) {
            for (int b = 0; b < 256; b += 3) {
                const int hue = ToHsl(r, g, b).hue;
                ASSERT_TRUE(hue < 210 || hue > 213) << r << "," << g << "," << b;
            }
        }
    }
}

}  // namespace
}  // namespace tintwalk
