// What turns a frame tick's painting into pixels on a surface. The picture
// (saver/picture.h) runs the community and hands each tick's dirty tiles to
// one presenter: OpenGL on every platform (gl_presenter.h), or whatever a
// saver shell brings of its own.
#pragma once

#include <cstdint>

namespace tintwalk {

class DirtyTiles;
class Image;

// The size of a page of the atlas of dirty tiles (draw/tile_atlas.h).
struct AtlasPageSize {
    int32_t width = 0;
    int32_t height = 0;
};

class Presenter {
  public:
    virtual ~Presenter() = default;

    // A new picture of width x height cells on the shell's surface, which is
    // ready (for OpenGL: its context is current). Either side may be 0.
    virtual void Start(int32_t width, int32_t height) = 0;
    // Whether Present wants the painted cells listed with their colours
    // (DirtyTiles::Cells, CellColours) as well as the dirty tiles; asked
    // after Start. Such a presenter reads the habitat only on a tick with
    // every tile dirty: on any other the next tick may already be painting
    // it (saver/picture.h, OverlapTicks).
    virtual bool WantsCells() const { return false; }
    // The page size of the atlas of dirty tiles (DirtyTiles::Atlas) that
    // Present wants kept with each tick; 0 x 0 for none. Asked after Start.
    // Such a presenter, too, reads the habitat only on a tick with every
    // tile dirty.
    virtual AtlasPageSize WantsAtlas() const { return {}; }
    // Makes the surface show every cell of every dirty tile as the RGB
    // habitat holds it after the tick, then pushes the result out once (one
    // flush). The first tick of a picture has every tile dirty.
    virtual void Present(const Image& habitat, const DirtyTiles& dirty) = 0;
    // The picture ends; the surface is still there.
    virtual void Stop() = 0;
};

}  // namespace tintwalk
