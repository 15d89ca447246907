// Points: each cell painted in the tick becomes one point at its pixel
// centre, all of them in one interleaved client array and one draw call.
// A point of size 1 at (x + 0.5, y + 0.5) lights exactly pixel (x, y) on any
// conforming OpenGL; at whole coordinates it would sit on pixel corners and
// the rasteriser's rounding would choose the pixel.
#include <algorithm>
#include <vector>

#include "draw/gl.h"
#include "draw/gl_methods.h"

namespace tintwalk {

namespace {

// The layout of GL_C4UB_V2F.
struct ColouredPoint {
    uint8_t colour[4];
    float x;
    float y;
};
static_assert(sizeof(ColouredPoint) == 12, "GL_C4UB_V2F is 12 bytes a vertex");

class PointMethod : public GlMethod {
  public:
    bool Start(int32_t width, int32_t height, const GlCapabilities&) override {
        width_ = width;
        height_ = height;
        return true;
    }

    bool WantsCells() const override { return true; }

    void Draw(const uint8_t* habitat, const DirtyTiles& dirty) override {
        if (dirty.AllDirty()) {
            // The first tick shows the whole habitat: one pixel rectangle
            // whose lower left corner is the window's (0, 0), so every
            // pixel centre falls inside its own cell.
            glRasterPos2i(0, 0);
            glDrawPixels(width_, height_, GL_RGB, GL_UNSIGNED_BYTE, habitat);
            return;
        }
        // Any other tick: the painted cells in the colours the tick left
        // them (the habitat may already hold the next tick's).
        const std::vector<TrailPoint>& cells = dirty.Cells();
        const std::vector<RgbPixel>& colours = dirty.CellColours();
        points_.resize(std::min(cells.size(), colours.size()));
        for (size_t i = 0; i < points_.size(); ++i) {
            ColouredPoint& out = points_[i];
            out.colour[0] = colours[i].red;
            out.colour[1] = colours[i].green;
            out.colour[2] = colours[i].blue;
            out.colour[3] = 255;
            out.x = static_cast<float>(cells[i].x) + 0.5f;
            out.y = static_cast<float>(cells[i].y) + 0.5f;
        }
        if (points_.empty())
            return;
        glInterleavedArrays(GL_C4UB_V2F, 0, points_.data());
        glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(points_.size()));
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }

    void Stop() override { points_ = {}; }

  private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<ColouredPoint> points_;
};

}  // namespace

std::unique_ptr<GlMethod> MakePointMethod() {
    return std::make_unique<PointMethod>();
}

}  // namespace tintwalk
