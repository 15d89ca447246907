// The one stored setting and the settings dialog.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tintwalk {

// The control id the dialog procedure drives as its speed scroll bar.
constexpr int kSpeedScrollBarId = 100;

// The registry key under HKEY_CURRENT_USER that holds "speed".
extern const char kSettingsKey[];

// 49 until the registry says otherwise; nothing in the picture depends on it.
extern int32_t speed;

// Reads "speed" from the registry; a missing key or value keeps `speed`.
void LoadSettings();
// Writes `speed` as a REG_DWORD, creating the key when needed.
void SaveSettings();

// Asked before the dialog is shown: there is no class to register.
BOOL RegisterConfigClasses(HINSTANCE instance);

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tintwalk
