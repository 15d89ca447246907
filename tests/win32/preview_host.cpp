// The display settings' preview for the end-to-end test:
//   preview_host SAVER WIDTH HEIGHT GOFILE
// Runs the saver with /p in a borderless host window of that client size,
// prints "ready X Y" (where the client area is on the screen) and waits for
// GOFILE; then the host goes, and it exits with the saver's exit code (99 if
// the saver outlives its host). The saver writes to this program's output.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

// Handles messages until `done` says so or `milliseconds` have passed.
template <typename Done>
bool PumpUntil(DWORD milliseconds, Done done) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= milliseconds)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5)
        return 2;
    WNDCLASSA hostClass = {};
    hostClass.lpfnWndProc = DefWindowProcA;
    hostClass.hInstance = GetModuleHandleA(nullptr);
    hostClass.lpszClassName = "TintwalkPreviewHost";
    RegisterClassA(&hostClass);
    HWND host = CreateWindowExA(0, hostClass.lpszClassName, "Tintwalk preview host",
                                WS_POPUP | WS_VISIBLE, 100, 100, std::atoi(argv[2]),
                                std::atoi(argv[3]), nullptr, nullptr, hostClass.hInstance, nullptr);
    char commandLine[MAX_PATH + 64];
    std::snprintf(commandLine, sizeof(commandLine), "\"%s\" /p %llu", argv[1],
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(host)));
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (host == nullptr || !CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE, 0, nullptr,
                                           nullptr, &startup, &process))
        return 3;
    POINT origin = {0, 0};
    ClientToScreen(host, &origin);
    std::printf("ready %ld %ld\n", origin.x, origin.y);
    std::fflush(stdout);
    auto saverEnded = [&] { return WaitForSingleObject(process.hProcess, 0) != WAIT_TIMEOUT; };
    PumpUntil(120000, [&] {
        return GetFileAttributesA(argv[4]) != INVALID_FILE_ATTRIBUTES || saverEnded();
    });
    DestroyWindow(host);  // its children go with it, and so must the saver
    if (!PumpUntil(30000, saverEnded))
        TerminateProcess(process.hProcess, 99);
    WaitForSingleObject(process.hProcess, 5000);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    return static_cast<int>(exitCode);
}
