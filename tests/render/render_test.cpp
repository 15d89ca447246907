#include "render/render.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "communities/community.h"
#include "core/biotope.h"
#include "render/png_writer.h"

namespace tintwalk {
namespace {

std::vector<uint8_t> Render(int32_t row, uint32_t width, uint32_t height, uint32_t seed,
                            uint64_t ticks, RenderProgress progress = nullptr) {
    RenderRequest request;
    request.row = row;
    request.width = width;
    request.height = height;
    request.seed = seed;
    request.ticks = ticks;
    request.output = "render_test.png";
    std::string error;
    EXPECT_EQ(RenderPicture(request, progress, error), RenderResult::kWritten) << error;
    std::vector<uint8_t> pixels;
    EXPECT_TRUE(ReadPng(request.output, pixels, width, height, error)) << error;
    std::remove(request.output.c_str());
    return pixels;
}

// `passes` steps of the Biotope run directly; `flip` puts habitat row y
// (0 at the bottom) as image row height - 1 - y.
std::vector<uint8_t> Habitat(int32_t row, uint32_t width, uint32_t height, uint32_t seed,
                             uint64_t passes, bool flip = true) {
    surfaceWidth = static_cast<int32_t>(width);
    surfaceHeight = static_cast<int32_t>(height);
    EXPECT_TRUE(InitCommunity(row, seed));
    for (uint64_t pass = 0; pass < passes; ++pass)
        biotope.Step();
    const size_t stride = static_cast<size_t>(width) * 3;
    std::vector<uint8_t> image;
    for (uint32_t i = 0; i < height; ++i) {
        const uint8_t* line = biotope.rgbHabitat.pixels + (flip ? height - 1 - i : i) * stride;
        image.insert(image.end(), line, line + stride);
    }
    biotope.Release();
    return image;
}

TEST(RenderPicture, ShowsTwoPassesPerTickWithHabitatRowZeroAtTheBottom) {
    // 3072 cells: two steps per bot and pass.
    const std::vector<uint8_t> picture = Render(4, 64, 48, 2024, 30);
    EXPECT_EQ(picture, Habitat(4, 64, 48, 2024, 60));
    // Neither the habitat upside down nor one pass fewer is the picture.
    EXPECT_NE(picture, Habitat(4, 64, 48, 2024, 60, false));
    EXPECT_NE(picture, Habitat(4, 64, 48, 2024, 59));
}

TEST(RenderPicture, NothingOfOneRenderLeaksIntoTheNext) {
    const std::vector<uint8_t> first = Render(7, 96, 64, 12345, 20);
    Render(2, 50, 70, 5, 10);
    EXPECT_EQ(first, Render(7, 96, 64, 12345, 20));
    EXPECT_NE(first, Render(7, 96, 64, 12346, 20));
}

TEST(RenderPicture, ReportsEveryTickOnce) {
    std::vector<uint64_t> reported;
    Render(0, 60, 40, 0, 7, [&](uint64_t done, uint64_t total) {
        EXPECT_EQ(total, 7u);
        reported.push_back(done);
    });
    EXPECT_EQ(reported, (std::vector<uint64_t>{1, 2, 3, 4, 5, 6, 7}));
}

}  // namespace
}  // namespace tintwalk
