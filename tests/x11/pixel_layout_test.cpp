// RGB cells to X image pixels and back, over the layouts X servers use.
#include "saver/x11/pixel_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace tintwalk {
namespace {

TEST(PixelLayout, WritesTheBytesOfEachLayoutReadsThemBackOrRefusesIt) {
    // The bytes of the cell (255, 128, 1); none for a layout it cannot write.
    const std::pair<PixelFormatDescription, std::vector<uint8_t>> cases[] = {
        {{0xff0000, 0xff00, 0xff, 32, false}, {0x01, 0x80, 0xff, 0x00}},
        {{0xff0000, 0xff00, 0xff, 32, true, 24}, {0x00, 0xff, 0x80, 0x01}},
        // Depth 32: the alpha bits all set.
        {{0xff0000, 0xff00, 0xff, 32, false, 32}, {0x01, 0x80, 0xff, 0xff}},
        {{0xff00, 0xff0000, 0xff000000, 32, true, 32}, {0x01, 0x80, 0xff, 0xff}},
        {{0xff, 0xff00, 0xff0000, 32, false}, {0xff, 0x80, 0x01, 0x00}},
        {{0xff000000, 0xff0000, 0xff00, 32, true}, {0xff, 0x80, 0x01, 0x00}},
        {{0xff0000, 0xff00, 0xff, 24, false}, {0x01, 0x80, 0xff}},
        {{0xff0000, 0xff00, 0xff, 24, true}, {0xff, 0x80, 0x01}},
        // 10 bits a channel: the byte repeated downwards.
        {{0x3ff00000, 0xffc00, 0x3ff, 32, false}, {0x04, 0x08, 0xf8, 0x3f}},
        {{0xf800, 0x7e0, 0x1f, 16, false}, {}},       // 16 bits a pixel
        {{0xff0000, 0xff00, 0, 32, false}, {}},       // no blue
        {{0xff0000, 0xff0f, 0xff, 32, false}, {}},    // green overlaps blue
        {{0xff0000, 0xf0f0, 0xff, 32, false}, {}},    // green in two pieces
        {{0xff000000, 0xff00, 0xff, 24, false}, {}},  // red outside the pixel
    };
    for (const auto& [format, orange] : cases) {
        PixelLayout layout;
        ASSERT_EQ(layout.Set(format), !orange.empty()) << format.redMask << " " << format.greenMask;
        if (orange.empty())
            continue;
        ASSERT_EQ(layout.BytesPerPixel() * 8, format.bitsPerPixel);
        const uint8_t cell[3] = {255, 128, 1};
        uint8_t pixel[4] = {};
        layout.FromRgb(cell, pixel, 1);
        EXPECT_EQ(std::vector<uint8_t>(pixel, pixel + orange.size()), orange) << format.redMask;
        // Every value of every channel survives the way there and back.
        std::vector<uint8_t> rgb(256 * 3), pixels(256 * 4), back(256 * 3);
        for (int v = 0; v < 256; ++v) {
            rgb[v * 3] = static_cast<uint8_t>(v);
            rgb[v * 3 + 1] = static_cast<uint8_t>(255 - v);
            rgb[v * 3 + 2] = static_cast<uint8_t>(v * 7);
        }
        layout.FromRgb(rgb.data(), pixels.data(), 256);
        layout.ToRgb(pixels.data(), back.data(), 256);
        EXPECT_EQ(back, rgb) << format.redMask;
    }
}

}  // namespace
}  // namespace tintwalk
