#include "saver/x11/event_handling.h"

#include <X11/keysym.h>

#include "saver/pointer_travel.h"

namespace tintwalk {

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

}  // namespace tintwalk
