// The saver's default message handling: it hides the pointer and turns input
// into a close request. On the older Windows family, with a saver password
// set, the system's password service is asked before the saver may close.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tintwalk {

// "VerifyScreenSavePwd" in the password module, and the password change
// entry "PwdChangePasswordA" in the network provider module.
using VerifyPasswordProc = BOOL(WINAPI*)(HWND window);
using ChangePasswordProc = DWORD(WINAPI*)(const char* provider, HWND parent, DWORD, void*);

extern int previewMode;   // the saver runs as a child of a preview host
extern int olderFamily;   // the system reports the older Windows family
extern int closeAllowed;  // closing has been granted; input is left alone
extern int verifying;     // a password request is open
extern HMODULE passwordLibrary;
extern VerifyPasswordProc verifyPassword;
extern POINT cursorAnchor;  // where pointer travel is measured from
extern const uint32_t wakeThreshold;
extern DWORD lastVerifyTick;  // end of the last password request; all bits set: never

// Where VerifyBeforeClose reads the tick count; GetTickCount unless a test
// wants a clock of its own.
extern DWORD(WINAPI* readTickCount)();

LRESULT DefaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Older family only: may the saver close now? Asks the password service at
// most once per 200 ms and never while a request is open.
BOOL VerifyBeforeClose(HWND window);

void LoadPasswordSupport();
void UnloadPasswordSupport();
void SetSaverRunning(BOOL running);
void ChangePassword(HWND parent);

}  // namespace tintwalk
