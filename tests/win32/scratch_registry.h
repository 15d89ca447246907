// Points HKEY_CURRENT_USER of this process at a fresh scratch key, so that
// tests of the settings and the password switch never see or change the
// user's own values. The scratch key is deleted afterwards.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace tintwalk::testing {

class ScratchRegistry {
  public:
    ScratchRegistry() {
        char name[80];
        std::snprintf(name, sizeof(name), "Software\\Tintwalk tests\\%lu",
                      static_cast<unsigned long>(GetCurrentProcessId()));
        path_ = name;
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
        if (RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &root_, nullptr) == ERROR_SUCCESS) {
            overridden_ = RegOverridePredefKey(HKEY_CURRENT_USER, root_) == ERROR_SUCCESS;
        }
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

    // Raw access to a value below the scratch HKEY_CURRENT_USER.
    static bool Write(const char* key, const char* name, DWORD type, const void* data, DWORD size) {
        HKEY handle;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                            nullptr) != ERROR_SUCCESS) {
            return false;
        }
        const bool written = RegSetValueExA(handle, name, 0, type, static_cast<const BYTE*>(data),
                                            size) == ERROR_SUCCESS;
        RegCloseKey(handle);
        return written;
    }
    static bool WriteDword(const char* key, const char* name, DWORD value) {
        return Write(key, name, REG_DWORD, &value, sizeof(value));
    }
    // Reads a value of up to 16 bytes; false when the key or value is missing.
    static bool Read(const char* key, const char* name, DWORD& type, BYTE (&data)[16],
                     DWORD& size) {
        HKEY handle;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
            return false;
        size = sizeof(data);
        const bool read =
            RegQueryValueExA(handle, name, nullptr, &type, data, &size) == ERROR_SUCCESS;
        RegCloseKey(handle);
        return read;
    }
    static bool KeyExists(const char* key) {
        HKEY handle;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
            return false;
        RegCloseKey(handle);
        return true;
    }

  private:
    std::string path_;
    HKEY root_ = nullptr;
    bool overridden_ = false;
};

}  // namespace tintwalk::testing
