#include "saver/win32/surface.h"

#include "communities/clock_choice.h"
#include "communities/community.h"
#include "saver/picture.h"
#include "saver/win32/gl_context.h"
#include "saver/win32/input.h"
#include "saver/win32/settings.h"
#include "saver/win32/tick_limit.h"

namespace tintwalk {

HWND surfaceWindow = nullptr;
UINT_PTR frameTimer = 0;

namespace {

const char kSurfaceClassName[] = "NTDEVCLASS";
const char kSurfaceTitle[] = "Tintwalk screensaver";

// One reading of the clock chooses both the community and its seed.
void StartChosenPicture() {
    const int64_t now = PictureClockSeconds();
    StartPicture(OpenGlPresenter(), surfaceWidth, surfaceHeight, CommunityRowFromTime(now),
                 SeedFromTime(now));
}

}  // namespace

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
            StartTickLimit();
            StartChosenPicture();
            frameTimer = SetTimer(window, kFrameTimerId, kFramePeriodMs, nullptr);
            return 0;
        case WM_ERASEBKGND:
            return 0;
        case WM_PAINT:
            // Nothing is redrawn: the picture only grows on the timer.
            ValidateRect(window, nullptr);
            return 0;
        case WM_TIMER:
            if (TickLimitReached())
                return 0;
            NoteTickStart();
            FrameTick();
            if (CountTickTowardsLimit()) {
                KillTimer(window, frameTimer);
                frameTimer = 0;
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
