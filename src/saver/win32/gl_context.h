// The drawing surface's OpenGL context: single-buffered RGB, made current on
// the window's own device context for the whole life of the window.
#pragma once

#include <windows.h>

namespace tintwalk {

extern HDC deviceContext;
extern HGLRC glContext;

void CreateGlContext(HWND window);
void ReleaseGlContext(HWND window);

}  // namespace tintwalk
