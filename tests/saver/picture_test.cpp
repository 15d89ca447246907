// The start / tick / stop sequence on a real (offscreen, software) OpenGL
// context: what the screen shows must be exactly the RGB habitat, row 0 at
// the bottom, with the community's background wherever nothing was painted.
#include <GL/gl.h>
#include <GL/osmesa.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "communities/community.h"
#include "core/biotope.h"
#include "saver/picture.h"

namespace tintwalk {
namespace {

class OffscreenSurface {
  public:
    OffscreenSurface(int width, int height)
        : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height * 4, 0) {
        context_ = OSMesaCreateContextExt(OSMESA_RGBA, 0, 0, 0, nullptr);
        if (context_ != nullptr) {
            OSMesaMakeCurrent(context_, pixels_.data(), GL_UNSIGNED_BYTE, width, height);
        }
        surfaceWidth = width;
        surfaceHeight = height;
    }
    ~OffscreenSurface() {
        if (context_ != nullptr)
            OSMesaDestroyContext(context_);
    }
    bool ok() const { return context_ != nullptr; }

    // The colour at window column x, row y counted from the bottom edge.
    RgbPixel At(int x, int y) {
        glFinish();
        const uint8_t* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 4];
        return {p[0], p[1], p[2]};
    }

    // Every pixel equals the habitat cell at the same (x, y).
    int MismatchesAgainstHabitat() {
        glFinish();
        int mismatches = 0;
        const uint8_t* habitat = biotope.rgbHabitat.pixels;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                const uint8_t* screen = &pixels_[(static_cast<size_t>(y) * width_ + x) * 4];
                const uint8_t* cell = habitat + (static_cast<size_t>(y) * width_ + x) * 3;
                if (std::memcmp(screen, cell, 3) != 0)
                    ++mismatches;
            }
        }
        return mismatches;
    }

  private:
    int width_;
    int height_;
    std::vector<uint8_t> pixels_;
    OSMesaContext context_ = nullptr;
};

bool Same(RgbPixel a, RgbPixel b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

TEST(Picture, ScreenShowsTheHabitatAfterEveryTick) {
    OffscreenSurface surface(203, 117);  // odd width: rows are not 4-byte multiples
    ASSERT_TRUE(surface.ok());
    ASSERT_TRUE(StartPicture(203, 117, 3, 12345));
    for (int tick = 0; tick < 5; ++tick) {
        FrameTick();
        EXPECT_EQ(surface.MismatchesAgainstHabitat(), 0) << "after tick " << tick;
    }
    EXPECT_EQ(biotope.passCount, 10u);
    StopPicture();
    EXPECT_EQ(biotope.botCount, 0u);
    EXPECT_EQ(biotope.rgbHabitat.pixels, nullptr);
}

TEST(Picture, FirstTickClearsToTheCommunityBackgroundNotBlack) {
    // 40 x 29 = 1160 cells: below one step per 1200 cells, so nothing moves.
    OffscreenSurface surface(40, 29);
    ASSERT_TRUE(surface.ok());
    ASSERT_TRUE(StartPicture(40, 29, 5, 1));
    EXPECT_EQ(biotope.trailLength, 0u);
    FrameTick();
    const RgbPixel fel = {198, 204, 199};
    EXPECT_TRUE(Same(surface.At(0, 0), fel));
    EXPECT_TRUE(Same(surface.At(39, 28), fel));
    EXPECT_EQ(surface.MismatchesAgainstHabitat(), 0);
    StopPicture();
}

TEST(Picture, RestartClearsAgain) {
    OffscreenSurface surface(64, 48);
    ASSERT_TRUE(surface.ok());
    ASSERT_TRUE(StartPicture(64, 48, 0, 7));
    FrameTick();
    StopPicture();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(StartPicture(64, 48, 6, 7));
    FrameTick();
    EXPECT_EQ(surface.MismatchesAgainstHabitat(), 0);
    StopPicture();
}

TEST(Picture, UnknownRowStillTicksSafely) {
    OffscreenSurface surface(32, 32);
    ASSERT_TRUE(surface.ok());
    biotope.Release();
    EXPECT_FALSE(StartPicture(32, 32, 10, 1));
    FrameTick();  // no community: nothing to step or draw, no crash
    StopPicture();
}

}  // namespace
}  // namespace tintwalk
