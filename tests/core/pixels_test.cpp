// The colour model and the images that hold the habitats.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "core/colour.h"
#include "core/image.h"

namespace tintwalk {
namespace {

using Triple = std::array<int, 3>;

Triple ToHsl(int r, int g, int b) {
    HslPixel hsl;
    RgbToHsl({uint8_t(r), uint8_t(g), uint8_t(b)}, hsl);
    return {hsl.hue, hsl.saturation, hsl.lightness};
}

Triple ToRgb(int h, int s, int l) {
    RgbPixel rgb;
    HslToRgb({uint8_t(h), uint8_t(s), uint8_t(l)}, rgb);
    return {rgb.red, rgb.green, rgb.blue};
}

// Worked conversions: RGB to HSL and, where given (not -1), back.
TEST(Colour, WorkedConversions) {
    const std::array<int, 9> cases[] = {
        {196, 196, 196, 0, 0, 196, 197, 195, 195}, {0, 0, 0, 0, 0, 0, 0, 0, 0},
        {255, 255, 255, 0, 0, 255, 255, 255, 255}, {255, 0, 0, 0, 255, 128, 255, 1, 1},
        {0, 255, 0, 84, 255, 128, 1, 255, 1},      {0, 0, 255, 168, 255, 128, 1, 1, 255},
        {255, 255, 0, 42, 255, 128, -1, -1, -1},   {0, 255, 255, 126, 255, 128, -1, -1, -1},
        {255, 0, 255, 214, 255, 128, 255, 1, 252}, {1, 0, 0, 0, 127, 1, -1, -1, -1},
        {2, 0, 0, 0, 254, 1, -1, -1, -1},          {201, 202, 196, 49, 13, 199, 201, 202, 195},
    };
    for (const auto& [r, g, b, h, s, l, backR, backG, backB] : cases) {
        EXPECT_EQ(ToHsl(r, g, b), (Triple{h, s, l})) << r << "," << g << "," << b;
        if (backR >= 0) {
            EXPECT_EQ(ToRgb(h, s, l), (Triple{backR, backG, backB})) << h << "," << s << "," << l;
        }
    }
}

// The conversion as defined, with the branches the fast one avoids.
Triple PlainHslToRgb(int h, int s, int l) {
    Triple ramp = h <= 84    ? Triple{504 - 6 * h, 6 * h, 0}
                  : h <= 168 ? Triple{0, 1008 - 6 * h, 6 * h - 504}
                             : Triple{6 * h - 1008, 0, 1536 - 6 * h};
    for (int& c : ramp) {
        const int t = (2 * s + 6) * std::min(c, 255) + (255 - s) * 256;
        c = l < 128 ? (t * l) >> 16 : (((255 - l) * t) >> 16) + 2 * l - 255;
    }
    return ramp;
}

// Every input, as 0xHHSSLL.
TEST(Colour, HslToRgbMatchesItsDefinitionForEveryInput) {
    for (int v = 0; v < 1 << 24; ++v) {
        const int h = v >> 16, s = (v >> 8) & 255, l = v & 255;
        ASSERT_TRUE(ToRgb(h, s, l) == PlainHslToRgb(h, s, l)) << std::hex << v;
    }
}

constexpr PixelFormat kRgb24 = {24, 0xFF0000, 0x00FF00, 0x0000FF, 0};

void ExpectEmpty(const Image& image) {
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.palette, nullptr);
    EXPECT_EQ(image.width, 0u);
    EXPECT_FALSE(image.ownsPixels);
}

TEST(Image, PitchPacksBitsAndAlignsRows) {
    const uint32_t cases[][4] = {{5, 24, 4, 16}, {4, 24, 4, 12}, {3, 1, 1, 1},
                                 {9, 1, 1, 2},   {0, 24, 4, 0},  {0x55555556u, 24, 4, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(Image::ComputePitch(c[0], c[1], c[2]), c[3]) << c[0] << " " << c[1];
}

// Every failure prints its own line and leaves the image empty; sizes whose
// row or buffer does not fit in 32 bits fail instead of wrapping.
TEST(Image, CreateSucceedsOrFailsCleanly) {
    struct Case {
        uint32_t width, height, pitch;
        PixelFormat format;
        const char* reason;
    };
    const Case cases[] = {
        {10, 4, 29, kRgb24, "pitch too small"},
        {0x55555556u, 4, 2, kRgb24, "pitch too small"},  // 3 x width wraps to 2 in 32 bits
        {8, 4, 64, {0, 0, 0, 0, 0}, "unsupported bits per pixel"},
        {8, 4, 64, {33, 1, 2, 4, 0}, "unsupported bits per pixel"},
        {8, 4, 64, {16, 0xFF0000, 0x00FF00, 0x0000FF, 0}, "wrong rgba masks for bpp"},
        {8, 4, 64, {16, 0xFF00, 0x0FF0, 0, 0}, "argb masks overlap"},
        {8, 4, 64, {12, 0, 0, 0, 0}, "unsupported palettized image bpp"},
        // No machine has that memory; the 32-bit product would be a few bytes.
        {0x55555554u, 0xFFFFFFFFu, 0xFFFFFFFCu, kRgb24, "pixels not allocated"},
    };
    for (const Case& c : cases) {
        Image image;
        ASSERT_TRUE(image.CreateWithDepth(10, 10, 24));
        testing::internal::CaptureStderr();
        EXPECT_FALSE(image.Create(c.width, c.height, c.pitch, c.format));
        // A sanitizer's allocator may warn first; our line must come last.
        EXPECT_TRUE(testing::internal::GetCapturedStderr().ends_with(
            std::string("Image::Create() failure: ") + c.reason + "\n"))
            << c.reason;
        ExpectEmpty(image);
    }
    Image image;
    EXPECT_TRUE(image.Create(10, 4, 30, kRgb24));  // exactly packed is enough
    EXPECT_TRUE(image.Create(2, 2, 8, {32, 0xFF000000, 0xFF0000, 0xFF00, 0xFF}));
    // Memory of the caller's is never freed or touched.
    std::vector<uint8_t> memory(48, 0xAB);
    ASSERT_TRUE(image.Create(4, 4, 12, kRgb24, memory.data()));
    EXPECT_EQ(image.pixels, memory.data());
    image.Destroy();
    ExpectEmpty(image);
    EXPECT_EQ(memory, std::vector<uint8_t>(48, 0xAB));
}

TEST(Image, SmallDepthsGetAnEvenGreyPalette) {
    // Depth and the second entry: steps of 255 / (entries - 1).
    for (const auto& [depth, step] : {std::pair{8u, 0x010101u}, {4u, 0x111111u}, {1u, 0xFFFFFFu}}) {
        Image image;
        ASSERT_TRUE(image.CreateWithDepth(3, 3, depth));
        EXPECT_EQ(image.pitch, 4u);
        EXPECT_EQ(image.palette[0], 0u);
        EXPECT_EQ(image.palette[1], step);
        EXPECT_EQ(image.palette[(1u << depth) - 1], 0xFFFFFFu);
    }
    Image image;
    ASSERT_TRUE(image.CreateWithDepth(4, 4, 24));
    const uint8_t* before = image.pixels;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(image.CreateWithDepth(4, 4, 12));
    EXPECT_FALSE(Image::GrayPalette(nullptr, 4));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Image::Create() failure: unsupported bits per pixel\n"
              "Image::GrayPalette() failure: no palette\n");
    EXPECT_EQ(image.pixels, before);  // an unsupported depth leaves the image as it was
}

}  // namespace
}  // namespace tintwalk
