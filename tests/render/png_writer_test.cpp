#include "render/png_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace tintwalk {
namespace {

struct Read {
    std::vector<uint8_t> pixels = {1};
    uint32_t width = 7;
    uint32_t height = 7;
    bool ok = false;
    std::string error;
};

Read ReadBack(const std::string& path) {
    Read read;
    read.ok = ReadPng(path, read.pixels, read.width, read.height, read.error);
    std::remove(path.c_str());
    return read;
}

TEST(PngWriter, BothRowOrdersKeepEveryChannelAndRow) {
    // An odd width and more rows than one encoding band; every byte differs
    // from its neighbours, so a swapped channel or row shows.
    const uint32_t shapes[][2] = {{3, 150}, {1, 1}, {2, 3}};
    for (const auto [width, height] : shapes) {
        const size_t stride = width * 3;
        std::vector<uint8_t> topDown(stride * height);
        for (size_t i = 0; i < topDown.size(); ++i)
            topDown[i] = static_cast<uint8_t>(i * 7 + i / stride);
        std::vector<uint8_t> bottomUp;
        for (uint32_t row = height; row-- > 0;)
            bottomUp.insert(bottomUp.end(), topDown.begin() + row * stride,
                            topDown.begin() + (row + 1) * stride);
        std::string error;
        ASSERT_TRUE(WritePng("png_top_down.png", topDown.data(), width, height, error)) << error;
        ASSERT_TRUE(WritePngBottomUp("png_bottom_up.png", bottomUp.data(), width, height, error));
        for (const char* path : {"png_top_down.png", "png_bottom_up.png"}) {
            const Read read = ReadBack(path);
            ASSERT_TRUE(read.ok) << read.error;
            EXPECT_EQ(read.width, width);
            EXPECT_EQ(read.height, height);
            EXPECT_EQ(read.pixels, topDown) << path << " " << width << "x" << height;
        }
    }
}

TEST(PngReader, RejectsAFileThatIsNoPng) {
    std::ofstream("png_not_a_png.png") << "this is plain text, not an image";
    const Read read = ReadBack("png_not_a_png.png");
    EXPECT_FALSE(read.ok);
    EXPECT_TRUE(read.pixels.empty());
    EXPECT_EQ(read.width + read.height, 0u);
    EXPECT_FALSE(read.error.empty());
}

}  // namespace
}  // namespace tintwalk
