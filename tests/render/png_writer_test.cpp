#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "render/png_writer.h"

namespace tintwalk {
namespace {

TEST(PngWriter, BothRowOrdersKeepEveryChannelAndRow) {
    // An odd width and more rows than one encoding band; every byte differs
    // from its neighbours, so a swapped channel or row shows.
    for (const auto& [width, height] : {std::pair<uint32_t, uint32_t>{3, 150}, {1, 1}, {2, 3}}) {
        const size_t stride = width * 3;
        std::vector<uint8_t> topDown(stride * height), bottomUp;
        for (size_t i = 0; i < topDown.size(); ++i)
            topDown[i] = static_cast<uint8_t>(i * 7 + i / stride);
        for (uint32_t row = height; row-- > 0;)
            bottomUp.insert(bottomUp.end(), topDown.begin() + row * stride,
                            topDown.begin() + (row + 1) * stride);
        std::string error;
        ASSERT_TRUE(WritePng("png_top_down.png", topDown.data(), width, height, error)) << error;
        ASSERT_TRUE(WritePngBottomUp("png_bottom_up.png", bottomUp.data(), width, height, error));
        for (const char* path : {"png_top_down.png", "png_bottom_up.png"}) {
            std::vector<uint8_t> pixels;
            uint32_t readWidth = 0, readHeight = 0;
            ASSERT_TRUE(ReadPng(path, pixels, readWidth, readHeight, error)) << error;
            EXPECT_EQ(readWidth * 10000 + readHeight, width * 10000 + height);
            EXPECT_EQ(pixels, topDown) << path << " " << width << "x" << height;
        }
    }
}

TEST(PngReader, RejectsAFileThatIsNoPng) {
    std::ofstream("png_not_a_png.png") << "this is plain text, not an image";
    std::vector<uint8_t> pixels = {1};
    uint32_t width = 7, height = 7;
    std::string error;
    EXPECT_FALSE(ReadPng("png_not_a_png.png", pixels, width, height, error));
    EXPECT_TRUE(pixels.empty() && width + height == 0 && !error.empty());
}

}  // namespace
}  // namespace tintwalk
