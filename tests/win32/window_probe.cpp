// Describes a top-level window of another program, and its children, for the
// end-to-end tests:   window_probe CLASS TITLE [SECONDS]
// CLASS "-" matches any class; waits up to SECONDS (default 0) for the
// window; exits 1 without it. Prints one line per window, then the focus:
//   window|child id=N class="..." text="..." style=X exstyle=X size=WxH
//   focus text="..."
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void Describe(const char* kind, HWND window) {
    char className[128] = {};
    char text[256] = {};
    GetClassNameA(window, className, sizeof(className));
    GetWindowTextA(window, text, sizeof(text));
    RECT rect = {};
    GetClientRect(window, &rect);
    std::printf("%s id=%ld class=\"%s\" text=\"%s\" style=%08lX exstyle=%08lX size=%ldx%ld\n", kind,
                static_cast<long>(GetDlgCtrlID(window)), className, text,
                static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)), rect.right,
                rect.bottom);
}

BOOL CALLBACK DescribeChild(HWND window, LPARAM) {
    Describe("child", window);
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: %s CLASS TITLE [SECONDS]\n", argv[0]);
        return 2;
    }
    const char* className = std::strcmp(argv[1], "-") == 0 ? nullptr : argv[1];
    const DWORD limit = argc == 4 ? static_cast<DWORD>(std::atoi(argv[3])) * 1000 : 0;
    const DWORD start = GetTickCount();
    HWND window = FindWindowA(className, argv[2]);
    while (window == nullptr && GetTickCount() - start < limit) {
        Sleep(100);
        window = FindWindowA(className, argv[2]);
    }
    if (window == nullptr) {
        std::printf("no window\n");
        return 1;
    }
    Describe("window", window);
    EnumChildWindows(window, DescribeChild, 0);
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) &&
        thread.hwndFocus != nullptr) {
        char text[256] = {};
        GetWindowTextA(thread.hwndFocus, text, sizeof(text));
        std::printf("focus text=\"%s\"\n", text);
    }
    return 0;
}
