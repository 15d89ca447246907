#include "saver/win32/framework.h"

#include <cstdint>

#include "saver/command_line.h"
#include "saver/win32/input.h"
#include "saver/win32/resource.h"
#include "saver/win32/settings.h"
#include "saver/win32/surface.h"

namespace tintwalk {

HINSTANCE moduleInstance = nullptr;
HWND saverWindow = nullptr;
HMODULE imeModule = nullptr;
AssociateContextProc associateContext = nullptr;
HIMC savedInputContext = nullptr;

namespace {

const char kSaverClassName[] = "WindowsScreenSaverClass";
const char kFullScreenTitle[] = "Screen Saver";
const char kPreviewTitle[] = "Preview";

LPTOP_LEVEL_EXCEPTION_FILTER previousFaultFilter = nullptr;

// A processor fault that nothing handled: the system must not be left in
// the saver-running state. The fault then takes its ordinary course.
LONG WINAPI SaverFaultFilter(EXCEPTION_POINTERS* fault) {
    SetSaverRunning(FALSE);
    if (previousFaultFilter != nullptr)
        return previousFaultFilter(fault);
    return EXCEPTION_CONTINUE_SEARCH;
}

bool IsOlderFamily() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

// The handle on the command line is the low 32 bits of the window's handle.
HWND WindowFromNumber(uint32_t number) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(number));
}

int RunMode(const SaverCommand& command) {
    switch (command.mode) {
        case SaverMode::kConfigure:
            return ShowConfigDialog(nullptr);
        case SaverMode::kConfigureForeground:
            return ShowConfigDialog(GetForegroundWindow());
        case SaverMode::kChangePassword:
            return ChangePasswordMode(command.windowHandle);
        case SaverMode::kPreview: {
            HWND host = WindowFromNumber(command.windowHandle);
            if (!IsWindow(host))
                return kUnrecognisedExitCode;
            return RunSaverWindow(host);
        }
        case SaverMode::kFullScreen:
            return RunSaverWindow(nullptr);
        case SaverMode::kUnrecognised:
            break;
    }
    return command.exitCode;
}

}  // namespace

int ScreenSaverMain(HINSTANCE instance, const char* arguments) {
    moduleInstance = instance;
    olderFamily = IsOlderFamily() ? 1 : 0;
    const SaverCommand command = ParseSaverCommand(arguments, olderFamily != 0);

    previousFaultFilter = SetUnhandledExceptionFilter(SaverFaultFilter);
    const int exitCode = RunMode(command);
    SetUnhandledExceptionFilter(previousFaultFilter);
    return exitCode;
}

int ShowConfigDialog(HWND parent) {
    if (!RegisterConfigClasses(moduleInstance))
        return 0;
    return static_cast<int>(
        DialogBoxParamA(moduleInstance, MAKEINTRESOURCEA(IDD_CONFIG), parent, ConfigDialogProc, 0));
}

int ChangePasswordMode(uint32_t handle) {
    HWND parent = WindowFromNumber(handle);
    if (parent == nullptr || !IsWindow(parent))
        parent = GetForegroundWindow();
    ChangePassword(parent);
    return 0;
}

int RunSaverWindow(HWND host) {
    WNDCLASSA saverClass = {};
    saverClass.style = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    saverClass.lpfnWndProc = SaverFrameProc;
    saverClass.hInstance = moduleInstance;
    saverClass.hIcon = LoadIconA(moduleInstance, MAKEINTRESOURCEA(IDI_SAVER_CLASS));
    saverClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    saverClass.lpszClassName = kSaverClassName;

    DWORD exStyle;
    DWORD style;
    const char* title;
    int left = 0;
    int top = 0;
    int width;
    int height;
    if (host != nullptr) {
        RECT client;
        GetClientRect(host, &client);
        width = client.right;
        height = client.bottom;
        previewMode = 1;
        exStyle = 0;
        style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
        title = kPreviewTitle;
    } else {
        // Every monitor shows the one picture: the window covers the
        // virtual screen, whose origin lies left of or above the primary
        // monitor's when others are placed there. Systems that know only
        // one monitor report no virtual screen.
        width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
        height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
        if (width > 0 && height > 0) {
            left = GetSystemMetrics(SM_XVIRTUALSCREEN);
            top = GetSystemMetrics(SM_YVIRTUALSCREEN);
        } else {
            width = GetSystemMetrics(SM_CXSCREEN);
            height = GetSystemMetrics(SM_CYSCREEN);
        }
        exStyle = WS_EX_TOPMOST;
        style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        title = kFullScreenTitle;

        // One full-screen saver at a time: bring the running one forward.
        HWND running = FindWindowA(kSaverClassName, kFullScreenTitle);
        if (running != nullptr && IsWindow(running)) {
            SetForegroundWindow(running);
            return 0;
        }
        LoadPasswordSupport();
    }

    if (RegisterClassA(&saverClass)) {
        saverWindow = CreateWindowExA(exStyle, kSaverClassName, title, style, left, top, width,
                                      height, host, nullptr, moduleInstance, nullptr);
    }

    MSG message = {};
    if (saverWindow != nullptr) {
        if (!previewMode)
            SetForegroundWindow(saverWindow);
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    UnloadPasswordSupport();
    return static_cast<int>(message.wParam);
}

LRESULT CALLBACK SaverFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            // Only an input-method module that is already loaded counts.
            imeModule = GetModuleHandleA("IMM32.DLL");
            if (imeModule != nullptr) {
                associateContext = reinterpret_cast<AssociateContextProc>(
                    reinterpret_cast<void*>(GetProcAddress(imeModule, "ImmAssociateContext")));
            }
            if (associateContext != nullptr)
                savedInputContext = associateContext(window, nullptr);
            GetCursorPos(&cursorAnchor);
            if (!previewMode)
                SetCursor(nullptr);
            break;
        case WM_DESTROY:
            if (imeModule != nullptr && associateContext != nullptr &&
                savedInputContext != nullptr) {
                associateContext(window, savedInputContext);
            }
            PostQuitMessage(0);
            break;
        case WM_SETTEXT:
            // The title stays what it is: others find the saver by it.
            return 0;
        case WM_PAINT:
            if (closeAllowed)
                return DefWindowProcA(window, message, wParam, lParam);
            if (!previewMode)
                SetCursor(nullptr);
            break;
        case WM_HELP:
        case WM_CONTEXTMENU:
            if (previewMode) {
                // Help in the preview belongs to the host.
                HWND parent = GetParent(window);
                if (parent != nullptr && IsWindow(parent)) {
                    PostMessageA(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
                }
                return 1;
            }
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (closeAllowed)
                return DefWindowProcA(window, message, wParam, lParam);
            break;
        case WM_SYSCOMMAND:
            if (!previewMode &&
                (wParam == SC_NEXTWINDOW || wParam == SC_PREVWINDOW || wParam == SC_SCREENSAVE)) {
                return 0;
            }
            break;
        case WM_TIMER:
            if (closeAllowed)
                return 0;
            Sleep(0);
            break;
    }
    return SaverWindowProc(window, message, wParam, lParam);
}

}  // namespace tintwalk
