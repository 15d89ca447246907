// The command line of the Linux saver and the decisions that follow from it
// without a display: where to draw, which community and seed to start, and
// when the next frame tick is due. Nothing here talks to X or OpenGL.
#pragma once

#include <cstdint>
#include <string>

namespace tintwalk {

// Where the picture goes, as asked for on the command line. The last of
// -root, -window, -window-id and --fullscreen wins.
enum class ModeRequest { kNone, kRoot, kWindow, kWindowId, kFullscreen };

// Where the picture goes once the environment has been consulted.
enum class TargetKind {
    kOwnWindow,   // a window of our own; Esc, q or closing it ends the saver
    kHostWindow,  // a window that another program gave us; input is its business
    kRoot,        // the root window of the screen
    kFullscreen,  // a full-screen window that closes on input
};

constexpr int32_t kDefaultWidth = 1280;
constexpr int32_t kDefaultHeight = 720;
// The largest window side we accept on the command line.
constexpr int32_t kMaxSide = 16384;

struct SaverOptions {
    ModeRequest mode = ModeRequest::kNone;
    unsigned long windowId = 0;  // with ModeRequest::kWindowId
    int32_t width = kDefaultWidth;
    int32_t height = kDefaultHeight;
    bool positionGiven = false;
    int32_t x = 0;           // from -geometry WxH+X+Y: left edge
    int32_t y = 0;           // and top edge, both from the top left of the screen
    int32_t community = -1;  // a preset row, or -1 for the clock's choice
    bool seedGiven = false;
    uint32_t seed = 0;
    int64_t ticks = -1;        // end after this many ticks; -1 runs until told to stop
    std::string snapshot;      // PNG written at the end, or empty
    std::string display;       // X display name, or empty for $DISPLAY
    bool openGl = false;       // draw with OpenGL rather than an X image
    bool sharedMemory = true;  // an X image in shared memory where the display allows
    bool timings = false;      // report how long the ticks took
    bool help = false;
    bool version = false;
};

struct SaverTarget {
    TargetKind mode = TargetKind::kOwnWindow;
    unsigned long windowId = 0;  // with TargetKind::kHostWindow
};

struct PictureChoice {
    int32_t row;
    uint32_t seed;
};

// Reads the arguments after the program name. Options take one or two
// leading dashes, and a value either as the next argument or after "=".
// On failure returns false with a one-line reason in `error`.
bool ParseSaverOptions(int argc, const char* const* argv, SaverOptions& options,
                       std::string& error);

// A window id in decimal or in hexadecimal with a 0x prefix; 0 and values
// beyond 32 bits are refused, as is anything but the digits.
bool ParseWindowId(const char* text, unsigned long& id);

// WxH, optionally followed by a position +X+Y (a minus sign measures from
// the right or bottom edge, which we do not support and refuse).
bool ParseGeometry(const char* text, SaverOptions& options);

// Decides where to draw: an explicit -window-id, -window or --fullscreen
// wins; otherwise a host window named by $XSCREENSAVER_WINDOW (passed in as
// `hostWindowText`, null or empty when unset) is used, with or without
// -root; otherwise the root window with -root, and a window of our own when
// nothing was asked for. False with a reason for an unusable host window id.
bool ResolveTarget(const SaverOptions& options, const char* hostWindowText, SaverTarget& target,
                   std::string& error);

// The community row and seed to start: those given on the command line,
// the rest chosen by the clock reading `nowSeconds` as the saver always does.
PictureChoice ChoosePicture(const SaverOptions& options, int64_t nowSeconds);

// The time the next frame tick falls due: the first multiple of `periodMs`
// after `nowMs`, counted from `startMs`. Ticks missed during a slow frame
// are thereby dropped rather than queued.
int64_t NextTickDue(int64_t startMs, int64_t nowMs, int64_t periodMs);

// The --help text.
const char* UsageText();

}  // namespace tintwalk
