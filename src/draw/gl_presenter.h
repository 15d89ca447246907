// The OpenGL presenter: shows the dirty tiles of the RGB habitat exactly,
// with one of three methods (points unless told otherwise). Every method
// puts each cell on its own pixel on any conforming OpenGL: quads have their
// corners on pixel edges and so cover whole pixel centres, textures are
// sampled at texel centres with nearest filtering, and points sit at pixel
// centres.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "draw/presenter.h"

namespace tintwalk {

enum class DrawMethod {
    kAuto,
    // The dirty tiles packed into an atlas (draw/tile_atlas.h), uploaded
    // in one piece to a square texture, then drawn as quads.
    kTexture,
    // The habitat kept on a grid of 256 x 256 textures; dirty tiles
    // uploaded as rectangles, then drawn as quads.
    kTiles,
    // One point per painted cell, from one client array per tick; works on
    // every OpenGL.
    kPoints,
};

const char* DrawMethodName(DrawMethod method);
// "auto", "texture", "tiles" or "points"; false for anything else.
bool ParseDrawMethod(const std::string& text, DrawMethod& method);

// What a context offers that the texture methods depend on.
struct GlCapabilities {
    int32_t maxTextureSize = 0;
};

// Reads the capabilities of the current context.
GlCapabilities QueryGlCapabilities();

class GlMethod;

class GlPresenter : public Presenter {
  public:
    // The environment variable that forces a method (tests, benchmarks).
    static constexpr const char* kMethodVariable = "TINTWALK_DRAW";

    // Method kAuto reads kMethodVariable at every Start and, where that is
    // not set, draws with the automatic method: points (see Start for why)
    // unless the shell knows better for its platform.
    // A method that cannot start gives way to the next of texture, tiles,
    // points.
    // The texture method packs each tick into atlas pages of at most
    // largestAtlasPage texels a side (a power of two; tests make it small
    // to draw a tick in several pages).
    explicit GlPresenter(DrawMethod wanted = DrawMethod::kAuto, int32_t largestAtlasPage = 2048);
    ~GlPresenter() override;

    // The method that kAuto draws with from the next Start on, in every
    // presenter of the process; kAuto gives points again.
    static void SetAutomaticMethod(DrawMethod method);

    void Start(int32_t width, int32_t height) override;
    bool WantsCells() const override;
    AtlasPageSize WantsAtlas() const override;
    void Present(const Image& habitat, const DirtyTiles& dirty) override;
    void Stop() override;

    // The method in use since the last Start (kAuto before and after).
    DrawMethod Method() const { return method_; }

  private:
    DrawMethod wanted_;
    int32_t largestAtlasPage_;
    DrawMethod method_ = DrawMethod::kAuto;
    std::unique_ptr<GlMethod> drawer_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

}  // namespace tintwalk
