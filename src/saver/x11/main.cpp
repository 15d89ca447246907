// The saver on X11 with an OpenGL (GLX) surface. It draws in a window of its
// own, full screen, or into a window that a host program hands it, and runs
// the picture on a 13 ms frame clock driven from the same loop that reads the
// X events.
#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "communities/community.h"
#include "render/png_writer.h"
#include "saver/picture.h"
#include "saver/pointer_travel.h"
#include "saver/x11/options.h"
#include "saver/x11/visual_choice.h"

namespace tintwalk {

namespace {

constexpr char kTitle[] = "Tintwalk screensaver";

void Fail(const std::string& message) {
    std::fprintf(stderr, "tintwalk: %s\n", message.c_str());
}

std::string HexId(unsigned long id) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", id);
    return text;
}

int64_t MonotonicMs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// SIGTERM and SIGINT set a flag and wake the event loop through a pipe.
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
    return sigaction(SIGTERM, &action, nullptr) == 0 && sigaction(SIGINT, &action, nullptr) == 0;
}

// X protocol errors. While a check is open they are only counted; after
// start-up they are reported once and otherwise ignored, since a host may
// destroy its window while a frame is on its way.
int trappedErrors = 0;
bool trapping = false;
bool reportedError = false;

int OnXError(Display* display, XErrorEvent* event) {
    if (trapping) {
        ++trappedErrors;
        return 0;
    }
    if (!reportedError) {
        char text[256];
        XGetErrorText(display, event->error_code, text, sizeof text);
        Fail(std::string("X error: ") + text);
        reportedError = true;
    }
    return 0;
}

void BeginTrap(Display* display) {
    XSync(display, False);
    trappedErrors = 0;
    trapping = true;
}

bool EndTrap(Display* display) {
    XSync(display, False);
    trapping = false;
    return trappedErrors == 0;
}

// Everything the saver holds on the display, released in reverse order.
struct Surface {
    Display* display = nullptr;
    int screen = 0;
    TargetKind mode = TargetKind::kOwnWindow;
    Window host = None;  // the window we draw inside (host and root modes)
    Window window = None;
    bool windowAlive = false;
    Colormap colormap = None;
    Cursor blankCursor = None;
    XVisualInfo* visual = nullptr;
    bool doubleBuffered = false;
    GLXContext context = nullptr;
    Atom protocols = None;
    Atom deleteWindow = None;
    int32_t wantedWidth = 0;
    int32_t wantedHeight = 0;
    bool mapped = false;
    bool hadFocus = false;
    PointerPosition anchor = {0, 0};
};

// The best GLX visual of the screen, or null.
XVisualInfo* ChooseVisual(Display* display, int screen, bool& doubleBuffered) {
    XVisualInfo pattern;
    std::memset(&pattern, 0, sizeof pattern);
    pattern.screen = screen;
    int count = 0;
    XVisualInfo* all = XGetVisualInfo(display, VisualScreenMask, &pattern, &count);
    if (all == nullptr)
        return nullptr;
    const VisualID defaultId = XVisualIDFromVisual(DefaultVisual(display, screen));
    std::vector<VisualTraits> traits(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        XVisualInfo* info = &all[i];
        auto get = [&](int attribute) {
            int value = 0;
            return glXGetConfig(display, info, attribute, &value) == 0 ? value : 0;
        };
        VisualTraits& t = traits[static_cast<size_t>(i)];
        t.openGl = get(GLX_USE_GL) != 0;
        if (!t.openGl)
            continue;
        t.rgba = get(GLX_RGBA) != 0;
        t.trueColour = info->c_class == TrueColor;
        t.doubleBuffer = get(GLX_DOUBLEBUFFER) != 0;
        t.stereo = get(GLX_STEREO) != 0;
        t.level = get(GLX_LEVEL);
        t.red = get(GLX_RED_SIZE);
        t.green = get(GLX_GREEN_SIZE);
        t.blue = get(GLX_BLUE_SIZE);
        t.extraBits = get(GLX_ALPHA_SIZE) + get(GLX_DEPTH_SIZE) + get(GLX_STENCIL_SIZE) +
                      get(GLX_ACCUM_RED_SIZE) + get(GLX_ACCUM_GREEN_SIZE) +
                      get(GLX_ACCUM_BLUE_SIZE) + get(GLX_ACCUM_ALPHA_SIZE);
        t.isDefault = info->visualid == defaultId;
    }
    const int best = PickVisual(traits);
    XVisualInfo* chosen = nullptr;
    if (best >= 0) {
        chosen = static_cast<XVisualInfo*>(std::malloc(sizeof(XVisualInfo)));
        if (chosen != nullptr) {
            *chosen = all[best];
            doubleBuffered = traits[static_cast<size_t>(best)].doubleBuffer;
        }
    }
    XFree(all);
    return chosen;
}

