// The program's entry: hands the command line after the program name to the
// framework and ends the process at once with its result, so that no
// exit-time clean-up runs after the saver has released everything itself.
#include <windows.h>

#include <cstdio>

#include "saver/command_line.h"
#include "saver/win32/framework.h"

namespace {

const char* NextCharacter(const char* text) {
    return CharNextA(text);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const char* arguments = tintwalk::SkipProgramName(GetCommandLineA(), NextCharacter);
    const int exitCode = tintwalk::ScreenSaverMain(GetModuleHandleA(nullptr), arguments);
    // A redirected standard output is fully buffered, and ExitProcess runs no
    // exit-time clean-up that would empty it: every line goes out first.
    std::fflush(nullptr);
    ExitProcess(static_cast<UINT>(exitCode));
}
