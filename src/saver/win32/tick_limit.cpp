#include "saver/win32/tick_limit.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "cli/decimal.h"
#include "communities/clock_choice.h"
#include "core/diagnostics.h"

namespace tintwalk {

namespace {

const char kStopAfterTicksVariable[] = "TINTWALK_TEST_HOOK_STOP_TICKING_AFTER";
uint64_t ticksUntilStop = 0;  // 0: tick until the saver closes
bool tickingStopped = false;

// Timings of the ticks after the first: milliseconds of each tick's work,
// and the clock and processor readings at the end of the first tick.
std::vector<double> tickMs;
double tickStartMs = 0.0;
double firstEndMs = 0.0;
double firstEndCpuMs = 0.0;

double NowMs() {
    LARGE_INTEGER count;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1e3 / static_cast<double>(frequency.QuadPart);
}

double ProcessCpuMs() {
    FILETIME created;
    FILETIME exited;
    FILETIME kernel;
    FILETIME user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0.0;
    const auto hundredNs = [](const FILETIME& time) {
        return static_cast<double>((static_cast<uint64_t>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime);
    };
    return (hundredNs(kernel) + hundredNs(user)) / 1e4;
}

void PrintStop() {
    const double endMs = NowMs();
    const double cpuMs = ProcessCpuMs();
    const double ticks = static_cast<double>(tickMs.size());
    double median = 0.0;
    if (!tickMs.empty()) {
        std::sort(tickMs.begin(), tickMs.end());
        const size_t middle = tickMs.size() / 2;
        median =
            tickMs.size() % 2 != 0 ? tickMs[middle] : (tickMs[middle - 1] + tickMs[middle]) / 2;
    }
    Diagnostic(stdout,
               "frame clock stopped by %s: %.0f ticks after the first, %.2f ms apart; median "
               "tick %.2f ms wall, %.2f ms CPU a tick\n",
               kStopAfterTicksVariable, ticks, ticks > 0 ? (endMs - firstEndMs) / ticks : 0.0,
               median, ticks > 0 ? (cpuMs - firstEndCpuMs) / ticks : 0.0);
}

}  // namespace

int64_t PictureClockSeconds() {
    uint64_t seconds = 0;
    const char* clock = std::getenv("TINTWALK_TEST_HOOK_CLOCK");
    if (clock != nullptr && ParseDecimal(clock, INT64_MAX, seconds))
        return static_cast<int64_t>(seconds);
    return ClockSeconds();
}

void StartTickLimit() {
    ticksUntilStop = 0;
    tickingStopped = false;
    tickMs.clear();
    firstEndMs = 0.0;
    // Anything but a plain number leaves the clock running.
    if (const char* ticks = std::getenv(kStopAfterTicksVariable))
        ParseDecimal(ticks, UINT32_MAX, ticksUntilStop);
    if (ticksUntilStop > 0)
        tickMs.reserve(static_cast<size_t>(ticksUntilStop));
}

bool TickLimitReached() {
    return tickingStopped;
}

void NoteTickStart() {
    if (ticksUntilStop > 0)
        tickStartMs = NowMs();
}

bool CountTickTowardsLimit() {
    if (ticksUntilStop == 0)
        return false;
    if (firstEndMs == 0.0) {
        firstEndMs = NowMs();
        firstEndCpuMs = ProcessCpuMs();
    } else {
        tickMs.push_back(NowMs() - tickStartMs);
    }
    if (--ticksUntilStop != 0)
        return false;
    tickingStopped = true;
    PrintStop();
    std::fflush(stdout);
    return true;
}

}  // namespace tintwalk