Cursor MakeBlankCursor(Display* display, Window window) {
    static const char kEmpty[1] = {0};
    const Pixmap bits = XCreateBitmapFromData(display, window, kEmpty, 1, 1);
    XColor black;
    std::memset(&black, 0, sizeof black);
    const Cursor cursor = XCreatePixmapCursor(display, bits, bits, &black, &black, 0, 0);
    XFreePixmap(display, bits);
    return cursor;
}

// Creates the window we draw in: our own top-level, a full-screen one, or a
// child that covers the host window (or the root) entirely.
void CreateSurfaceWindow(Surface& s, const SaverOptions& options) {
    Display* display = s.display;
    const Window root = RootWindow(display, s.screen);
    s.colormap = XCreateColormap(display, root, s.visual->visual, AllocNone);

    XSetWindowAttributes attributes;
    std::memset(&attributes, 0, sizeof attributes);
    attributes.colormap = s.colormap;
    attributes.background_pixmap = None;  // nothing is erased; the picture is never redrawn
    attributes.border_pixel = 0;
    unsigned long mask = CWColormap | CWBackPixmap | CWBorderPixel | CWEventMask;

    Window parent = root;
    int x = 0;
    int y = 0;
    switch (s.mode) {
        case TargetKind::kOwnWindow:
            attributes.event_mask = KeyPressMask | StructureNotifyMask;
            if (options.positionGiven) {
                x = options.x;
                y = options.y;
            }
            s.wantedWidth = options.width;
            s.wantedHeight = options.height;
            break;
        case TargetKind::kFullscreen:
            attributes.event_mask = KeyPressMask | ButtonPressMask | PointerMotionMask |
                                    FocusChangeMask | StructureNotifyMask;
            attributes.override_redirect = True;
            mask |= CWOverrideRedirect;
            s.wantedWidth = DisplayWidth(display, s.screen);
            s.wantedHeight = DisplayHeight(display, s.screen);
            break;
        case TargetKind::kHostWindow:
        case TargetKind::kRoot:
            // Input stays with the host: the child asks for none, so keys
            // and buttons go on to the window beneath it.
            attributes.event_mask = StructureNotifyMask;
            if (s.mode == TargetKind::kRoot) {
                attributes.override_redirect = True;
                mask |= CWOverrideRedirect;
            }
            parent = s.host;
            break;
    }
    s.window = XCreateWindow(display, parent, x, y, static_cast<unsigned>(s.wantedWidth),
                             static_cast<unsigned>(s.wantedHeight), 0, s.visual->depth, InputOutput,
                             s.visual->visual, mask, &attributes);
    s.windowAlive = true;
    XStoreName(display, s.window, kTitle);
    XClassHint classHint;
    classHint.res_name = const_cast<char*>("tintwalk");
    classHint.res_class = const_cast<char*>("Tintwalk");
    XSetClassHint(display, s.window, &classHint);
    // Lets window managers and tools find the window by its process.
    const long pid = static_cast<long>(getpid());
    XChangeProperty(display, s.window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);

    if (s.mode == TargetKind::kOwnWindow) {
        XSizeHints* hints = XAllocSizeHints();
        if (hints != nullptr) {
            hints->flags = USSize | PSize | (options.positionGiven ? USPosition | PPosition : 0);
            hints->x = x;
            hints->y = y;
            hints->width = s.wantedWidth;
            hints->height = s.wantedHeight;
            XSetWMNormalHints(display, s.window, hints);
            XFree(hints);
        }
        s.protocols = XInternAtom(display, "WM_PROTOCOLS", False);
        s.deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
        XSetWMProtocols(display, s.window, &s.deleteWindow, 1);
    }
    if (s.mode == TargetKind::kFullscreen) {
        s.blankCursor = MakeBlankCursor(display, s.window);
        XDefineCursor(display, s.window, s.blankCursor);
    }
    if (s.mode == TargetKind::kHostWindow || s.mode == TargetKind::kRoot)
        XSelectInput(display, s.host, StructureNotifyMask);

    if (s.mode == TargetKind::kFullscreen) {
        XMapRaised(display, s.window);
    } else {
        XMapWindow(display, s.window);
        if (s.mode == TargetKind::kRoot)
            XLowerWindow(display, s.window);  // a background beneath every other window
    }
}

bool CreateContext(Surface& s) {
    s.context = glXCreateContext(s.display, s.visual, nullptr, True);
    if (s.context == nullptr)
        s.context = glXCreateContext(s.display, s.visual, nullptr, False);
    if (s.context == nullptr || !glXMakeCurrent(s.display, s.window, s.context))
        return false;
    if (s.doubleBuffered) {
        // Without a single-buffered visual the picture goes straight into
        // the front buffer: it builds up on screen and is never swapped.
        glDrawBuffer(GL_FRONT);
    }
    glReadBuffer(GL_FRONT);
    return true;
}

