#include "saver/win32/gl_context.h"

#include <GL/gl.h>

#include "draw/gl_presenter.h"

namespace tintwalk {

HDC deviceContext = nullptr;
HGLRC glContext = nullptr;

namespace {

// Single-buffered RGB of 24 bits: the picture is drawn point by point and
// never swapped or redrawn.
PIXELFORMATDESCRIPTOR SurfacePixelFormat() {
    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DEPTH_DONTCARE;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 24;
    return format;
}

// Under wine the OpenGL driver is the host's and allocates from the host's
// C library, whose heap a Windows program cannot tune. Points then cost
// more than textures: each tick's point commands take some megabytes that
// the heap gives back to the system and faults in again on the next tick
// (at 3840 x 2160 on llvmpipe, 2,000 page faults and 4 ms of processor time
// a tick). The texture method allocates nothing per tick.
bool RunsUnderWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace

void CreateGlContext(HWND window) {
    const PIXELFORMATDESCRIPTOR request = SurfacePixelFormat();
    deviceContext = GetDC(window);
    const int format = ChoosePixelFormat(deviceContext, &request);
    SetPixelFormat(deviceContext, format, &request);
    glContext = wglCreateContext(deviceContext);
    wglMakeCurrent(deviceContext, glContext);

    // The picture grows in place and is never swapped: where the platform
    // gave a double-buffered format anyway, draw into the front buffer.
    PIXELFORMATDESCRIPTOR given = {};
    if (DescribePixelFormat(deviceContext, format, sizeof given, &given) != 0 &&
        (given.dwFlags & PFD_DOUBLEBUFFER) != 0)
        glDrawBuffer(GL_FRONT);

    if (RunsUnderWine())
        GlPresenter::SetAutomaticMethod(DrawMethod::kTexture);
}

void ReleaseGlContext(HWND window) {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(glContext);
    ReleaseDC(window, deviceContext);
}

}  // namespace tintwalk
