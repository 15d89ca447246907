#include "saver/x11/surface.h"

#include <X11/Xatom.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "saver/x11/x_errors.h"

namespace tintwalk {

namespace {

constexpr char kTitle[] = "Tintwalk screensaver";

Cursor MakeBlankCursor(Display* display, Window window) {
    static const char kEmpty[1] = {0};
    const Pixmap bits = XCreateBitmapFromData(display, window, kEmpty, 1, 1);
    XColor black;
    std::memset(&black, 0, sizeof black);
    const Cursor cursor = XCreatePixmapCursor(display, bits, bits, &black, &black, 0, 0);
    XFreePixmap(display, bits);
    return cursor;
}

}  // namespace

XVisualInfo* CopyVisual(const XVisualInfo& info) {
    auto* copy = static_cast<XVisualInfo*>(std::malloc(sizeof(XVisualInfo)));
    if (copy != nullptr)
        *copy = info;
    return copy;
}

// Creates the window we draw in: our own top-level, a full-screen one, or a
// child that covers the host window (or the root) entirely.
bool CreateSurfaceWindow(Surface& s, const SaverOptions& options, std::string& error) {
    Display* display = s.display;
    const Window root = RootWindow(display, s.screen);
    BeginTrap(display);
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
    if (!EndTrap(display)) {
        error = TrappedErrorText();
        return false;
    }
    s.windowAlive = true;
    WatchWindow(s.window);
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
    return true;
}

void ReleaseSurface(Surface& s) {
    if (s.display == nullptr)
        return;
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

}  // namespace tintwalk
