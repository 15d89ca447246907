// The display settings' preview for the end-to-end test:
//   preview_host SAVER WIDTH HEIGHT GOFILE
// Runs the saver with /p in a borderless host window of that client size,
// checks its windows, prints "ready X Y WIDTH HEIGHT" and waits for GOFILE
// ("-": none); then input that must not end the saver, then the host goes
// and the saver must end with 0. Prints "ok:"/"FAIL:" per check.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int failures = 0;

void Check(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what);
    std::fflush(stdout);
    failures += ok ? 0 : 1;
}

// Handles messages for up to `milliseconds`, or until `done` says so.
template <typename Done>
bool PumpUntil(DWORD milliseconds, Done done) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done())
            return true;
        if (GetTickCount() - start >= milliseconds)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

bool HasClientSize(HWND window, int width, int height) {
    RECT rect = {};
    GetClientRect(window, &rect);
    return rect.right == width && rect.bottom == height;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s SAVER WIDTH HEIGHT GOFILE\n", argv[0]);
        return 2;
    }
    const int width = std::atoi(argv[2]);
    const int height = std::atoi(argv[3]);
    const std::string goFile = argv[4];

    WNDCLASSA hostClass = {};
    hostClass.lpfnWndProc = DefWindowProcA;
    hostClass.hInstance = GetModuleHandleA(nullptr);
    hostClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    hostClass.lpszClassName = "TintwalkPreviewHost";
    RegisterClassA(&hostClass);
    HWND host =
        CreateWindowExA(0, hostClass.lpszClassName, "Tintwalk preview host", WS_POPUP | WS_VISIBLE,
                        100, 100, width, height, nullptr, nullptr, hostClass.hInstance, nullptr);
    if (host == nullptr) {
        std::printf("FAIL: no host window\n");
        return 1;
    }

    char commandLine[MAX_PATH + 64];
    std::snprintf(commandLine, sizeof(commandLine), "\"%s\" /p %lu", argv[1],
                  static_cast<unsigned long>(reinterpret_cast<uintptr_t>(host)));
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::printf("FAIL: cannot start %s\n", commandLine);
        return 1;
    }
    auto saverRunning = [&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; };

    HWND preview = nullptr;
    HWND surface = nullptr;
    PumpUntil(30000, [&] {
        preview = FindWindowExA(host, nullptr, "WindowsScreenSaverClass", "Preview");
        if (preview != nullptr)
            surface = FindWindowExA(preview, nullptr, "NTDEVCLASS", "Tintwalk screensaver");
        // Shown once the saver's window creation is complete.
        return (surface != nullptr && IsWindowVisible(preview)) || !saverRunning();
    });
    Check(surface != nullptr, "saver window and drawing window inside the host");
    if (surface != nullptr) {
        const DWORD style = static_cast<DWORD>(GetWindowLongA(preview, GWL_STYLE));
        const DWORD wanted = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
        Check((style & (wanted | WS_POPUP)) == wanted, "preview window is a visible child");
        Check(HasClientSize(preview, width, height), "preview window fills the host");
        Check(HasClientSize(surface, width, height), "drawing window fills the preview");
    }

    POINT origin = {0, 0};
    ClientToScreen(host, &origin);
    std::printf("ready %ld %ld %d %d\n", origin.x, origin.y, width, height);
    std::fflush(stdout);
    if (goFile != "-") {
        Check(PumpUntil(
                  60000,
                  [&] { return GetFileAttributesA(goFile.c_str()) != INVALID_FILE_ATTRIBUTES; }),
              "the test said go");
    }

    if (surface != nullptr) {
        PostMessageA(surface, WM_MOUSEMOVE, 0, MAKELPARAM(width / 2 + 30, height / 2 + 30));
        PostMessageA(surface, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
        PostMessageA(surface, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
        PostMessageA(preview, WM_KEYDOWN, VK_SPACE, 0);
        PostMessageA(preview, WM_KEYUP, VK_SPACE, 0);
        PostMessageA(preview, WM_ACTIVATEAPP, FALSE, 0);
    }
    PumpUntil(1500, [] { return false; });
    Check(saverRunning(), "input to the preview does not end the saver");

    // The host's children go with it, and so does the saver.
    DestroyWindow(host);
    if (!PumpUntil(30000, [&] { return !saverRunning(); })) {
        Check(false, "the saver ends when the host window goes");
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    std::printf("saver exit %lu\n", static_cast<unsigned long>(exitCode));
    Check(exitCode == 0, "the saver's exit code is 0");
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return failures == 0 ? 0 : 1;
}
