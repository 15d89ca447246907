// Frame ticks of the picture in an offscreen OpenGL context (OSMesa), with
// no window and no X server: what the OpenGL presenter costs on its own.
//   tintwalk_offscreen_frames WxH TICKS
// runs community 7 with seed 7 and prints the median wall and processor
// time of a tick, each tick finished with glFinish. TINTWALK_DRAW and
// GALLIUM_DRIVER choose the method and the rasteriser, as in the savers.
#include <GL/osmesa.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "communities/community.h"
#include "draw/gl_presenter.h"
#include "draw/heap.h"
#include "saver/picture.h"

namespace {

double Ms(clockid_t clock) {
    timespec now;
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tintwalk;
    KeepHeapForDrawing();
    int width = 0;
    int height = 0;
    int ticks = 0;
    if (argc != 3 || std::sscanf(argv[1], "%dx%d", &width, &height) != 2 ||
        std::sscanf(argv[2], "%d", &ticks) != 1 || width < 1 || height < 1 || ticks < 1) {
        std::fprintf(stderr, "usage: tintwalk_offscreen_frames WxH TICKS\n");
        return 2;
    }
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, 0, 0, 0, nullptr);
    if (context == nullptr ||
        !OSMesaMakeCurrent(context, pixels.data(), GL_UNSIGNED_BYTE, width, height)) {
        std::fprintf(stderr, "tintwalk_offscreen_frames: no OSMesa context\n");
        return 1;
    }
    surfaceWidth = width;
    surfaceHeight = height;
    GlPresenter presenter;
    StartPicture(presenter, width, height, 7, 7);
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int tick = 0; tick <= ticks; ++tick) {
        const double wallStart = Ms(CLOCK_MONOTONIC);
        const double cpuStart = Ms(CLOCK_PROCESS_CPUTIME_ID);
        FrameTick();
        glFinish();
        // The first tick shows the whole habitat and is left out.
        if (tick > 0) {
            wall.push_back(Ms(CLOCK_MONOTONIC) - wallStart);
            cpu.push_back(Ms(CLOCK_PROCESS_CPUTIME_ID) - cpuStart);
        }
    }
    std::printf("timings: offscreen %s, %d ticks; median tick %.2f ms wall, %.2f ms CPU\n",
                DrawMethodName(presenter.Method()), ticks, Median(wall), Median(cpu));
    StopPicture();
    OSMesaDestroyContext(context);
    return 0;
}
