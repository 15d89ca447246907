// The screen-saver framework: reads the command line, shows the settings
// dialog or creates the saver window, and runs the message loop.
#pragma once

#include <windows.h>

#include <imm.h>

#include <cstdint>

namespace tintwalk {

using AssociateContextProc = HIMC(WINAPI*)(HWND window, HIMC context);

extern HINSTANCE moduleInstance;
extern HWND saverWindow;
extern HMODULE imeModule;
extern AssociateContextProc associateContext;
extern HIMC savedInputContext;

// Runs the mode the arguments (the command line after the program name)
// ask for and returns the process's exit code.
int ScreenSaverMain(HINSTANCE instance, const char* arguments);

// Full screen without a host, preview inside it; returns the loop's code.
int RunSaverWindow(HWND host);

// The settings dialog: 1 after "ok", 0 after cancel, -1 when it cannot open.
int ShowConfigDialog(HWND parent);

// The password change of the older family, for the window with the given
// handle or else the foreground window; always 0.
int ChangePasswordMode(uint32_t handle);

LRESULT CALLBACK SaverFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tintwalk
