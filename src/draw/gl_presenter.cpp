#include "draw/gl_presenter.h"

#include <cstdio>
#include <cstdlib>

#include "core/diagnostics.h"
#include "core/image.h"
#include "draw/dirty_tiles.h"
#include "draw/gl.h"
#include "draw/gl_methods.h"

namespace tintwalk {

namespace {

// The order in which a method that cannot start gives way.
DrawMethod Fallback(DrawMethod method) {
    return method == DrawMethod::kTexture ? DrawMethod::kTiles : DrawMethod::kPoints;
}

std::unique_ptr<GlMethod> MakeMethod(DrawMethod method, int32_t largestAtlasPage) {
    switch (method) {
        case DrawMethod::kTexture:
            return MakeTextureMethod(largestAtlasPage);
        case DrawMethod::kTiles:
            return MakeTileMethod();
        default:
            return MakePointMethod();
    }
}

// One unit per pixel with y = 0 at the bottom, and nothing that could
// change a colour on its way to the pixel: no lighting, blending, fog,
// depth or alpha test, no smoothing, no dithering.
void SetUpState(int32_t width, int32_t height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, static_cast<double>(width), 0.0, static_cast<double>(height), -1.0, 1.0);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLenum off[] = {GL_DITHER,       GL_LIGHTING,       GL_BLEND,        GL_FOG,
                          GL_DEPTH_TEST,   GL_ALPHA_TEST,     GL_STENCIL_TEST, GL_CULL_FACE,
                          GL_POINT_SMOOTH, GL_POLYGON_SMOOTH, GL_TEXTURE_2D,   GL_COLOR_LOGIC_OP};
    for (GLenum capability : off)
        glDisable(capability);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glShadeModel(GL_FLAT);
    glPointSize(1.0f);
    glColor4ub(255, 255, 255, 255);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
}

}  // namespace

const char* DrawMethodName(DrawMethod method) {
    switch (method) {
        case DrawMethod::kTexture:
            return "texture";
        case DrawMethod::kTiles:
            return "tiles";
        case DrawMethod::kPoints:
            return "points";
        default:
            return "auto";
    }
}

bool ParseDrawMethod(const std::string& text, DrawMethod& method) {
    for (DrawMethod candidate :
         {DrawMethod::kAuto, DrawMethod::kTexture, DrawMethod::kTiles, DrawMethod::kPoints}) {
        if (text == DrawMethodName(candidate)) {
            method = candidate;
            return true;
        }
    }
    return false;
}

GlCapabilities QueryGlCapabilities() {
    GlCapabilities capabilities;
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (version == nullptr)
        return capabilities;  // no current context
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    capabilities.maxTextureSize = maxSize;
    return capabilities;
}

namespace {

DrawMethod automaticMethod = DrawMethod::kPoints;

}  // namespace

GlPresenter::GlPresenter(DrawMethod wanted, int32_t largestAtlasPage)
    : wanted_(wanted), largestAtlasPage_(largestAtlasPage) {}

void GlPresenter::SetAutomaticMethod(DrawMethod method) {
    automaticMethod = method == DrawMethod::kAuto ? DrawMethod::kPoints : method;
}

GlPresenter::~GlPresenter() = default;

void GlPresenter::Start(int32_t width, int32_t height) {
    Stop();
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
    SetUpState(width_, height_);
    if (width_ == 0 || height_ == 0)
        return;

    DrawMethod wanted = wanted_;
    const char* forced = std::getenv(kMethodVariable);
    if (wanted == DrawMethod::kAuto && forced != nullptr && *forced != '\0' &&
        !ParseDrawMethod(forced, wanted)) {
        Diagnostic(stderr,
                   "GlPresenter::Start() failure: %s=%s is not auto, texture, tiles or points; "
                   "choosing automatically\n",
                   kMethodVariable, forced);
    }
    // Points unless the shell chose otherwise: they work on every OpenGL
    // and a tick paints few pixels. Where textures measured cheaper (the
    // atlas on llvmpipe, textures under wine), the shell says so
    // (BENCHMARKS.md has the measurements).
    const GlCapabilities capabilities = QueryGlCapabilities();
    DrawMethod method = wanted == DrawMethod::kAuto ? automaticMethod : wanted;
    while (true) {
        drawer_ = MakeMethod(method, largestAtlasPage_);
        if (drawer_->Start(width_, height_, capabilities))
            break;
        if (wanted != DrawMethod::kAuto) {
            Diagnostic(stderr, "GlPresenter::Start() failure: cannot draw with %s; using %s\n",
                       DrawMethodName(method), DrawMethodName(Fallback(method)));
        }
        method = Fallback(method);
    }
    method_ = method;
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    Diagnostic(stdout, "GlPresenter::Start(%d, %d): %s on %s\n", width_, height_,
               DrawMethodName(method_), renderer != nullptr ? renderer : "no renderer");
}

bool GlPresenter::WantsCells() const {
    return drawer_ != nullptr && drawer_->WantsCells();
}

AtlasPageSize GlPresenter::WantsAtlas() const {
    return drawer_ != nullptr ? drawer_->WantsAtlas() : AtlasPageSize{};
}

void GlPresenter::Present(const Image& habitat, const DirtyTiles& dirty) {
    const bool sameSize = habitat.width == static_cast<uint32_t>(width_) &&
                          habitat.height == static_cast<uint32_t>(height_);
    if (drawer_ != nullptr && habitat.pixels != nullptr && sameSize && !dirty.Empty()) {
        // Habitat rows are packed at width x 3 bytes, so rows start on any
        // byte; the pixel store is set afresh in case the shell changed it.
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, width_);
        glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
        glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
        drawer_->Draw(habitat.pixels, dirty);
    }
    glFlush();
}

void GlPresenter::Stop() {
    if (drawer_ != nullptr)
        drawer_->Stop();
    drawer_.reset();
    method_ = DrawMethod::kAuto;
}

}  // namespace tintwalk
