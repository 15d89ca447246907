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

// The habitat after `passes` steps, rows top down: habitat row 0 is the
// bottom of the picture unless `flip` is false.
std::vector<uint8_t> Habitat(uint64_t passes, bool flip = true) {
    surfaceWidth = 64;
    surfaceHeight = 48;
    EXPECT_TRUE(InitCommunity(4, 2024));
    for (uint64_t pass = 0; pass < passes; ++pass)
        biotope.Step();
    std::vector<uint8_t> image;
    for (uint32_t i = 0; i < 48; ++i) {
        const uint8_t* line = biotope.rgbHabitat.pixels + (flip ? 47 - i : i) * 64 * 3;
        image.insert(image.end(), line, line + 64 * 3);
    }
    biotope.Release();
    return image;
}

TEST(RenderPicture, ShowsTwoPassesPerTickWithHabitatRowZeroAtTheBottom) {
    RenderRequest request;
    request.row = 4;
    request.width = 64;
    request.height = 48;
    request.seed = 2024;
    request.ticks = 30;
    request.output = "render_test.png";
    std::string error;
    ASSERT_EQ(RenderPicture(request, nullptr, error), RenderResult::kWritten) << error;
    std::vector<uint8_t> picture;
    uint32_t width = 0, height = 0;
    ASSERT_TRUE(ReadPng(request.output, picture, width, height, error)) << error;
    std::remove(request.output.c_str());
    EXPECT_EQ(picture, Habitat(60));
    // Neither the habitat upside down nor one pass fewer is the picture.
    EXPECT_NE(picture, Habitat(60, false));
    EXPECT_NE(picture, Habitat(59));
}

}  // namespace
}  // namespace tintwalk
