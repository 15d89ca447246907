// The screen saver's command line: which mode the system asks for, and the
// window handle that comes with it. Kept free of any platform call so that it
// can be tested anywhere; the framework acts on the result.
#pragma once

#include <cstdint>

namespace tintwalk {

enum class SaverMode {
    kConfigure,            // no argument: the settings dialog without a parent
    kConfigureForeground,  // c: the settings dialog over the foreground window
    kChangePassword,       // a, on the older family only: change the saver password
    kPreview,              // p or l and a handle: run inside the host window
    kFullScreen,           // s: run full screen
    kUnrecognised,         // anything else: nothing runs
};

// What the framework ends with when the mode runs nothing: an unrecognised
// letter, a preview handle of 0 or one that names no window.
constexpr int32_t kUnrecognisedExitCode = -1;

struct SaverCommand {
    SaverMode mode;
    // The decimal handle after p, l or a; 0 when there is none.
    uint32_t windowHandle;
    // The exit code when the mode runs nothing (kUnrecognised), else 0. The
    // modes that run end with their own result.
    int32_t exitCode;
};

// Steps over one character of the command line. The platform may know
// characters of more than one byte; the default steps one byte.
using CharStep = const char* (*)(const char*);

// The arguments after the program name: a quoted name runs to its closing
// quote, an unquoted one to the first blank or control character; the
// blanks and control characters after it are skipped. Bytes of 0x80 and
// above are ordinary characters.
const char* SkipProgramName(const char* line, CharStep step = nullptr);

// A decimal number up to the first non-digit, wrapping at 32 bits; no
// digits give 0.
uint32_t ParseWindowHandle(const char* text);

// The first character that is not a blank, '-' or '/' decides the mode; the
// rest of the line only matters for the handle after a, l and p. The letter
// a means something only on the older system family.
SaverCommand ParseSaverCommand(const char* arguments, bool olderFamily);

}  // namespace tintwalk
