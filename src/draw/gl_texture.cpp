// Texture: the habitat kept as one texture of its own size. A tick
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

class TextureMethod : public GlMethod {
  public:
    bool Start(int32_t width, int32_t height, const GlCapabilities& capabilities) override {
        if (!capabilities.anySizeTextures || width > capabilities.maxTextureSize ||
            height > capabilities.maxTextureSize)
            return false;
        width_ = width;
        height_ = height;
        // The first tick uploads every texel; until then the contents do not matter.
        if (!MakeTextures(&texture_, 1, width, height)) {
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
            upload_.Send(habitat, width_, r, r.x0, r.y0);
            AppendQuad(vertices_, r, 0.0f, 0.0f, sScale, tScale);
        }
        glEnable(GL_TEXTURE_2D);
        DrawQuads(vertices_);
        EndQuads();
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
    TexelUpload upload_;
    std::vector<CellRect> rects_;
    std::vector<TexturedVertex> vertices_;
};

}  // namespace

std::unique_ptr<GlMethod> MakeTextureMethod() {
    return std::make_unique<TextureMethod>();
}

}  // namespace tintwalk
