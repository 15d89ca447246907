// The drawing surface: a child window over the whole saver window, with an
// OpenGL context on it and the frame clock that grows the picture.
#pragma once

#include <windows.h>

namespace tintwalk {

extern HWND surfaceWindow;
extern UINT_PTR frameTimer;

// The program's own handling of the top-level saver window; what it does
// not handle goes on to DefaultSaverProc.
LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The window procedure of the drawing child, class "NTDEVCLASS".
LRESULT CALLBACK SurfaceWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tintwalk
