#include "saver/x11/stop_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tintwalk {

namespace {

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

bool StopSignalled() {
    return stopSignalled != 0;
}

int StopWakeFd() {
    return wakePipe[0];
}

void DrainStopWake() {
    char drain[16];
    while (read(wakePipe[0], drain, sizeof drain) > 0) {
    }
}

}  // namespace tintwalk
