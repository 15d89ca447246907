// Texture: each tick's dirty tiles come packed into an atlas (kept with the
// tick, draw/tile_atlas.h) that goes to one texture of the atlas's page
// size in one upload per page; then each rectangle is drawn as a quad
// textured from its place in the atlas. Quad corners lie on pixel edges and
// the texture coordinates on texel edges, so every pixel centre samples the
// middle of its own texel, and nearest filtering takes that texel. The page
// is square with a power-of-two side, so any OpenGL can hold it. The
// habitat itself is read only on a tick with every tile dirty.
#include <vector>

#include "draw/gl.h"
#include "draw/gl_methods.h"
#include "draw/tile_atlas.h"

namespace tintwalk {

namespace {

class TextureMethod : public GlMethod {
  public:
    // The side of the atlas page: larger pages fit the dirty tiles of big
    // habitats in one upload; the context's limit caps it.
    explicit TextureMethod(int32_t largestPage) : largestPage_(largestPage) {}

    bool Start(int32_t width, int32_t height, const GlCapabilities& capabilities) override {
        width_ = width;
        height_ = height;
        side_ = largestPage_;
        while (side_ > capabilities.maxTextureSize && side_ > DirtyTiles::kTileSide)
            side_ /= 2;
        if (side_ > capabilities.maxTextureSize || !MakeTextures(&texture_, 1, side_, side_)) {
            Stop();
            return false;
        }
        return true;
    }

    AtlasPageSize WantsAtlas() const override { return {side_, side_}; }

    void Draw(const uint8_t* habitat, const DirtyTiles& dirty) override {
        if (dirty.AllDirty()) {
            // The whole habitat as one pixel rectangle whose lower left
            // corner is the window's (0, 0).
            glRasterPos2i(0, 0);
            glDrawPixels(width_, height_, GL_RGB, GL_UNSIGNED_BYTE, habitat);
            return;
        }
        const TileAtlas& atlas = dirty.Atlas();
        if (atlas.Pieces().empty() || atlas.PageWidth() != side_)
            return;
        glBindTexture(GL_TEXTURE_2D, texture_);
        glEnable(GL_TEXTURE_2D);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        const float scale = 1.0f / static_cast<float>(side_);
        const std::vector<AtlasPiece>& pieces = atlas.Pieces();
        size_t next = 0;
        for (int32_t page = 0; page < atlas.Pages(); ++page) {
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, side_, atlas.UsedRows(page), GL_RGBA,
                            GL_UNSIGNED_BYTE, atlas.PageTexels(page));
            vertices_.clear();
            for (; next < pieces.size() && pieces[next].page == page; ++next) {
                const AtlasPiece& piece = pieces[next];
                AppendQuad(vertices_, piece.cells, static_cast<float>(piece.cells.x0 - piece.x),
                           static_cast<float>(piece.cells.y0 - piece.y), scale, scale);
            }
            DrawQuads(vertices_);
        }
        glPixelStorei(GL_UNPACK_ROW_LENGTH, width_);
        EndQuads();
    }

    void Stop() override {
        if (texture_ != 0)
            glDeleteTextures(1, &texture_);
        texture_ = 0;
        vertices_ = {};
    }

  private:
    const int32_t largestPage_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t side_ = 0;
    GLuint texture_ = 0;
    std::vector<TexturedVertex> vertices_;
};

}  // namespace

std::unique_ptr<GlMethod> MakeTextureMethod(int32_t largestPage) {
    return std::make_unique<TextureMethod>(largestPage);
}

}  // namespace tintwalk
