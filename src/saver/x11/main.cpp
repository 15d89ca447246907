// The saver on X11. It draws in a window of its own, full screen, or into a
// window that a host program hands it, and runs the picture on a 13 ms frame
// clock driven from the same loop that reads the X events. The picture goes
// to the window as an X image, or through OpenGL (GLX) with --gl or where
// the screen has no visual whose pixels we can write.
#include <X11/Xlib.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "communities/community.h"
#include "core/diagnostics.h"
#include "core/frame_clock.h"
#include "draw/heap.h"
#include "render/png_writer.h"
#include "saver/picture.h"
#include "saver/x11/event_loop.h"
#include "saver/x11/gl_drawing.h"
#include "saver/x11/image_drawing.h"
#include "saver/x11/messages.h"
#include "saver/x11/options.h"
#include "saver/x11/picture_start.h"
#include "saver/x11/stop_signals.h"
#include "saver/x11/surface.h"
#include "saver/x11/x_errors.h"
#include "tintwalk_version.h"

namespace tintwalk {

namespace {

// True when the saver draws into a host's window and that window is gone:
// a host may close it while the saver is still starting, which is as normal
// an ending as its closing it later.
bool HostWindowGone(const Surface& s) {
    if (s.host == None)
        return false;
    XWindowAttributes attributes;
    BeginTrap(s.display);
    const Status found = XGetWindowAttributes(s.display, s.host, &attributes);
    return !EndTrap(s.display) || found == 0;
}

// Ends a start whose host window went away: quietly, unless a snapshot was
// asked for, which can no longer be taken.
int EndWithoutWindow(Surface& s, const SaverOptions& options) {
    ReleaseSurface(s);
    if (options.snapshot.empty())
        return 0;
    Fail("the window is gone; no snapshot written");
    return 1;
}

// Reads the picture back from the window and writes it as a PNG.
bool WriteSnapshot(Drawer& drawer, const std::string& path) {
    std::vector<uint8_t> rgb;
    std::string error;
    if (!drawer.ReadScreen(rgb, error)) {
        Fail("no snapshot written: " + error);
        return false;
    }
    if (!WritePng(path, rgb.data(), static_cast<uint32_t>(surfaceWidth),
                  static_cast<uint32_t>(surfaceHeight), error)) {
        Fail("no snapshot written: " + error);  // the error names the file
        return false;
    }
    return true;
}

// A visual with fewer than 8 bits in a colour (a 16-bit screen without a
// 32-bit visual) shows the picture, and its snapshot, with the colours
// reduced to its own: says so, naming its depth.
void NoteReducedColours(const XVisualInfo& visual, const std::string& displayName) {
    const int bits[3] = {std::popcount(visual.red_mask), std::popcount(visual.green_mask),
                         std::popcount(visual.blue_mask)};
    if (bits[0] >= 8 && bits[1] >= 8 && bits[2] >= 8)
        return;
    Fail("display '" + displayName + "' shows " + std::to_string(visual.depth) + "-bit colour (" +
         std::to_string(bits[0]) + "-" + std::to_string(bits[1]) + "-" + std::to_string(bits[2]) +
         "): the picture's colours are reduced to it");
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void PrintTimings(const TickTimes& times, const char* method) {
    const size_t ticks = times.wallMs.size();
    // The clock is judged from the second tick on: the first shows the
    // whole habitat and may make a few ticks late.
    const double period = ticks > 2 ? static_cast<double>(times.lastStartMs - times.secondStartMs) /
                                          static_cast<double>(ticks - 2)
                                    : 0.0;
    // Ticks after the first whose drawing outlasted the clock's period:
    // each makes the clock skip a tick.
    const size_t late = static_cast<size_t>(
        std::count_if(times.wallMs.begin() + (ticks > 0 ? 1 : 0), times.wallMs.end(),
                      [](double ms) { return ms > static_cast<double>(kFramePeriodMs); }));
    Diagnostic(stdout,
               "timings: %s, %zu ticks, %.2f ms apart; median tick %.2f ms wall, %.2f ms CPU; "
               "%zu over %u ms\n",
               method, ticks, period, Median(times.wallMs), Median(times.cpuMs), late,
               kFramePeriodMs);
    std::fflush(stdout);
}

int Run(const SaverOptions& options, const SaverTarget& target) {
    Surface s;
    s.mode = target.mode;
    const char* displayName = options.display.empty() ? nullptr : options.display.c_str();
    s.display = XOpenDisplay(displayName);
    if (s.display == nullptr) {
        const std::string name = XDisplayName(displayName);
        Fail(name.empty() ? std::string("cannot open display: DISPLAY is not set")
                          : "cannot open display '" + name + "'");
        return 1;
    }
    InstallXErrorHandler();
    const std::string shownName = DisplayString(s.display);
    s.screen = DefaultScreen(s.display);

    if (target.mode == TargetKind::kHostWindow) {
        XWindowAttributes host;
        BeginTrap(s.display);
        const Status found = XGetWindowAttributes(s.display, target.windowId, &host);
        if (!EndTrap(s.display) || found == 0) {
            Fail("no window " + HexId(target.windowId) + " on display '" + shownName + "'");
            ReleaseSurface(s);
            return 1;
        }
        if (host.c_class == InputOnly) {
            Fail("window " + HexId(target.windowId) + " is input-only: nothing can be drawn in it");
            ReleaseSurface(s);
            return 1;
        }
        s.host = target.windowId;
        s.screen = XScreenNumberOfScreen(host.screen);
        s.wantedWidth = host.width;
        s.wantedHeight = host.height;
    } else if (target.mode == TargetKind::kRoot) {
        s.host = RootWindow(s.display, s.screen);
        s.wantedWidth = DisplayWidth(s.display, s.screen);
        s.wantedHeight = DisplayHeight(s.display, s.screen);
    }

    // An X image where the screen has a visual we can write, else OpenGL.
    bool openGl = options.openGl;
    if (!openGl) {
        s.visual = ChooseImageVisual(s.display, s.screen);
        openGl = s.visual == nullptr;
    }
    bool doubleBuffered = false;
    if (openGl) {
        const char* problem = nullptr;
        if (!HasGlx(s.display))
            problem = "has no OpenGL (GLX) support";
        else if ((s.visual = ChooseGlVisual(s.display, s.screen, doubleBuffered)) == nullptr)
            problem = "offers no OpenGL (GLX) RGB visual";
        if (problem != nullptr) {
            Fail("display '" + shownName + "' " + problem +
                 (options.openGl ? "" : ", nor a TrueColor visual of 24 or 32 bits"));
            ReleaseSurface(s);
            return 1;
        }
    }
    NoteReducedColours(*s.visual, shownName);
    std::string error;
    const std::string where =
        s.host != None ? "window " + HexId(s.host) : "display '" + shownName + "'";
    if (!CreateSurfaceWindow(s, options, error)) {
        if (HostWindowGone(s))
            return EndWithoutWindow(s, options);
        Fail("cannot draw in " + where + ": " + error);
        ReleaseSurface(s);
        return 1;
    }
    std::unique_ptr<Drawer> drawer =
        openGl ? MakeGlDrawer(s, doubleBuffered, error) : MakeImageDrawer(s, options.sharedMemory);
    if (drawer == nullptr) {
        if (HostWindowGone(s))
            return EndWithoutWindow(s, options);
        Fail("cannot create an OpenGL context in " + where +
             (error.empty() ? std::string() : ": " + error));
        ReleaseSurface(s);
        return 1;
    }

    // The next tick runs while this one is drawn: at 4K and beyond a tick
    // takes about the longer of the two instead of their sum.
    OverlapTicks(true);
    if (!BeginPicture(*drawer, options, s.wantedWidth, s.wantedHeight)) {
        drawer.reset();
        ReleaseSurface(s);
        return 2;
    }
    int64_t ticksDone = 0;
    TickTimes times;
    const Ending ending =
        RunLoop(s, *drawer, options, ticksDone, options.timings ? &times : nullptr);

    int status = ending == Ending::kNoMemory ? 2 : 0;
    if (!options.snapshot.empty() && status == 0) {
        if (ending == Ending::kWindowGone) {
            Fail("the window is gone; no snapshot written");
            status = 1;
        } else if (ticksDone == 0) {
            Fail("no frame was drawn; no snapshot written");
            status = 1;
        } else if (!WriteSnapshot(*drawer, options.snapshot)) {
            status = 1;
        }
    }
    if (options.timings)
        PrintTimings(times, openGl ? "OpenGL" : "X image");
    // Whatever the window still has to receive goes before the picture's
    // resources do.
    drawer->Finish();
    StopPicture();
    drawer.reset();
    ReleaseSurface(s);
    return status;
}

}  // namespace

}  // namespace tintwalk

int main(int argc, char** argv) {
    using namespace tintwalk;
    KeepHeapForDrawing();
    SaverOptions options;
    std::string error;
    if (!ParseSaverOptions(argc - 1, argv + 1, options, error)) {
        Fail(error);
        return 1;
    }
    if (options.help) {
        std::fputs(UsageText(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("tintwalk %s\n", TINTWALK_VERSION);
        return 0;
    }
    // A snapshot written to standard output keeps it for the picture alone.
    if (options.snapshot == "-")
        SetDiagnosticRoute(DiagnosticRoute::kStandardError);
    SaverTarget target;
    if (!ResolveTarget(options, std::getenv("XSCREENSAVER_WINDOW"), target, error)) {
        Fail(error);
        return 1;
    }
    if (!InstallStopSignals()) {
        Fail("cannot install the signal handlers");
        return 1;
    }
    return Run(options, target);
}
