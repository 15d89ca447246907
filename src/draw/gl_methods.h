// The three ways of drawing behind GlPresenter; each lives in its own file.
// The presenter has set the projection, the pixel store (alignment 1, row
// length = habitat width) and the render state before any of them runs.
#pragma once

#include <cstdint>
#include <memory>

#include "draw/dirty_tiles.h"
#include "draw/gl_presenter.h"

namespace tintwalk {

class GlMethod {
  public:
    virtual ~GlMethod() = default;
    // False when the context cannot hold what this method needs; whatever
    // was made is freed again.
    virtual bool Start(int32_t width, int32_t height, const GlCapabilities& capabilities) = 0;
    // Uploads everything the tick needs, then draws it; no flush. habitat is
    // the RGB habitat of the started size, rows packed, row 0 at the bottom.
    virtual void Draw(const uint8_t* habitat, const DirtyTiles& dirty) = 0;
    virtual void Stop() = 0;
};

std::unique_ptr<GlMethod> MakeTextureMethod();
std::unique_ptr<GlMethod> MakeTileMethod();
std::unique_ptr<GlMethod> MakePointMethod();

}  // namespace tintwalk