void ReleaseSurface(Surface& s) {
    if (s.display == nullptr)
        return;
    if (s.context != nullptr) {
        glXMakeCurrent(s.display, None, nullptr);
        glXDestroyContext(s.display, s.context);
    }
    if (s.windowAlive)
        XDestroyWindow(s.display, s.window);
    if (s.blankCursor != None)
        XFreeCursor(s.display, s.blankCursor);
    if (s.colormap != None)
        XFreeColormap(s.display, s.colormap);
    if (s.visual != nullptr)
        std::free(s.visual);
    XCloseDisplay(s.display);
    s = Surface();
}

// Reads the picture back from the window and writes it as a PNG, top row first.
bool WriteSnapshot(const std::string& path) {
    const uint32_t width = static_cast<uint32_t>(surfaceWidth);
    const uint32_t height = static_cast<uint32_t>(surfaceHeight);
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    std::vector<uint8_t> bottomUp(rowBytes * height);
    glFinish();
    glReadBuffer(GL_FRONT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height), GL_RGB,
                 GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<uint8_t> topDown(bottomUp.size());
    for (uint32_t row = 0; row < height; ++row) {
        std::memcpy(&topDown[row * rowBytes], &bottomUp[(height - 1 - row) * rowBytes], rowBytes);
    }
    std::string error;
    if (!WritePng(path, topDown.data(), width, height, error)) {
        Fail("cannot write the snapshot " + path + ": " + error);
        return false;
    }
    return true;
}

// Starts the picture on the whole surface; the community and seed are
// chosen afresh unless the command line fixed them.
void BeginPicture(const SaverOptions& options, int32_t width, int32_t height) {
    surfaceWidth = width;
    surfaceHeight = height;
    const PictureChoice choice = ChoosePicture(options, ClockSeconds());
    StartPicture(width, height, choice.row, choice.seed);
}

// Why the loop ended.
enum class Ending { kRunning, kStopped, kTicksDone, kWindowGone };

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

// The event loop with its frame clock. Ticks start once the window is
// mapped; a tick that falls due while a frame is still being drawn is
// dropped, and the next one is the next multiple of the period.
Ending RunLoop(Surface& s, const SaverOptions& options, int64_t& ticksDone) {
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
        if ((s.wantedWidth != surfaceWidth || s.wantedHeight != surfaceHeight) &&
            s.wantedWidth > 0 && s.wantedHeight > 0) {
            // A new size starts a new picture.
            StopPicture();
            BeginPicture(options, s.wantedWidth, s.wantedHeight);
            continue;
        }
        int64_t now = MonotonicMs();
        if (!ticking && s.mapped) {
            ticking = true;
            clockStart = now;
            nextTick = clockStart + kFramePeriodMs;
        }
        if (ticking && now >= nextTick) {
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
    XSetErrorHandler(OnXError);
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
        s.host = target.windowId;
        s.screen = XScreenNumberOfScreen(host.screen);
        s.wantedWidth = host.width;
        s.wantedHeight = host.height;
    } else if (target.mode == TargetKind::kRoot) {
        s.host = RootWindow(s.display, s.screen);
        s.wantedWidth = DisplayWidth(s.display, s.screen);
        s.wantedHeight = DisplayHeight(s.display, s.screen);
    }

    int errorBase = 0;
    int eventBase = 0;
    if (!glXQueryExtension(s.display, &errorBase, &eventBase)) {
        Fail("display '" + shownName + "' has no OpenGL (GLX) support");
        ReleaseSurface(s);
        return 1;
    }
    s.visual = ChooseVisual(s.display, s.screen, s.doubleBuffered);
    if (s.visual == nullptr) {
        Fail("display '" + shownName + "' offers no OpenGL (GLX) RGB visual");
        ReleaseSurface(s);
        return 1;
    }
    CreateSurfaceWindow(s, options);
    if (!CreateContext(s)) {
        Fail("cannot create an OpenGL context on display '" + shownName + "'");
        ReleaseSurface(s);
        return 1;
    }

    BeginPicture(options, s.wantedWidth, s.wantedHeight);
    int64_t ticksDone = 0;
    const Ending ending = RunLoop(s, options, ticksDone);

    int status = 0;
    if (!options.snapshot.empty()) {
        if (ending == Ending::kWindowGone) {
            Fail("the window is gone; no snapshot written");
            status = 1;
        } else if (ticksDone == 0) {
            Fail("no frame was drawn; no snapshot written");
            status = 1;
        } else if (!WriteSnapshot(options.snapshot)) {
            status = 1;
        }
    }
    StopPicture();
    ReleaseSurface(s);
    return status;
}

}  // namespace

}  // namespace tintwalk

int main(int argc, char** argv) {
    using namespace tintwalk;
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
