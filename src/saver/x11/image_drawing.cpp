#include "saver/x11/image_drawing.h"

#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/image.h"
#include "draw/dirty_tiles.h"
#include "saver/x11/messages.h"
#include "saver/x11/pixel_layout.h"
#include "saver/x11/x_errors.h"

namespace tintwalk {

namespace {

int BitsPerPixelOfDepth(Display* display, int depth) {
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    int bits = 0;
    for (int i = 0; i < count; ++i) {
        if (formats[i].depth == depth)
            bits = formats[i].bits_per_pixel;
    }
    if (formats != nullptr)
        XFree(formats);
    return bits;
}

PixelFormatDescription FormatOf(const XVisualInfo& visual, int bitsPerPixel, int byteOrder) {
    PixelFormatDescription format;
    format.redMask = static_cast<uint32_t>(visual.red_mask);
    format.greenMask = static_cast<uint32_t>(visual.green_mask);
    format.blueMask = static_cast<uint32_t>(visual.blue_mask);
    format.bitsPerPixel = bitsPerPixel;
    format.mostSignificantFirst = byteOrder == MSBFirst;
    format.depth = visual.depth;
    return format;
}

bool Writable(Display* display, const XVisualInfo& info) {
    if (info.c_class != TrueColor)
        return false;
    PixelLayout layout;
    return layout.Set(
        FormatOf(info, BitsPerPixelOfDepth(display, info.depth), ImageByteOrder(display)));
}

class ImageDrawer : public Drawer, public Presenter {
  public:
    ImageDrawer(const Surface& surface, bool sharedMemory)
        : display(surface.display),
          window(surface.window),
          visual(surface.visual),
          trySharedMemory(sharedMemory && XShmQueryExtension(surface.display)) {
        gc = XCreateGC(display, window, 0, nullptr);
    }

    ~ImageDrawer() override {
        FreeImage();
        XFreeGC(display, gc);
    }

    Presenter& WindowPresenter() override { return *this; }

    void Finish() override { XSync(display, False); }

    void Start(int32_t newWidth, int32_t newHeight) override {
        FreeImage();
        width = newWidth;
        height = newHeight;
        if (width > 0 && height > 0)
            MakeImage();
    }

    void Stop() override { FreeImage(); }

    // The image keeps what the window shows, so only the cells painted
    // since the last tick need converting.
    bool WantsCells() const override { return true; }

    // Brings the image up to date with the habitat and sends each dirty run
    // of tiles as one rectangle; habitat row 0 is the window's bottom row.
    void Present(const Image& habitat, const DirtyTiles& dirty) override {
        const uint8_t* cells = habitat.pixels;
        if (image == nullptr || cells == nullptr || dirty.Width() != width ||
            dirty.Height() != height)
            return;
        // The server has taken the last frame before this one is written: a
        // server that falls behind makes the clock drop ticks instead of
        // queueing frames, and its work overlaps our wait for the next tick.
        XSync(display, False);
        if (dirty.AllDirty()) {
            for (int32_t y = 0; y < height; ++y)
                layout.FromRgb(Cell(cells, 0, y), Pixel(0, y), static_cast<size_t>(width));
        } else {
            // The painted cells in the colours the tick left them (the
            // habitat may already hold the next tick's).
            const std::vector<TrailPoint>& points = dirty.Cells();
            const std::vector<RgbPixel>& colours = dirty.CellColours();
            const size_t count = std::min(points.size(), colours.size());
            for (size_t i = 0; i < count; ++i)
                layout.FromRgb(reinterpret_cast<const uint8_t*>(&colours[i]),
                               Pixel(points[i].x, points[i].y));
        }
        dirty.ForEachRun([&](int32_t row, int32_t first, int32_t end) {
            const int32_t x0 = dirty.CellX(first);
            const int32_t y1 = dirty.CellEndY(row);
            const unsigned w = static_cast<unsigned>(dirty.CellEndX(end) - x0);
            const unsigned h = static_cast<unsigned>(y1 - dirty.CellY(row));
            const int top = height - y1;
            if (shared)
                XShmPutImage(display, window, gc, image, x0, top, x0, top, w, h, False);
            else
                XPutImage(display, window, gc, image, x0, top, x0, top, w, h);
        });
        XFlush(display);
    }

    bool ReadScreen(std::vector<uint8_t>& rgb, std::string& error) override {
        XSync(display, False);
        BeginTrap(display);
        XImage* shot = XGetImage(display, window, 0, 0, static_cast<unsigned>(width),
                                 static_cast<unsigned>(height), AllPlanes, ZPixmap);
        const bool read = EndTrap(display) && shot != nullptr;
        PixelLayout shotLayout;
        const bool known =
            read && shotLayout.Set(FormatOf(*visual, shot->bits_per_pixel, shot->byte_order));
        if (!known) {
            error = read ? "the window's pixels are in a layout we cannot read"
                         : "cannot read the window back (is all of it on the screen?): " +
                               TrappedErrorText();
            if (shot != nullptr)
                XDestroyImage(shot);
            return false;
        }
        const size_t rowBytes = static_cast<size_t>(width) * 3;
        rgb.resize(rowBytes * static_cast<size_t>(height));
        for (int y = 0; y < height; ++y) {
            shotLayout.ToRgb(reinterpret_cast<const uint8_t*>(shot->data) +
                                 static_cast<size_t>(y) * static_cast<size_t>(shot->bytes_per_line),
                             &rgb[static_cast<size_t>(y) * rowBytes], static_cast<size_t>(width));
        }
        XDestroyImage(shot);
        return true;
    }

