#include "saver/x11/event_loop.h"

#include <X11/Xlib.h>
#include <poll.h>
#include <time.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "communities/community.h"
#include "saver/picture.h"
#include "saver/x11/event_handling.h"
#include "saver/x11/messages.h"
#include "saver/x11/picture_start.h"
#include "saver/x11/stop_signals.h"
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
    if (times.lastCpuMs >= 0.0)
        times.cpuMs.push_back(cpu - times.lastCpuMs);
    times.lastCpuMs = cpu;
    FrameTick();
    times.wallMs.push_back(WallMs() - wall);
    if (times.wallMs.size() == 2)
        times.secondStartMs = startMs;
    times.lastStartMs = startMs;
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
        if (StopSignalled())
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
        pollfd waits[2] = {{connection, POLLIN, 0}, {StopWakeFd(), POLLIN, 0}};
        const int timeout = ticking ? static_cast<int>(nextTick > now ? nextTick - now : 0) : -1;
        if (poll(waits, 2, timeout) < 0 && errno != EINTR) {
            Fail(std::string("waiting for events failed: ") + std::strerror(errno));
            return Ending::kStopped;
        }
        if (waits[1].revents & POLLIN)
            DrainStopWake();
    }
}

}  // namespace tintwalk
