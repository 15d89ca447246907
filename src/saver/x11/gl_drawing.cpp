#include "saver/x11/gl_drawing.h"

#include <GL/gl.h>
#include <GL/glx.h>

#include <cstring>

#include "communities/community.h"
#include "draw/gl_presenter.h"
#include "saver/picture.h"
#include "saver/x11/visual_choice.h"
#include "saver/x11/x_errors.h"

namespace tintwalk {

namespace {

class GlDrawer : public Drawer {
  public:
    GlDrawer(Display* display, GLXContext context) : display(display), context(context) {}
    ~GlDrawer() override {
        glXMakeCurrent(display, None, nullptr);
        glXDestroyContext(display, context);
    }

    Presenter& WindowPresenter() override { return OpenGlPresenter(); }

    // Reading a pixel back settles the front buffer: without it Mesa's
    // softpipe crashed when the context was released at the end.
    void Finish() override {
        glFinish();
        uint8_t pixel[4];
        glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    }

    bool ReadScreen(std::vector<uint8_t>& rgb, std::string&) override {
        const size_t width = static_cast<size_t>(surfaceWidth);
        const size_t height = static_cast<size_t>(surfaceHeight);
        const size_t rowBytes = width * 3;
        std::vector<uint8_t> bottomUp(rowBytes * height);
        glFinish();
        glReadBuffer(GL_FRONT);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height), GL_RGB,
                     GL_UNSIGNED_BYTE, bottomUp.data());
        rgb.resize(bottomUp.size());
        for (size_t row = 0; row < height; ++row)
            std::memcpy(&rgb[row * rowBytes], &bottomUp[(height - 1 - row) * rowBytes], rowBytes);
        return true;
    }

  private:
    Display* display;
    GLXContext context;
};

}  // namespace

bool HasGlx(Display* display) {
    int errorBase = 0;
    int eventBase = 0;
    return glXQueryExtension(display, &errorBase, &eventBase);
}

XVisualInfo* ChooseGlVisual(Display* display, int screen, bool& doubleBuffered) {
    XVisualInfo pattern;
    std::memset(&pattern, 0, sizeof pattern);
    pattern.screen = screen;
    int count = 0;
    XVisualInfo* all = XGetVisualInfo(display, VisualScreenMask, &pattern, &count);
    if (all == nullptr)
        return nullptr;
    const VisualID defaultId = XVisualIDFromVisual(DefaultVisual(display, screen));
    std::vector<VisualTraits> traits(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        XVisualInfo* info = &all[i];
        auto get = [&](int attribute) {
            int value = 0;
            return glXGetConfig(display, info, attribute, &value) == 0 ? value : 0;
        };
        VisualTraits& t = traits[static_cast<size_t>(i)];
        t.openGl = get(GLX_USE_GL) != 0;
        if (!t.openGl)
            continue;
        t.rgba = get(GLX_RGBA) != 0;
        t.trueColour = info->c_class == TrueColor;
        t.doubleBuffer = get(GLX_DOUBLEBUFFER) != 0;
        t.stereo = get(GLX_STEREO) != 0;
        t.level = get(GLX_LEVEL);
        t.red = get(GLX_RED_SIZE);
        t.green = get(GLX_GREEN_SIZE);
        t.blue = get(GLX_BLUE_SIZE);
        t.extraBits = get(GLX_ALPHA_SIZE) + get(GLX_DEPTH_SIZE) + get(GLX_STENCIL_SIZE) +
                      get(GLX_ACCUM_RED_SIZE) + get(GLX_ACCUM_GREEN_SIZE) +
                      get(GLX_ACCUM_BLUE_SIZE) + get(GLX_ACCUM_ALPHA_SIZE);
        t.isDefault = info->visualid == defaultId;
    }
    const int best = PickVisual(traits);
    XVisualInfo* chosen = nullptr;
    if (best >= 0) {
        chosen = CopyVisual(all[best]);
        doubleBuffered = traits[static_cast<size_t>(best)].doubleBuffer;
    }
    XFree(all);
    return chosen;
}

std::unique_ptr<Drawer> MakeGlDrawer(const Surface& s, bool doubleBuffered, std::string& error) {
    BeginTrap(s.display);
    GLXContext context = glXCreateContext(s.display, s.visual, nullptr, True);
    if (context == nullptr)
        context = glXCreateContext(s.display, s.visual, nullptr, False);
    const bool current = context != nullptr && glXMakeCurrent(s.display, s.window, context);
    if (!EndTrap(s.display) || !current) {
        if (context != nullptr) {
            glXMakeCurrent(s.display, None, nullptr);
            glXDestroyContext(s.display, context);
        }
        error = TrappedErrorText();
        return nullptr;
    }
    if (doubleBuffered) {
        // Without a single-buffered visual the picture goes straight into
        // the front buffer: it builds up on screen and is never swapped.
        glDrawBuffer(GL_FRONT);
    }
    glReadBuffer(GL_FRONT);
    // The atlas of textures costs the least a tick on llvmpipe and on
    // graphics hardware; Mesa's softpipe, which samples every texel slowly,
    // draws points in half the time (BENCHMARKS.md).
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const bool softpipe = renderer != nullptr && std::strncmp(renderer, "softpipe", 8) == 0;
    GlPresenter::SetAutomaticMethod(softpipe ? DrawMethod::kPoints : DrawMethod::kTexture);
    return std::make_unique<GlDrawer>(s.display, context);
}

}  // namespace tintwalk
