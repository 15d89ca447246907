#include "saver/win32/tick_limit.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "cli/decimal.h"
#include "core/diagnostics.h"

namespace tintwalk {

namespace {

const char kStopAfterTicksVariable[] = "TINTWALK_TEST_HOOK_STOP_TICKING_AFTER";
uint64_t ticksUntilStop = 0;  // 0: tick until the saver closes
bool tickingStopped = false;

}  // namespace

void StartTickLimit() {
    ticksUntilStop = 0;
    tickingStopped = false;
    // Anything but a plain number leaves the clock running.
    if (const char* ticks = std::getenv(kStopAfterTicksVariable))
        ParseDecimal(ticks, UINT32_MAX, ticksUntilStop);
}

bool TickLimitReached() {
    return tickingStopped;
}

bool CountTickTowardsLimit() {
    if (ticksUntilStop == 0 || --ticksUntilStop != 0)
        return false;
    tickingStopped = true;
    Diagnostic(stdout, "frame clock stopped by %s\n", kStopAfterTicksVariable);
    std::fflush(stdout);
    return true;
}

}  // namespace tintwalk
