// Texture: the habitat kept as one RGB texture of its own size. A tick
// uploads the rectangles of its dirty tiles (all uploads first: mixing
// uploads with draws makes a software rasteriser wait for each draw), then
// draws them as textured quads. Quad corners lie on pixel edges and the
// texture coordinates on texel edges, so every pixel centre samples the
// middle of its own texel, and nearest filtering takes that texel.
#include <vector>

#include "draw/gl.h"
#include "draw/gl_methods.h"

namespace tintwalk {

namespace {

// The layout of GL_T2F_V3F.
struct TexturedVertex {
    float s;
    float t;
    float x;
    float y;
    float z;
};

class TextureMethod : public GlMethod {
  public:
    bool Start(int32_t width, int32_t height, const GlCapabilities& capabilities) override {
        if (!capabilities.anySizeTextures || width > capabilities.maxTextureSize ||
            height > capabilities.maxTextureSize)
            return false;
        width_ = width;
        height_ = height;
        while (glGetError() != GL_NO_ERROR) {
        }
        glGenTextures(1, &texture_);
        glBindTexture(GL_TEXTURE_2D, texture_);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        // The first tick uploads every texel; until then the contents do not matter.
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                     nullptr);
        if (glGetError() != GL_NO_ERROR) {
            Stop();
            return false;
        }
        return true;
    }

    void Draw(const uint8_t* habitat, const DirtyTiles& dirty) override {
        dirty.CollectRects(rects_);
        glBindTexture(GL_TEXTURE_2D, texture_);
        vertices_.clear();
        const float sScale = 1.0f / static_cast<float>(width_);
        const float tScale = 1.0f / static_cast<float>(height_);
        for (const CellRect& r : rects_) {
            glTexSubImage2D(GL_TEXTURE_2D, 0, r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0, GL_RGB,
                            GL_UNSIGNED_BYTE,
                            habitat + (static_cast<size_t>(r.y0) * static_cast<size_t>(width_) +
                                       static_cast<size_t>(r.x0)) *
                                          3);
            const float x0 = static_cast<float>(r.x0);
            const float y0 = static_cast<float>(r.y0);
            const float x1 = static_cast<float>(r.x1);
            const float y1 = static_cast<float>(r.y1);
            vertices_.push_back({x0 * sScale, y0 * tScale, x0, y0, 0.0f});
            vertices_.push_back({x1 * sScale, y0 * tScale, x1, y0, 0.0f});
            vertices_.push_back({x1 * sScale, y1 * tScale, x1, y1, 0.0f});
            vertices_.push_back({x0 * sScale, y1 * tScale, x0, y1, 0.0f});
        }
        glEnable(GL_TEXTURE_2D);
        glInterleavedArrays(GL_T2F_V3F, 0, vertices_.data());
        glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(vertices_.size()));
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisable(GL_TEXTURE_2D);
    }

    void Stop() override {
        if (texture_ != 0)
            glDeleteTextures(1, &texture_);
        texture_ = 0;
    }

  private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    GLuint texture_ = 0;
    std::vector<CellRect> rects_;
    std::vector<TexturedVertex> vertices_;
};

}  // namespace

std::unique_ptr<GlMethod> MakeTextureMethod() {
    return std::make_unique<TextureMethod>();
}

}  // namespace tintwalk
