// A plain window for driving window procedures in tests: once created, its
// messages go to a procedure of the test's choice.
#pragma once

#include <windows.h>

namespace tintwalk::testing {

class TestWindow {
  public:
    explicit TestWindow(WNDPROC procedure, HWND parent = nullptr) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TintwalkTestWindow";
        RegisterClassA(&windowClass);  // fails harmlessly when registered already
        window_ = CreateWindowExA(0, windowClass.lpszClassName, "test window",
                                  parent != nullptr ? WS_CHILD : WS_POPUP, 0, 0, 64, 48, parent,
                                  nullptr, windowClass.hInstance, nullptr);
        if (window_ != nullptr)
            SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    }
    ~TestWindow() {
        if (alive())
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
    HWND window_ = nullptr;
};

}  // namespace tintwalk::testing
