#include "saver/win32/surface.h"

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
            frameTimer = SetTimer(window, kFrameTimerId, kFramePeriodMs, nullptr);
            return 0;
        case WM_ERASEBKGND:
            return 0;
        case WM_PAINT:
            // Nothing is redrawn: the picture only grows on the timer.
            ValidateRect(window, nullptr);
            return 0;
        case WM_TIMER:
            FrameTick();
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
