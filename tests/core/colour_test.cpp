#include "core/colour.h"

#include <gtest/gtest.h>

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

#define EXPECT_HSL(p, h, s, l)      \
    do {                            \
        const HslPixel q = (p);     \
        EXPECT_EQ(q.hue, h);        \
        EXPECT_EQ(q.saturation, s); \
        EXPECT_EQ(q.lightness, l);  \
    } while (0)

#define EXPECT_RGB(p, r, g, b)  \
    do {                        \
        const RgbPixel q = (p); \
        EXPECT_EQ(q.red, r);    \
        EXPECT_EQ(q.green, g);  \
        EXPECT_EQ(q.blue, b);   \
    } while (0)

TEST(Colour, GreysKeepAFaintRedTintOnTheWayBack) {
    EXPECT_HSL(ToHsl(196, 196, 196), 0, 0, 196);
    EXPECT_RGB(ToRgb(0, 0, 196), 197, 195, 195);
    EXPECT_HSL(ToHsl(0, 0, 0), 0, 0, 0);
    EXPECT_RGB(ToRgb(0, 0, 0), 0, 0, 0);
    EXPECT_HSL(ToHsl(255, 255, 255), 0, 0, 255);
    EXPECT_RGB(ToRgb(0, 0, 255), 255, 255, 255);
}

TEST(Colour, PrimariesAndTheirTiesLandOnTheirSectors) {
    EXPECT_HSL(ToHsl(255, 0, 0), 0, 255, 128);
    EXPECT_RGB(ToRgb(0, 255, 128), 255, 1, 1);
    EXPECT_HSL(ToHsl(0, 255, 0), 84, 255, 128);
    EXPECT_HSL(ToHsl(0, 0, 255), 168, 255, 128);
    EXPECT_HSL(ToHsl(255, 255, 0), 42, 255, 128);
    EXPECT_HSL(ToHsl(0, 255, 255), 126, 255, 128);
    EXPECT_HSL(ToHsl(255, 0, 255), 214, 255, 128);
    EXPECT_RGB(ToRgb(214, 255, 128), 255, 1, 252);
}

TEST(Colour, DarkAndTintedValues) {
    EXPECT_HSL(ToHsl(1, 0, 0), 0, 127, 1);
    EXPECT_HSL(ToHsl(2, 0, 0), 0, 254, 1);
    EXPECT_HSL(ToHsl(201, 202, 196), 49, 13, 199);
    EXPECT_RGB(ToRgb(49, 13, 199), 201, 202, 195);
}

TEST(Colour, HueRampEnds) {
    // Hue 84 is green alone, 168 blue alone; hue 255 is red with a little blue.
    EXPECT_RGB(ToRgb(84, 255, 128), 1, 255, 1);
    EXPECT_RGB(ToRgb(168, 255, 128), 1, 1, 255);
    // Ramps at 255: red 255, blue 6 -> t = 516 * 6 = 3096, (127 * 3096 >> 16) + 1 = 5 + 1.
    EXPECT_RGB(ToRgb(255, 255, 128), 255, 1, 6);
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
