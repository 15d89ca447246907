#include "render/render.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "communities/community.h"
#include "core/biotope.h"
#include "render/png_writer.h"

namespace tintwalk {
namespace {

struct Picture {
    std::vector<uint8_t> pixels;
    uint32_t width = 0;
    uint32_t height = 0;
};

Picture Render(int32_t row, uint32_t width, uint32_t height, uint32_t seed, uint64_t ticks,
               const std::string& path) {
    RenderRequest request;
    request.row = row;
    request.width = width;
    request.height = height;
    request.seed = seed;
    request.ticks = ticks;
    request.output = path;
    std::string error;
    EXPECT_EQ(RenderPicture(request, nullptr, error), RenderResult::kWritten) << error;
    Picture picture;
    EXPECT_TRUE(ReadPng(path, picture.pixels, picture.width, picture.height, error)) << error;
    std::remove(path.c_str());
    return picture;
}

// Every pixel of the picture has the given colour.
bool Uniform(const Picture& picture, uint8_t red, uint8_t green, uint8_t blue) {
    if (picture.pixels.empty())
        return false;
    for (size_t i = 0; i < picture.pixels.size(); i += 3) {
        if (picture.pixels[i] != red || picture.pixels[i + 1] != green ||
            picture.pixels[i + 2] != blue)
            return false;
    }
    return true;
}

// The habitat as the test runs it directly: `passes` steps of the Biotope.
std::vector<uint8_t> Habitat(int32_t row, uint32_t width, uint32_t height, uint32_t seed,
                             uint64_t passes) {
    surfaceWidth = static_cast<int32_t>(width);
    surfaceHeight = static_cast<int32_t>(height);
    EXPECT_TRUE(InitCommunity(row, seed));
    for (uint64_t pass = 0; pass < passes; ++pass)
        biotope.Step();
    const uint8_t* cells = biotope.rgbHabitat.pixels;
    std::vector<uint8_t> habitat(cells, cells + static_cast<size_t>(width) * height * 3);
    biotope.Release();
    return habitat;
}

// Habitat row y (0 at the bottom) as image row height - 1 - y.
std::vector<uint8_t> FlipRows(const std::vector<uint8_t>& rows, uint32_t width, uint32_t height) {
    const size_t stride = static_cast<size_t>(width) * 3;
    std::vector<uint8_t> flipped;
    for (uint32_t y = height; y-- > 0;)
        flipped.insert(flipped.end(), rows.begin() + y * stride, rows.begin() + (y + 1) * stride);
    return flipped;
}

TEST(RenderPicture, NoTicksGiveTheBareBackground) {
    // fel's background is rgb(198, 204, 199).
    const Picture picture = Render(5, 40, 30, 1, 0, "render_no_ticks.png");
    EXPECT_EQ(picture.width, 40u);
    EXPECT_EQ(picture.height, 30u);
    EXPECT_TRUE(Uniform(picture, 198, 204, 199));
}

TEST(RenderPicture, ASurfaceBelow1200CellsNeverPaints) {
    // 34 x 35 = 1190 cells: a trail length of 0, so ticks paint nothing and
    // the picture stays rock's background rgb(200, 204, 203).
    const Picture picture = Render(6, 34, 35, 99, 25, "render_tiny.png");
    EXPECT_EQ(picture.width, 34u);
    EXPECT_EQ(picture.height, 35u);
    EXPECT_TRUE(Uniform(picture, 200, 204, 203));
}

TEST(RenderPicture, ShowsTwoPassesPerTickWithHabitatRowZeroAtTheBottom) {
    const uint32_t width = 64;
    const uint32_t height = 48;  // 3072 cells: two steps per bot and pass
    const uint64_t ticks = 30;
    const Picture picture = Render(4, width, height, 2024, ticks, "render_orientation.png");
    const std::vector<uint8_t> habitat = Habitat(4, width, height, 2024, 2 * ticks);
    ASSERT_EQ(picture.pixels.size(), habitat.size());
    // The check means something only when the picture is not symmetric
    // top to bottom.
    ASSERT_NE(FlipRows(habitat, width, height), habitat);
    EXPECT_EQ(picture.pixels, FlipRows(habitat, width, height));
    // One pass fewer is a different picture.
    EXPECT_NE(picture.pixels,
              FlipRows(Habitat(4, width, height, 2024, 2 * ticks - 1), width, height));
}

TEST(RenderPicture, TheSameRequestGivesTheSamePictureAgain) {
    // Nothing of one render may leak into the next: the generator, the
    // habitat and the bots all start afresh.
    const Picture first = Render(7, 96, 64, 12345, 20, "render_again_1.png");
    const Picture other = Render(2, 50, 70, 5, 10, "render_again_other.png");
    const Picture second = Render(7, 96, 64, 12345, 20, "render_again_2.png");
    EXPECT_EQ(first.pixels, second.pixels);
    EXPECT_NE(first.pixels, Render(7, 96, 64, 12346, 20, "render_again_3.png").pixels);
    EXPECT_FALSE(other.pixels.empty());
}

TEST(RenderPicture, ReportsEveryTickOnce) {
    RenderRequest request;
    request.row = 0;
    request.width = 60;
    request.height = 40;
    request.ticks = 7;
    request.output = "render_progress.png";
    std::vector<uint64_t> reported;
    std::string error;
    EXPECT_EQ(RenderPicture(
                  request,
                  [&](uint64_t done, uint64_t total) {
                      EXPECT_EQ(total, 7u);
                      reported.push_back(done);
                  },
                  error),
              RenderResult::kWritten);
    std::remove(request.output.c_str());
    EXPECT_EQ(reported, (std::vector<uint64_t>{1, 2, 3, 4, 5, 6, 7}));
}

TEST(RenderPicture, AnUnwritableFileIsAWriteFailure) {
    RenderRequest request;
    request.row = 1;
    request.width = 40;
    request.height = 40;
    request.ticks = 1;
    request.output = "no_such_directory_for_render/out.png";
    std::string error;
    EXPECT_EQ(RenderPicture(request, nullptr, error), RenderResult::kWriteFailed);
    EXPECT_NE(error.find(request.output), std::string::npos) << error;
    std::ifstream file(request.output);
    EXPECT_FALSE(file.good());
}

}  // namespace
}  // namespace tintwalk
