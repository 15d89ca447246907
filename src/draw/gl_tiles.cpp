// Tiles: the texture method for OpenGL that has only power-of-two textures
// (Windows' own OpenGL 1.1, old drivers). The habitat is covered by a grid
// of square textures of kSide (256, or less where the context allows less);
// the edge textures stick out past the habitat and their extra texels are
// never drawn. Uploads and quads as in the texture method, grouped per
// texture: every upload of the tick first, then the quads texture by texture.
#include <algorithm>
#include <vector>

#include "draw/gl.h"
#include "draw/gl_methods.h"
#include "draw/tile_atlas.h"

namespace tintwalk {

namespace {

constexpr int32_t kSide = 256;

// Sends rectangles of habitat cells to the bound texture as opaque RGBA
// texels: the layout in which a software rasteriser keeps an RGBA8 texture,
// so that it copies rows instead of widening every RGB texel itself.
class TexelUpload {
  public:
    // Cells r of a habitat `habitatWidth` cells wide to the texels from
    // (x, y) on. Leaves the unpack row length at the habitat's width.
    void Send(const uint8_t* habitat, int32_t habitatWidth, const CellRect& r, GLint x, GLint y) {
        const int32_t width = r.x1 - r.x0;
        const int32_t height = r.y1 - r.y0;
        texels_.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
        uint8_t* out = texels_.data();
        for (int32_t row = r.y0; row < r.y1; ++row, out += static_cast<size_t>(width) * 4)
            CopyOpaqueTexels(HabitatCell(habitat, habitatWidth, r.x0, row), out, width);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE,
                        texels_.data());
        glPixelStorei(GL_UNPACK_ROW_LENGTH, habitatWidth);
    }

  private:
    std::vector<uint8_t> texels_;
};

// A dirty rectangle cut to one texture of the grid.
struct Piece {
    size_t texture;
    CellRect cells;
};

class TileMethod : public GlMethod {
  public:
    bool Start(int32_t width, int32_t height, const GlCapabilities& capabilities) override {
        side_ = kSide;
        while (side_ > capabilities.maxTextureSize && side_ > DirtyTiles::kTileSide)
            side_ /= 2;
        width_ = width;
        height_ = height;
        columns_ = (width + side_ - 1) / side_;
        rows_ = (height + side_ - 1) / side_;
        textures_.assign(static_cast<size_t>(columns_) * static_cast<size_t>(rows_), 0);
        if (!MakeTextures(textures_.data(), textures_.size(), side_, side_)) {
            Stop();
            return false;
        }
        return true;
    }

    void Draw(const uint8_t* habitat, const DirtyTiles& dirty) override {
        dirty.CollectRects(rects_);
        CutToTextures();
        // Every upload of the tick ...
        size_t bound = textures_.size();
        for (const Piece& piece : pieces_) {
            if (piece.texture != bound) {
                bound = piece.texture;
                glBindTexture(GL_TEXTURE_2D, textures_[bound]);
            }
            const CellRect& r = piece.cells;
            const int32_t originX = static_cast<int32_t>(piece.texture % columns_) * side_;
            const int32_t originY = static_cast<int32_t>(piece.texture / columns_) * side_;
            upload_.Send(habitat, width_, r, r.x0 - originX, r.y0 - originY);
        }
        // ... then the quads, one draw call per texture.
        glEnable(GL_TEXTURE_2D);
        const float scale = 1.0f / static_cast<float>(side_);
        for (size_t first = 0; first < pieces_.size();) {
            const size_t texture = pieces_[first].texture;
            const float originX = static_cast<float>((texture % columns_) * side_);
            const float originY = static_cast<float>((texture / columns_) * side_);
            vertices_.clear();
            size_t end = first;
            for (; end < pieces_.size() && pieces_[end].texture == texture; ++end) {
                AppendQuad(vertices_, pieces_[end].cells, originX, originY, scale, scale);
            }
            glBindTexture(GL_TEXTURE_2D, textures_[texture]);
            DrawQuads(vertices_);
            first = end;
        }
        EndQuads();
    }

    void Stop() override {
        if (!textures_.empty())
            glDeleteTextures(static_cast<GLsizei>(textures_.size()), textures_.data());
        textures_.clear();
    }

  private:
    // Cuts the rectangles along the texture grid into pieces_, sorted by texture.
    void CutToTextures() {
        pieces_.clear();
        for (const CellRect& r : rects_) {
            for (int32_t row = r.y0 / side_; row * side_ < r.y1; ++row) {
                for (int32_t column = r.x0 / side_; column * side_ < r.x1; ++column) {
                    const CellRect cut = {
                        std::max(r.x0, column * side_), std::max(r.y0, row * side_),
                        std::min(r.x1, (column + 1) * side_), std::min(r.y1, (row + 1) * side_)};
                    pieces_.push_back({static_cast<size_t>(row) * static_cast<size_t>(columns_) +
                                           static_cast<size_t>(column),
                                       cut});
                }
            }
        }
        std::stable_sort(pieces_.begin(), pieces_.end(),
                         [](const Piece& a, const Piece& b) { return a.texture < b.texture; });
    }

    int32_t side_ = kSide;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t columns_ = 0;
    int32_t rows_ = 0;
    std::vector<GLuint> textures_;
    TexelUpload upload_;
    std::vector<CellRect> rects_;
    std::vector<Piece> pieces_;
    std::vector<TexturedVertex> vertices_;
};

}  // namespace

std::unique_ptr<GlMethod> MakeTileMethod() {
    return std::make_unique<TileMethod>();
}

}  // namespace tintwalk
