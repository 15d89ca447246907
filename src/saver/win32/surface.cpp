#include "saver/win32/surface.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>

#include "communities/community.h"
#include "saver/picture.h"
#include "saver/win32/input.h"
#include "saver/win32/settings.h"

namespace tintwalk {

HWND surfaceWindow = nullptr;
HDC deviceContext = nullptr;
HGLRC glContext = nullptr;
UINT_PTR frameTimer = 0;

namespace {

// Test hook, not a setting: with this variable set to N the saver stops its
// frame clock after N ticks and says so on standard output, so that the
// end-to-end tests can compare a finished picture with the renderer's. The
// name is long on purpose: nobody sets it by accident.
const char kStopAfterTicksVariable[] = "TINTWALK_TEST_HOOK_STOP_TICKING_AFTER";
long ticksUntilStop = 0;  // 0: tick until the saver closes
bool tickingStopped = false;

const char kSurfaceClassName[] = "NTDEVCLASS";
const char kSurfaceTitle[] = "Tintwalk screensaver";

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

LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            WNDCLASSA surfaceClass = {};
            surfaceClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
            surfaceClass.lpfnWndProc = SurfaceWindowProc;
            surfaceClass.hInstance = GetModuleHandleA(nullptr);
            surfaceClass.lpszClassName = kSurfaceClassName;
            RegisterClassA(&surfaceClass);

            RECT client;
            GetClientRect(window, &client);
            surfaceWidth = client.right;
            surfaceHeight = client.bottom;

            // The child's WM_CREATE runs inside this call and starts the picture.
            surfaceWindow = CreateWindowExA(
                WS_EX_LEFT, kSurfaceClassName, kSurfaceTitle,
                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, surfaceWidth,
                surfaceHeight, window, nullptr, GetModuleHandleA(nullptr), nullptr);
            return 0;
        }
        case WM_DESTROY:
            DestroyWindow(surfaceWindow);
            PostQuitMessage(0);
            return 0;
        case WM_ERASEBKGND:
            return 0;
    }
    return DefaultSaverProc(window, message, wParam, lParam);
}

LRESULT CALLBACK SurfaceWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            LoadSettings();
            CreateGlContext(window);
            StartPicture(surfaceWidth, surfaceHeight);
            ticksUntilStop = 0;
            tickingStopped = false;
            if (const char* ticks = std::getenv(kStopAfterTicksVariable))
                ticksUntilStop = std::strtol(ticks, nullptr, 10);
            frameTimer = SetTimer(window, kFrameTimerId, kFramePeriodMs, nullptr);
            return 0;
        case WM_ERASEBKGND:
            return 0;
        case WM_PAINT:
            // Nothing is redrawn: the picture only grows on the timer.
            ValidateRect(window, nullptr);
            return 0;
        case WM_TIMER:
            if (tickingStopped)
                return 0;
            FrameTick();
            if (ticksUntilStop > 0 && --ticksUntilStop == 0) {
                KillTimer(window, frameTimer);
                frameTimer = 0;
                tickingStopped = true;
                std::printf("frame clock stopped by %s\n", kStopAfterTicksVariable);
                std::fflush(stdout);
            }
            return 0;
        case WM_DESTROY:
            if (frameTimer != 0)
                KillTimer(window, frameTimer);
            StopPicture();
            ReleaseGlContext(window);
            PostQuitMessage(0);
            return 0;
    }
    return DefaultSaverProc(window, message, wParam, lParam);
}

}  // namespace tintwalk
