#include "saver/win32/settings.h"

#include "saver/settings_value.h"

namespace tintwalk {

const char kSettingsKey[] = "Software\\Ostrelle\\Tintwalk screensaver";

int32_t speed = 49;

namespace {

void ClampSpeed() {
    if (speed < 1)
        speed = 1;
    if (speed > 100)
        speed = 100;
}

}  // namespace

void LoadSettings() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    // The type is not looked at; a value longer than the buffer is not
    // read at all (the call fails), a shorter one gives `size` bytes.
    BYTE bytes[4] = {};
    DWORD size = sizeof(bytes);
    if (RegQueryValueExA(key, "speed", nullptr, nullptr, bytes, &size) == ERROR_SUCCESS)
        SpeedFromStoredBytes(bytes, size, speed);
    RegCloseKey(key);
}

void SaveSettings() {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    const DWORD value = static_cast<DWORD>(speed);
    RegSetValueExA(key, "speed", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof(value));
    RegCloseKey(key);
}

BOOL RegisterConfigClasses(HINSTANCE) {
    return TRUE;
}

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            LoadSettings();
            HWND bar = GetDlgItem(dialog, kSpeedScrollBarId);
            SetScrollRange(bar, SB_CTL, 1, 100, FALSE);
            SetScrollPos(bar, SB_CTL, speed, TRUE);
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    SaveSettings();
                    EndDialog(dialog, 1);
                    return TRUE;
                case IDCANCEL:
                    EndDialog(dialog, 0);
                    return TRUE;
            }
            return FALSE;
        case WM_HSCROLL:
            switch (LOWORD(wParam)) {
                case SB_LINELEFT:
                    speed -= 9;
                    break;
                case SB_LINERIGHT:
                    speed += 9;
                    break;
                case SB_THUMBPOSITION:
                    speed = HIWORD(wParam);
                    break;
                case SB_THUMBTRACK:
                case SB_ENDSCROLL:
                    return TRUE;
                case SB_LEFT:
                    speed = 1;
                    break;
                case SB_RIGHT:
                    speed = 100;
                    break;
            }
            ClampSpeed();
            SetScrollPos(reinterpret_cast<HWND>(lParam), SB_CTL, speed, TRUE);
            return TRUE;
    }
    return FALSE;
}

}  // namespace tintwalk