  private:
    // The habitat addresses its cells as packed rows, whatever its pitch.
    const uint8_t* Cell(const uint8_t* cells, int32_t x, int32_t y) const {
        return cells + (static_cast<size_t>(y) * static_cast<size_t>(width) + x) * 3;
    }

    // The image's pixel of habitat cell (x, y), counted from the top.
    uint8_t* Pixel(int32_t x, int32_t y) const {
        const size_t top = static_cast<size_t>(height - 1 - y);
        return reinterpret_cast<uint8_t*>(image->data) +
               top * static_cast<size_t>(image->bytes_per_line) +
               static_cast<size_t>(x) * static_cast<size_t>(layout.BytesPerPixel());
    }

    void MakeImage() {
        const unsigned w = static_cast<unsigned>(width);
        const unsigned h = static_cast<unsigned>(height);
        if (trySharedMemory) {
            image = XShmCreateImage(display, visual->visual, static_cast<unsigned>(visual->depth),
                                    ZPixmap, nullptr, &segment, w, h);
            if (image != nullptr && AttachSegment()) {
                shared = true;
            } else {
                // A remote display, or no shared memory to spare: from now
                // on the images go through the connection.
                if (image != nullptr)
                    XDestroyImage(image);
                image = nullptr;
                trySharedMemory = false;
            }
        }
        if (image == nullptr) {
            image = XCreateImage(display, visual->visual, static_cast<unsigned>(visual->depth),
                                 ZPixmap, 0, nullptr, w, h, 32, 0);
            if (image != nullptr) {
                image->data =
                    static_cast<char*>(std::malloc(static_cast<size_t>(image->bytes_per_line) * h));
                if (image->data == nullptr) {
                    XDestroyImage(image);
                    image = nullptr;
                }
            }
        }
        if (image == nullptr ||
            !layout.Set(FormatOf(*visual, image->bits_per_pixel, image->byte_order))) {
            Fail("cannot make an X image of " + std::to_string(width) + "x" +
                 std::to_string(height) + ": nothing will be drawn");
            FreeImage();
        }
    }

    bool AttachSegment() {
        const size_t bytes =
            static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(image->height);
        segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
        if (segment.shmid < 0)
            return false;
        segment.shmaddr = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
        if (segment.shmaddr == reinterpret_cast<char*>(-1)) {
            shmctl(segment.shmid, IPC_RMID, nullptr);
            return false;
        }
        segment.readOnly = True;
        image->data = segment.shmaddr;
        BeginTrap(display);
        XShmAttach(display, &segment);
        const bool attached = EndTrap(display);
        // Marked for removal at once: it goes when both sides have let go,
        // even if this process is killed.
        shmctl(segment.shmid, IPC_RMID, nullptr);
        if (!attached) {
            shmdt(segment.shmaddr);
            image->data = nullptr;
        }
        return attached;
    }

    void FreeImage() {
        if (image == nullptr)
            return;
        if (shared) {
            XShmDetach(display, &segment);
            XSync(display, False);
            shmdt(segment.shmaddr);
            image->data = nullptr;
            shared = false;
        }
        XDestroyImage(image);  // frees the pixels of a plain image too
        image = nullptr;
    }

    Display* display;
    Window window;
    const XVisualInfo* visual;
    bool trySharedMemory;
    GC gc = nullptr;
    XImage* image = nullptr;
    XShmSegmentInfo segment = {};
    bool shared = false;
    PixelLayout layout;
    int32_t width = 0;
    int32_t height = 0;
};

}  // namespace

XVisualInfo* ChooseImageVisual(Display* display, int screen) {
    XVisualInfo pattern;
    std::memset(&pattern, 0, sizeof pattern);
    pattern.screen = screen;
    pattern.c_class = TrueColor;
    int count = 0;
    XVisualInfo* all =
        XGetVisualInfo(display, VisualScreenMask | VisualClassMask, &pattern, &count);
    if (all == nullptr)
        return nullptr;
    const VisualID defaultId = XVisualIDFromVisual(DefaultVisual(display, screen));
    int best = -1;
    for (int i = 0; i < count; ++i) {
        if (!Writable(display, all[i]))
            continue;
        if (all[i].visualid == defaultId || best < 0)
            best = i;
        if (all[i].visualid == defaultId)
            break;
    }
    XVisualInfo* chosen = best >= 0 ? CopyVisual(all[best]) : nullptr;
    XFree(all);
    return chosen;
}

std::unique_ptr<Drawer> MakeImageDrawer(const Surface& surface, bool sharedMemory) {
    return std::make_unique<ImageDrawer>(surface, sharedMemory);
}

}  // namespace tintwalk
