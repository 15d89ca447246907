// Points HKEY_CURRENT_USER of this process at a fresh scratch key, deleted
// afterwards, so that tests never see or change the user's own values.
#pragma once

#include <windows.h>

#include <string>

namespace tintwalk::testing {

class ScratchRegistry {
  public:
    ScratchRegistry() {
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
        if (RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &root_, nullptr) == ERROR_SUCCESS)
            overridden_ = RegOverridePredefKey(HKEY_CURRENT_USER, root_) == ERROR_SUCCESS;
    }
    ~ScratchRegistry() {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        if (root_ != nullptr)
            RegCloseKey(root_);
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    }
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

    bool ok() const { return overridden_; }

    // Writes a value below the scratch HKEY_CURRENT_USER, creating its key.
    static bool Write(const char* key, const char* name, DWORD type, const void* data, DWORD size) {
        return RegSetKeyValueA(HKEY_CURRENT_USER, key, name, type, data, size) == ERROR_SUCCESS;
    }
    static bool WriteDword(const char* key, const char* name, DWORD value) {
        return Write(key, name, REG_DWORD, &value, sizeof(value));
    }

  private:
    std::string path_ = "Software\\Tintwalk tests\\" + std::to_string(GetCurrentProcessId());
    HKEY root_ = nullptr;
    bool overridden_ = false;
};

}  // namespace tintwalk::testing
