// For the Windows saver's unit tests: a window whose messages (once created)
// go to a procedure of the test's choice, and a scratch HKEY_CURRENT_USER.
#pragma once

#include <windows.h>

#include <string>

namespace tintwalk::testing {

class TestWindow {
  public:
    explicit TestWindow(WNDPROC procedure, HWND parent = nullptr) {
        window_ = CreateWindowExA(0, "STATIC", "test window", parent ? WS_CHILD : WS_POPUP, 0, 0,
                                  64, 48, parent, nullptr, nullptr, nullptr);
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    }
    ~TestWindow() {
        if (alive())
            DestroyWindow(window_);
    }

    HWND get() const { return window_; }
    bool alive() const { return window_ != nullptr && IsWindow(window_); }
    // Takes the next posted `message` of this window, if any.
    bool TakePosted(UINT message, MSG* taken = nullptr) const {
        MSG scratch;
        return PeekMessageA(taken != nullptr ? taken : &scratch, window_, message, message,
                            PM_REMOVE | PM_NOYIELD) != 0;
    }

  private:
    HWND window_ = nullptr;
};

// Points HKEY_CURRENT_USER of this process at a fresh scratch key, deleted
// afterwards, so that tests never see or change the user's own values.
class ScratchRegistry {
  public:
    ScratchRegistry() {
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
        RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &root_, nullptr);
        ok_ = root_ != nullptr && RegOverridePredefKey(HKEY_CURRENT_USER, root_) == ERROR_SUCCESS;
    }
    ~ScratchRegistry() {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegCloseKey(root_);
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    }

    bool ok() const { return ok_; }
    bool SetDword(const char* key, const char* name, DWORD value) const {
        return RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_DWORD, &value, 4) == ERROR_SUCCESS;
    }

  private:
    std::string path_ = "Software\\Tintwalk tests\\" + std::to_string(GetCurrentProcessId());
    HKEY root_ = nullptr;
    bool ok_ = false;
};

}  // namespace tintwalk::testing
