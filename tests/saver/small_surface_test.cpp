// Surfaces too small for a picture: an empty preview host gives a 0 x 0
// surface, and below 1200 cells no bot moves. Start, ticks and stop must
// all be safe, and whatever can be shown is the background.
#include <GL/gl.h>
#include <GL/osmesa.h>
#include <gtest/gtest.h>

#include <vector>

#include "communities/community.h"
#include "core/biotope.h"
#include "saver/picture.h"

namespace tintwalk {
namespace {

class TinySurface : public ::testing::Test {
  protected:
    void SetUp() override {
        context_ = OSMesaCreateContextExt(OSMESA_RGBA, 0, 0, 0, nullptr);
        ASSERT_NE(context_, nullptr);
    }
    void TearDown() override {
        StopPicture();
        if (context_ != nullptr)
            OSMesaDestroyContext(context_);
    }

    // Runs start, three ticks and stop on a width x height surface whose GL
    // buffer is at least one pixel; returns the pixel at the bottom left.
    RgbPixel Run(int32_t width, int32_t height, int32_t row) {
        const int bufferWidth = width > 0 ? width : 1;
        const int bufferHeight = height > 0 ? height : 1;
        pixels_.assign(static_cast<size_t>(bufferWidth) * bufferHeight * 4, 0);
        OSMesaMakeCurrent(context_, pixels_.data(), GL_UNSIGNED_BYTE, bufferWidth, bufferHeight);
        surfaceWidth = width;
        surfaceHeight = height;
        StartPicture(width, height, row, 99);
        for (int tick = 0; tick < 3; ++tick)
            FrameTick();
        glFinish();
        StopPicture();
        return {pixels_[0], pixels_[1], pixels_[2]};
    }

    OSMesaContext context_ = nullptr;
    std::vector<uint8_t> pixels_;
};

TEST_F(TinySurface, EmptySurfaceStartsTicksAndStops) {
    Run(0, 0, 2);
    EXPECT_EQ(biotope.rgbHabitat.pixels, nullptr);
    EXPECT_EQ(biotope.botCount, 0u);
}

TEST_F(TinySurface, EmptyWidthOrHeightAlone) {
    Run(0, 112, 4);
    Run(152, 0, 4);
    EXPECT_EQ(biotope.botCount, 0u);
}

TEST_F(TinySurface, OnePixelShowsTheBackground) {
    // amorfwit: rgb(201, 202, 196)
    const RgbPixel shown = Run(1, 1, 0);
    EXPECT_EQ(shown.red, 201);
    EXPECT_EQ(shown.green, 202);
    EXPECT_EQ(shown.blue, 196);
}

TEST_F(TinySurface, BelowTwelveHundredCellsNothingMoves) {
    // 20 x 15 = 300 cells: a trail of 0 steps. rock: rgb(200, 204, 203)
    surfaceWidth = 20;
    surfaceHeight = 15;
    const RgbPixel shown = Run(20, 15, 6);
    EXPECT_EQ(shown.red, 200);
    EXPECT_EQ(shown.green, 204);
    EXPECT_EQ(shown.blue, 203);
}

}  // namespace
}  // namespace tintwalk
