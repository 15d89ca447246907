#include "saver/win32/input.h"

#include "saver/password_retry.h"
#include "saver/pointer_travel.h"

namespace tintwalk {

int previewMode = 0;
int olderFamily = 0;
int closeAllowed = 0;
int verifying = 0;
HMODULE passwordLibrary = nullptr;
VerifyPasswordProc verifyPassword = nullptr;
POINT cursorAnchor = {0, 0};
const uint32_t wakeThreshold = kWakeThreshold;
DWORD lastVerifyTick = kNeverVerified;
DWORD(WINAPI* readTickCount)() = GetTickCount;

namespace {

// SPI_SETSCREENSAVERRUNNING: tells the older family that a saver with a
// password runs, which keeps the task-switch keys away from the desktop.
constexpr UINT kSetScreenSaverRunning = 97;

bool PointerTravelled(POINT now) {
    return PointerTravelWakes({cursorAnchor.x, cursorAnchor.y}, {now.x, now.y}, wakeThreshold);
}

}  // namespace

LRESULT DefaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // A preview never closes itself and never hides the pointer; once the
    // close is granted, everything is the platform's business.
    if (previewMode || closeAllowed)
        return DefWindowProcA(window, message, wParam, lParam);

    switch (message) {
        case WM_CLOSE:
            if (olderFamily && !VerifyBeforeClose(window)) {
                // Refused: measure the pointer afresh from where it is now.
                GetCursorPos(&cursorAnchor);
                return 0;
            }
            return DefWindowProcA(window, message, wParam, lParam);
        case WM_APP:
            // The password request, sent by VerifyBeforeClose.
            if (olderFamily)
                return verifyPassword != nullptr ? verifyPassword(window) : 1;
            return DefWindowProcA(window, message, wParam, lParam);
    }

    // While the password request is open its dialog gets the input.
    if (verifying)
        return DefWindowProcA(window, message, wParam, lParam);

    switch (message) {
        case WM_SHOWWINDOW:
            if (wParam != 0)
                SetCursor(nullptr);
            break;
        case WM_ACTIVATEAPP:
            if (wParam == 0)
                PostMessageA(window, WM_CLOSE, 0, 0);
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            PostMessageA(window, WM_CLOSE, 0, 0);
            break;
        case WM_SETCURSOR:
            SetCursor(nullptr);
            return TRUE;
        case WM_MOUSEMOVE: {
            POINT now;
            GetCursorPos(&now);
            if (PointerTravelled(now)) {
                PostMessageA(window, WM_CLOSE, 0, 0);
                cursorAnchor = now;
            }
            break;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

BOOL VerifyBeforeClose(HWND window) {
    if (verifying || closeAllowed)
        return FALSE;
    if (verifyPassword == nullptr) {
        closeAllowed = 1;
        return TRUE;
    }
    // No grace period: the first close request after the start asks.
    if (!VerifyRetryDue(lastVerifyTick, readTickCount()))
        return closeAllowed;

    verifying = 1;
    // Ticks that piled up would only be drawn late behind the password dialog.
    MSG pending;
    PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);

    const LRESULT result = SendMessageA(window, WM_APP, 0, 0);
    closeAllowed = result != 0 ? 1 : 0;
    verifying = 0;
    if (result == 0)
        SetCursor(nullptr);
    lastVerifyTick = readTickCount();
    return closeAllowed;
}

void LoadPasswordSupport() {
    if (!olderFamily)
        return;
    if (passwordLibrary != nullptr)
        UnloadPasswordSupport();

    HKEY key;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key) != ERROR_SUCCESS)
        return;
    DWORD usePassword = 0;
    DWORD size = sizeof(usePassword);
    if (RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, nullptr,
                         reinterpret_cast<BYTE*>(&usePassword), &size) == ERROR_SUCCESS &&
        usePassword != 0) {
        passwordLibrary = LoadLibraryA("PASSWORD.CPL");
        if (passwordLibrary != nullptr) {
            verifyPassword = reinterpret_cast<VerifyPasswordProc>(
                reinterpret_cast<void*>(GetProcAddress(passwordLibrary, "VerifyScreenSavePwd")));
            if (verifyPassword != nullptr)
                SetSaverRunning(TRUE);
            else
                UnloadPasswordSupport();
        }
    }
    RegCloseKey(key);
}

void UnloadPasswordSupport() {
    if (!olderFamily || passwordLibrary == nullptr)
        return;
    FreeLibrary(passwordLibrary);
    passwordLibrary = nullptr;
    if (verifyPassword != nullptr) {
        verifyPassword = nullptr;
        SetSaverRunning(FALSE);
    }
}

void SetSaverRunning(BOOL running) {
    if (!olderFamily)
        return;
    BOOL previous;
    SystemParametersInfoA(kSetScreenSaverRunning, static_cast<UINT>(running), &previous, 0);
}

void ChangePassword(HWND parent) {
    HMODULE library = LoadLibraryA("MPR.DLL");
    if (library == nullptr)
        return;
    const auto change = reinterpret_cast<ChangePasswordProc>(
        reinterpret_cast<void*>(GetProcAddress(library, "PwdChangePasswordA")));
    if (change != nullptr)
        change("SCRSAVE", parent, 0, nullptr);
    FreeLibrary(library);
}

}  // namespace tintwalk
