// A small stand-in for a screen-saver host, for the end-to-end tests.
//
//   x11_test_host [-geometry WxH] [-input-only] -- COMMAND [ARGS...]
//     Maps a window (InputOnly with -input-only), prints "window 0xID", runs COMMAND with
//     XSCREENSAVER_WINDOW=0xID, prints "pid N", then "exit N" (128 + the signal number after a
//     signal) and ends with that status. SIGTERM and SIGINT are passed on to COMMAND; SIGUSR1
//     destroys the window while COMMAND runs.
//
//   x11_test_host -close ID
//     Asks the window ID to close, as a window manager does (WM_DELETE_WINDOW).
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

volatile sig_atomic_t forwardSignal = 0;
volatile sig_atomic_t destroyRequested = 0;

void OnSignal(int number) {
    if (number == SIGUSR1)
        destroyRequested = 1;
    else
        forwardSignal = number;
}

int SendClose(Display* display, const char* idText) {
    const Window window = std::strtoul(idText, nullptr, 0);
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "x11_test_host: cannot open the display\n");
        return 2;
    }
    unsigned width = 320;
    unsigned height = 240;
    bool inputOnly = false;
    int i = 1;
    for (; i < argc; ++i) {
        if (std::strcmp(argv[i], "-close") == 0 && i + 1 < argc)
            return SendClose(display, argv[i + 1]);
        if (std::strcmp(argv[i], "-geometry") == 0 && i + 1 < argc) {
            std::sscanf(argv[++i], "%ux%u", &width, &height);
        } else if (std::strcmp(argv[i], "-input-only") == 0) {
            inputOnly = true;
        } else if (std::strcmp(argv[i], "--") == 0) {
            ++i;
            break;
        }
    }
    if (i >= argc) {
        std::fprintf(stderr, "usage: x11_test_host [-geometry WxH] [-input-only] -- COMMAND...\n");
        return 2;
    }

    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    const Window window =
        inputOnly ? XCreateWindow(display, root, 0, 0, width, height, 0, 0, InputOnly,
                                  CopyFromParent, 0, nullptr)
                  : XCreateSimpleWindow(display, root, 0, 0, width, height, 0,
                                        BlackPixel(display, screen), BlackPixel(display, screen));
    XStoreName(display, window, "Tintwalk test host");
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    for (XEvent event;;) {
        XWindowEvent(display, window, StructureNotifyMask, &event);
        if (event.type == MapNotify)
            break;
    }
    XSync(display, False);

    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", window);
    std::printf("window %s\n", id);
    std::fflush(stdout);

    const pid_t child = fork();
    if (child == 0) {
        close(ConnectionNumber(display));
        setenv("XSCREENSAVER_WINDOW", id, 1);
        execvp(argv[i], argv + i);
        std::perror("x11_test_host: exec");
        _exit(127);
    }
    std::printf("pid %d\n", static_cast<int>(child));
    std::fflush(stdout);

    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGUSR1, &action, nullptr);

    int status = 0;
    bool windowAlive = true;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (forwardSignal != 0) {
            kill(child, forwardSignal);
            forwardSignal = 0;
        }
        if (destroyRequested && windowAlive) {
            XDestroyWindow(display, window);
            XSync(display, False);
            windowAlive = false;
        }
        const timespec pause = {0, 20 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::printf("exit %d\n", code);
    std::fflush(stdout);
    XCloseDisplay(display);
    return code;
}
