#include "saver/x11/x_errors.h"

#include "saver/x11/messages.h"

namespace tintwalk {

namespace {

int trappedErrors = 0;
std::string firstTrapped;
bool trapping = false;
bool reportedError = false;
Window watched = None;
bool vanished = false;

std::string ErrorText(Display* display, const XErrorEvent* event) {
    char text[256];
    XGetErrorText(display, event->error_code, text, sizeof text);
    return text;
}

int OnXError(Display* display, XErrorEvent* event) {
    if (trapping) {
        if (trappedErrors++ == 0)
            firstTrapped = ErrorText(display, event);
        return 0;
    }
    if (watched != None && event->resourceid == watched &&
        (event->error_code == BadWindow || event->error_code == BadDrawable)) {
        vanished = true;
        return 0;
    }
    if (!reportedError) {
        Fail("X error: " + ErrorText(display, event));
        reportedError = true;
    }
    return 0;
}

}  // namespace

void InstallXErrorHandler() {
    XSetErrorHandler(OnXError);
}

void WatchWindow(Window window) {
    watched = window;
    vanished = false;
}

bool WindowVanished() {
    return vanished;
}

void BeginTrap(Display* display) {
    XSync(display, False);
    trappedErrors = 0;
    firstTrapped.clear();
    trapping = true;
}

bool EndTrap(Display* display) {
    XSync(display, False);
    trapping = false;
    return trappedErrors == 0;
}

std::string TrappedErrorText() {
    return firstTrapped;
}

}  // namespace tintwalk
