// What the page shows is the habitat: the canvas buffer, painted from the
// bots' trails pass by pass, must equal the RGB habitat turned upright, for
// every shape, including those too small for any bot to move.
#include <gtest/gtest.h>

#include <cstdint>

#include "tintwalk_web.h"

namespace {

struct Shape {
    int32_t row;
    uint32_t seed;
    int32_t width;
    int32_t height;
    int32_t ticks;
};

const Shape kShapes[] = {
    {5, 7, 641, 359, 30},  // odd width
    {6, 3, 1, 1500, 40},   // one column, one step a pass
    {4, 9, 1500, 1, 20},   // one row
    {0, 1, 2, 3, 5},       // no trail: the background only
    {8, 11, 1, 1, 3},      //
    {2, 5, 97, 31, 400},   // small and worn over and over
    {9, 4000000000u, 320, 200, 60},
};

TEST(WebGlue, CanvasShowsTheHabitatUpright) {
    for (const Shape& shape : kShapes) {
        SCOPED_TRACE(testing::Message()
                     << "row " << shape.row << ", " << shape.width << "x" << shape.height);
        ASSERT_EQ(tw_start(shape.row, shape.seed, shape.width, shape.height), 1);
        tw_ticks(shape.ticks);
        const uint8_t* rgba = tw_rgba();
        const uint8_t* rgb = tw_rgb();
        ASSERT_NE(rgba, nullptr);
        ASSERT_NE(rgb, nullptr);
        int32_t wrong = 0;
        for (int32_t y = 0; y < shape.height; ++y) {
            for (int32_t x = 0; x < shape.width; ++x) {
                const uint8_t* cell = rgb + (static_cast<size_t>(y) * shape.width + x) * 3;
                const uint8_t* pixel =
                    rgba + (static_cast<size_t>(shape.height - 1 - y) * shape.width + x) * 4;
                if (pixel[0] != cell[0] || pixel[1] != cell[1] || pixel[2] != cell[2] ||
                    pixel[3] != 255)
                    ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0);
        tw_stop();
        EXPECT_EQ(tw_rgba(), nullptr);
    }
}

TEST(WebGlue, RefusesWhatTheRendererRefuses) {
    const Shape kBad[] = {
        {-1, 1, 10, 10, 0}, {10, 1, 10, 10, 0},  {0, 1, 0, 10, 0},
        {0, 1, 10, -3, 0},  {0, 1, 32769, 1, 0}, {0, 1, 1, 32769, 0},
    };
    for (const Shape& shape : kBad) {
        EXPECT_EQ(tw_start(shape.row, shape.seed, shape.width, shape.height), -1);
        EXPECT_EQ(tw_rgba(), nullptr);
        tw_ticks(1);  // nothing to run, and no crash
    }
}

}  // namespace
