// A plain top-level window for driving window procedures in tests. Its
// messages go to a procedure of the test's choice.
#pragma once

#include <windows.h>

namespace tintwalk::testing {

class TestWindow {
  public:
    explicit TestWindow(WNDPROC procedure, HWND parent = nullptr) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = ClassName(procedure);
        RegisterClassA(&windowClass);
        const DWORD style = parent != nullptr ? WS_CHILD : WS_POPUP;
        window_ = CreateWindowExA(0, windowClass.lpszClassName, "test window", style, 0, 0, 64, 48,
                                  parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~TestWindow() {
        if (window_ != nullptr && IsWindow(window_))
            DestroyWindow(window_);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND get() const { return window_; }
    bool alive() const { return window_ != nullptr && IsWindow(window_); }

    // Takes the next posted message of this window in [first, last], if any.
    bool TakePosted(UINT first, UINT last, MSG* message = nullptr) const {
        MSG scratch;
        return PeekMessageA(message != nullptr ? message : &scratch, window_, first, last,
                            PM_REMOVE | PM_NOYIELD) != 0;
    }
    bool TakePosted(UINT message) const { return TakePosted(message, message); }

  private:
    // One class per procedure: the name carries the procedure's address.
    static const char* ClassName(WNDPROC procedure) {
        static thread_local char name[40];
        wsprintfA(name, "TintwalkTest%p", reinterpret_cast<void*>(procedure));
        return name;
    }

    HWND window_ = nullptr;
};

}  // namespace tintwalk::testing
