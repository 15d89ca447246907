#include "saver/win32/gl_context.h"

#include <GL/gl.h>

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
}

void ReleaseGlContext(HWND window) {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(glContext);
    ReleaseDC(window, deviceContext);
}

}  // namespace tintwalk
