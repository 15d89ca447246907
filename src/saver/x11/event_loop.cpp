#include "saver/x11/event_loop.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "communities/community.h"
#include "platform/memory_budget.h"
#include "saver/picture.h"
#include "saver/pointer_travel.h"
#include "saver/x11/x_errors.h"

namespace tintwalk {

namespace {

int64_t MonotonicMs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

double CpuMs() {
    timespec used;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) * 1e3 + static_cast<double>(used.tv_nsec) / 1e6;
}

double WallMs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

void TimedTick(int64_t startMs, TickTimes& times) {
    const double wall = WallMs();
    const double cpu = CpuMs();
    FrameTick();
    times.wallMs.push_back(WallMs() - wall);
    times.cpuMs.push_back(CpuMs() - cpu);
    if (times.wallMs.size() == 2)
        times.secondStartMs = startMs;
    times.lastStartMs = startMs;
}

volatile sig_atomic_t stopSignalled = 0;
int wakePipe[2] = {-1, -1};

void OnStopSignal(int) {
    stopSignalled = 1;
    const int saved = errno;
    if (wakePipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = write(wakePipe[1], &byte, 1);
    }
    errno = saved;
}

}  // namespace

bool InstallStopSignals() {
    if (pipe(wakePipe) != 0)
        return false;
    for (int fd : wakePipe) {
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // A hang-up (the terminal closed, or a session ending) stops the saver
    // as cleanly as the other two: the snapshot asked for is still written.
    return sigaction(SIGTERM, &action, nullptr) == 0 && sigaction(SIGINT, &action, nullptr) == 0 &&
           sigaction(SIGHUP, &action, nullptr) == 0;
}

bool BeginPicture(Drawer& drawer, const SaverOptions& options, int32_t width, int32_t height) {
    // Under a control group's limit a habitat too large is allocated all
    // the same, and the kernel kills the saver when it is touched: ask first.
    const std::string noMemory = "not enough memory for a " + std::to_string(width) + "x" +
                                 std::to_string(height) + " picture";
    if (!MemoryFits(CommunityBytes(width, height))) {
        Fail(noMemory);
        return false;
    }
    surfaceWidth = width;
    surfaceHeight = height;
    const PictureChoice choice = ChoosePicture(options, ClockSeconds());
    StartPicture(drawer.WindowPresenter(), width, height, choice.row, choice.seed);
    // The habitat's allocation can fail all the same (an address-space limit).
    if (!CommunityLoaded(static_cast<uint32_t>(width), static_cast<uint32_t>(height))) {
        StopPicture();
        Fail(noMemory);
        return false;
    }
    return true;
}

namespace {

// Handles one X event; returns the ending it causes, if any.
Ending HandleEvent(Surface& s, XEvent& event) {
    switch (event.type) {
        case MapNotify:
            if (event.xmap.window == s.window && !s.mapped) {
                s.mapped = true;
                if (s.mode == TargetKind::kFullscreen) {
                    // Pointer travel is measured from where the pointer is
                    // when the saver appears. Then the saver takes the
                    // keyboard focus; losing it again ends the saver.
                    Window rootReturn;
                    Window childReturn;
                    int rootX = 0;
                    int rootY = 0;
                    int winX = 0;
                    int winY = 0;
                    unsigned int buttons = 0;
                    XQueryPointer(s.display, s.window, &rootReturn, &childReturn, &rootX, &rootY,
                                  &winX, &winY, &buttons);
                    s.anchor = {rootX, rootY};
                    XSetInputFocus(s.display, s.window, RevertToParent, CurrentTime);
                }
            }
            break;
        case ConfigureNotify:
            if (event.xconfigure.window == s.host) {
                s.wantedWidth = event.xconfigure.width;
                s.wantedHeight = event.xconfigure.height;
                XResizeWindow(s.display, s.window, static_cast<unsigned>(s.wantedWidth),
                              static_cast<unsigned>(s.wantedHeight));
            } else if (event.xconfigure.window == s.window && s.host == None) {
                s.wantedWidth = event.xconfigure.width;
                s.wantedHeight = event.xconfigure.height;
            }
            break;
        case DestroyNotify:
            if (event.xdestroywindow.window == s.window) {
                s.windowAlive = false;
                return Ending::kWindowGone;
            }
            if (event.xdestroywindow.window == s.host) {
                s.windowAlive = false;  // our window went with it
                return Ending::kWindowGone;
            }
            break;
        case ClientMessage:
            if (s.mode == TargetKind::kOwnWindow && event.xclient.message_type == s.protocols &&
                event.xclient.format == 32 &&
                static_cast<Atom>(event.xclient.data.l[0]) == s.deleteWindow)
                return Ending::kStopped;
            break;
        case KeyPress:
            if (s.mode == TargetKind::kFullscreen)
                return Ending::kStopped;
            if (s.mode == TargetKind::kOwnWindow) {
                const KeySym key = XLookupKeysym(&event.xkey, 0);
                if (key == XK_Escape || key == XK_q)
                    return Ending::kStopped;
            }
            break;
        case ButtonPress:
            // The three buttons close; the wheel and the extra buttons do not.
            if (s.mode == TargetKind::kFullscreen && event.xbutton.button >= Button1 &&
                event.xbutton.button <= Button3)
                return Ending::kStopped;
            break;
        case MotionNotify:
            if (s.mode == TargetKind::kFullscreen && s.mapped &&
                PointerTravelWakes(s.anchor, {event.xmotion.x_root, event.xmotion.y_root}))
                return Ending::kStopped;
            break;
        case FocusIn:
            if (event.xfocus.mode == NotifyNormal || event.xfocus.mode == NotifyWhileGrabbed)
                s.hadFocus = true;
            break;
        case FocusOut:
            // Another window took the focus; grabs and our own inner
            // changes do not count.
            if (s.mode == TargetKind::kFullscreen && s.hadFocus &&
                (event.xfocus.mode == NotifyNormal || event.xfocus.mode == NotifyWhileGrabbed) &&
                event.xfocus.detail != NotifyInferior && event.xfocus.detail != NotifyPointer)
                return Ending::kStopped;
            break;
        default:
            break;
    }
    return Ending::kRunning;
}

}  // namespace

Ending RunLoop(Surface& s, Drawer& drawer, const SaverOptions& options, int64_t& ticksDone,
               TickTimes* times) {
    const int connection = ConnectionNumber(s.display);
    int64_t clockStart = 0;
    int64_t nextTick = 0;
    bool ticking = false;
    while (true) {
        while (XPending(s.display) > 0) {
            XEvent event;
            XNextEvent(s.display, &event);
            const Ending ending = HandleEvent(s, event);
            if (ending != Ending::kRunning)
                return ending;
        }
        if (stopSignalled)
            return Ending::kStopped;
        if (WindowVanished()) {
            s.windowAlive = false;
            return Ending::kWindowGone;
        }
        if ((s.wantedWidth != surfaceWidth || s.wantedHeight != surfaceHeight) &&
            s.wantedWidth > 0 && s.wantedHeight > 0) {
            // A new size starts a new picture.
            StopPicture();
            if (!BeginPicture(drawer, options, s.wantedWidth, s.wantedHeight))
                return Ending::kNoMemory;
            continue;
        }
        int64_t now = MonotonicMs();
        if (!ticking && s.mapped) {
            ticking = true;
            clockStart = now;
            nextTick = clockStart + kFramePeriodMs;
        }
        if (ticking && now >= nextTick) {
            if (times != nullptr)
                TimedTick(now, *times);
            else
                FrameTick();
            ++ticksDone;
            if (options.ticks > 0 && ticksDone >= options.ticks)
                return Ending::kTicksDone;
            nextTick = NextTickDue(clockStart, MonotonicMs(), kFramePeriodMs);
            continue;  // drawing may have queued events: look at them first
        }
        XFlush(s.display);
        pollfd waits[2] = {{connection, POLLIN, 0}, {wakePipe[0], POLLIN, 0}};
        const int timeout = ticking ? static_cast<int>(nextTick > now ? nextTick - now : 0) : -1;
        if (poll(waits, 2, timeout) < 0 && errno != EINTR) {
            Fail(std::string("waiting for events failed: ") + std::strerror(errno));
            return Ending::kStopped;
        }
        if (waits[1].revents & POLLIN) {
            char drain[16];
            while (read(wakePipe[0], drain, sizeof drain) > 0) {
            }
        }
    }
}

}  // namespace tintwalk
