// Start, ticks and stop on an offscreen context: the screen shows exactly the
// RGB habitat under llvmpipe and softpipe, which round pixel edges differently.
#include <GL/gl.h>
#include <GL/osmesa.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "communities/community.h"
#include "core/biotope.h"
#include "saver/picture.h"
// The mutation tool builds the tests against a snapshot of the source from
// before the presenter: there only the tests without it are built.
#if __has_include("draw/gl_presenter.h")
#include "draw/gl_presenter.h"
#define TINTWALK_HAS_PRESENTER
#endif

namespace tintwalk {
namespace {

// The current context, drawing into `pixels` (at least 1 x 1). Its end stops
// the picture first, so that a case that fails half-way leaves neither a
// picture nor a context to the next; a presenter of the case's own must be
// made before the surface, to outlive the picture.
struct OffscreenSurface {
    OffscreenSurface(int width, int height)
        : pixels(static_cast<size_t>(std::max(width, 1)) * std::max(height, 1) * 4),
          context(OSMesaCreateContextExt(OSMESA_RGBA, 0, 0, 0, nullptr)) {
        OSMesaMakeCurrent(context, pixels.data(), GL_UNSIGNED_BYTE, std::max(width, 1),
                          std::max(height, 1));
        surfaceWidth = width;
        surfaceHeight = height;
    }
    ~OffscreenSurface() {
        StopPicture();
        OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0);
        OSMesaDestroyContext(context);
    }

    // Pixels that differ from the cell at the same (x, y) of `rgb` (packed
    // rows of the surface's size), by default the habitat.
    int MismatchesAgainstHabitat(const uint8_t* rgb = biotope.rgbHabitat.pixels) {
        glFinish();
        int mismatches = 0;
        for (size_t i = 0; i < pixels.size() / 4 && rgb != nullptr; ++i)
            mismatches += std::memcmp(&pixels[i * 4], rgb + i * 3, 3) != 0;
        return mismatches;
    }

    std::vector<uint8_t> pixels;
    OSMesaContext context;
};

#ifdef TINTWALK_HAS_PRESENTER
TEST(Picture, EveryMethodShowsTheHabitatExactlyAfterEveryTick) {
    // Odd widths (rows that are no multiple of 4 bytes), sides of 1, 2 and 3,
    // several tile textures along one side.
    const int shapes[][3] = {{1365, 767, 6}, {203, 117, 12}, {1, 1500, 8}, {1500, 1, 8},
                             {2, 700, 8},    {3, 900, 8},    {1, 1, 2}};
    // The texture method also with atlas pages of 32 x 32 texels, which
    // takes several pages a tick and cuts rectangles at the page's edges.
    const std::pair<DrawMethod, int32_t> methods[] = {{DrawMethod::kTexture, 2048},
                                                      {DrawMethod::kTexture, 32},
                                                      {DrawMethod::kTiles, 2048},
                                                      {DrawMethod::kPoints, 2048}};
    for (const auto& [method, largestPage] : methods) {
        for (const auto& [width, height, ticks] : shapes) {
            // The habitat after each tick of the picture run in turn; with
            // ticks overlapping, the habitat is a tick ahead of the screen.
            std::vector<std::vector<uint8_t>> habitats;
            for (bool overlap : {false, true}) {
                SCOPED_TRACE(std::string(DrawMethodName(method)) + " (pages " +
                             std::to_string(largestPage) + ") " + std::to_string(width) + "x" +
                             std::to_string(height) + (overlap ? " overlapping" : ""));
                OverlapTicks(overlap);
                GlPresenter presenter(method, largestPage);
                OffscreenSurface surface(width, height);
                ASSERT_NE(surface.context, nullptr);
                ASSERT_TRUE(StartPicture(presenter, width, height, 7, 7));
                EXPECT_EQ(presenter.Method(), method);
                const size_t bytes =
                    size_t{biotope.rgbHabitat.width} * biotope.rgbHabitat.height * 3;
                for (int tick = 0; tick < ticks; ++tick) {
                    FrameTick();
                    if (!overlap) {
                        const uint8_t* rgb = biotope.rgbHabitat.pixels;
                        habitats.emplace_back(rgb, rgb + bytes);
                    }
                    ASSERT_EQ(surface.MismatchesAgainstHabitat(habitats[tick].data()), 0)
                        << "after tick " << tick;
                }
                StopPicture();
            }
            OverlapTicks(false);
        }
    }
}

TEST(Picture, RasteriserMethodChoiceAndRestart) {
    GlPresenter presenter;
    OffscreenSurface surface(64, 48);
    ASSERT_NE(surface.context, nullptr);
    const char* wanted = std::getenv("GALLIUM_DRIVER");
    const std::string renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    EXPECT_NE(renderer.find(wanted ? wanted : ""), std::string::npos) << renderer;
    // Points unless the environment names another method.
    for (const std::string forced : {"", "tiles", "no such method"}) {
        setenv(GlPresenter::kMethodVariable, forced.c_str(), 1);
        presenter.Start(64, 48);
        EXPECT_STREQ(DrawMethodName(presenter.Method()), forced == "tiles" ? "tiles" : "points");
        presenter.Stop();
    }
    unsetenv(GlPresenter::kMethodVariable);
    // A restart on a cleared screen shows the whole habitat again.
    for (int32_t row : {0, 6}) {
        glClear(GL_COLOR_BUFFER_BIT);
        ASSERT_TRUE(StartPicture(OpenGlPresenter(), 64, 48, row, 7));
        FrameTick();
        EXPECT_EQ(surface.MismatchesAgainstHabitat(), 0);
        StopPicture();
    }
}

#endif

TEST(Picture, SurfacesTooSmallOrAnUnknownRowTickSafely) {
    // An empty preview host gives a 0 x 0 surface; below 1200 cells no bot
    // moves, and the background shows (amorfwit's and rock's); row 10 is none.
    struct Case {
        int width, height, row;
        std::vector<uint8_t> shown;  // the background, where there is a picture
    };
    const Case cases[] = {{0, 0, 2, {}},
                          {0, 112, 4, {}},
                          {152, 0, 4, {}},
                          {32, 32, 10, {}},
                          {1, 1, 0, {201, 202, 196}},
                          {20, 15, 6, {200, 204, 203}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        OffscreenSurface surface(c.width, c.height);
        ASSERT_NE(surface.context, nullptr);
        EXPECT_EQ(StartPicture(OpenGlPresenter(), c.width, c.height, c.row, 99), c.row != 10);
        for (int tick = 0; tick < 3; ++tick)
            FrameTick();
        if (!c.shown.empty()) {
            EXPECT_EQ(biotope.trailLength, 0u);
            EXPECT_EQ(surface.MismatchesAgainstHabitat(), 0);
            EXPECT_EQ(std::vector<uint8_t>(&surface.pixels[0], &surface.pixels[3]), c.shown);
        }
        StopPicture();
        EXPECT_EQ(biotope.botCount, 0u);
        EXPECT_EQ(biotope.rgbHabitat.pixels, nullptr);
    }
}

}  // namespace
}  // namespace tintwalk
