// The display settings' preview for the end-to-end test:
//   preview_host SAVER WIDTH HEIGHT GOFILE
// Runs the saver with /p in a borderless host window of that client size and
// waits for GOFILE; then the host goes, and it exits with the saver's exit
// code (99 if the saver outlives its host). The saver writes to this
// program's output.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

// Handles messages until `done` says so or two minutes have passed.
template <typename Done>
void PumpUntil(Done done) {
    for (const DWORD start = GetTickCount(); !done() && GetTickCount() - start < 120000;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5)
        return 2;
    HWND host =
        CreateWindowExA(0, "STATIC", "Tintwalk preview host", WS_POPUP | WS_VISIBLE, 100, 100,
                        std::atoi(argv[2]), std::atoi(argv[3]), nullptr, nullptr, nullptr, nullptr);
    char commandLine[MAX_PATH + 64];
    std::snprintf(commandLine, sizeof(commandLine), "\"%s\" /p %llu", argv[1],
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(host)));
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (host == nullptr || !CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE, 0, nullptr,
                                           nullptr, &startup, &process))
        return 3;
    auto saverEnded = [&] { return WaitForSingleObject(process.hProcess, 0) != WAIT_TIMEOUT; };
    PumpUntil(
        [&] { return GetFileAttributesA(argv[4]) != INVALID_FILE_ATTRIBUTES || saverEnded(); });
    DestroyWindow(host);  // its children go with it, and so must the saver
    PumpUntil(saverEnded);
    TerminateProcess(process.hProcess, 99);  // fails when the saver has ended
    WaitForSingleObject(process.hProcess, 5000);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    return static_cast<int>(exitCode);
}
