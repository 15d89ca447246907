// The three ways of drawing behind GlPresenter; each lives in its own file.
// The presenter has set the projection, the pixel store (alignment 1, row
// length = habitat width) and the render state before any of them runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "draw/dirty_tiles.h"
#include "draw/gl.h"
#include "draw/gl_presenter.h"

namespace tintwalk {

// The layout of GL_T2F_V3F, as the texture and tile methods send their quads.
struct TexturedVertex {
    float s;
    float t;
    float x;
    float y;
    float z;
};

// Generates `count` texture names into `names` and makes each an RGBA8
// texture of width x height texels, sampled without filtering; the texels
// stay undefined until the first upload. False when the context refused; the
// names stay generated, for the caller to delete.
inline bool MakeTextures(GLuint* names, size_t count, GLsizei width, GLsizei height) {
    while (glGetError() != GL_NO_ERROR) {
    }
    glGenTextures(static_cast<GLsizei>(count), names);
    for (size_t i = 0; i < count; ++i) {
        glBindTexture(GL_TEXTURE_2D, names[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     nullptr);
    }
    return glGetError() == GL_NO_ERROR;
}

// The first byte of the cell (x, y) of a habitat whose rows hold `width` cells.
inline const uint8_t* HabitatCell(const uint8_t* habitat, int32_t width, int32_t x, int32_t y) {
    return habitat +
           (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
}

// Appends the quad of the cells of r, its corners on pixel edges, textured
// from a texture whose texel (0, 0) is cell (originX, originY) and whose
// coordinates run 0 to 1 over width x height texels.
inline void AppendQuad(std::vector<TexturedVertex>& vertices, const CellRect& r, float originX,
                       float originY, float sScale, float tScale) {
    const float x0 = static_cast<float>(r.x0);
    const float y0 = static_cast<float>(r.y0);
    const float x1 = static_cast<float>(r.x1);
    const float y1 = static_cast<float>(r.y1);
    const float s0 = (x0 - originX) * sScale;
    const float t0 = (y0 - originY) * tScale;
    const float s1 = (x1 - originX) * sScale;
    const float t1 = (y1 - originY) * tScale;
    vertices.push_back({s0, t0, x0, y0, 0.0f});
    vertices.push_back({s1, t0, x1, y0, 0.0f});
    vertices.push_back({s1, t1, x1, y1, 0.0f});
    vertices.push_back({s0, t1, x0, y1, 0.0f});
}

// Draws the quads of `vertices` from the bound texture (texturing enabled).
inline void DrawQuads(const std::vector<TexturedVertex>& vertices) {
    glInterleavedArrays(GL_T2F_V3F, 0, vertices.data());
    glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(vertices.size()));
}

// Leaves the state as it was before the first textured draw of the tick.
inline void EndQuads() {
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_TEXTURE_2D);
}

class GlMethod {
  public:
    virtual ~GlMethod() = default;
    // False when the context cannot hold what this method needs; whatever
    // was made is freed again.
    virtual bool Start(int32_t width, int32_t height, const GlCapabilities& capabilities) = 0;
    // Whether Draw wants the painted cells listed with their colours; such
    // a method reads the habitat only when every tile is dirty (see
    // Presenter::WantsCells).
    virtual bool WantsCells() const { return false; }
    // The atlas page size Draw wants kept (Presenter::WantsAtlas).
    virtual AtlasPageSize WantsAtlas() const { return {}; }
    // Uploads everything the tick needs, then draws it; no flush. habitat is
    // the RGB habitat of the started size, rows packed, row 0 at the bottom.
    virtual void Draw(const uint8_t* habitat, const DirtyTiles& dirty) = 0;
    virtual void Stop() = 0;
};

// Atlas pages of at most largestPage texels a side (a power of two).
std::unique_ptr<GlMethod> MakeTextureMethod(int32_t largestPage);
std::unique_ptr<GlMethod> MakeTileMethod();
std::unique_ptr<GlMethod> MakePointMethod();

}  // namespace tintwalk
