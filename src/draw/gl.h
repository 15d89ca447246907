// OpenGL 1.1 as every platform has it; Windows wants its own header first.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif
#include <GL/gl.h>
