#include "saver/picture.h"

#ifdef _WIN32
#include <windows.h>
#endif
#include <GL/gl.h>

#include "communities/community.h"
#include "core/biotope.h"

namespace tintwalk {

namespace {

// The background is cleared once, on the first tick, and never again.
bool clearPending = true;

void ClearToBackground() {
    const float scale = 1.0f / 255.0f;
    glClearColor(backgroundColour.red * scale, backgroundColour.green * scale,
                 backgroundColour.blue * scale, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glFlush();
}

void SetUpProjection(int32_t width, int32_t height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, static_cast<double>(width), 0.0, static_cast<double>(height), -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glShadeModel(GL_SMOOTH);
}

}  // namespace

bool StartPicture(int32_t width, int32_t height) {
    // One reading of the clock chooses both the community and its seed.
    const int64_t now = ClockSeconds();
    return StartPicture(width, height, CommunityRowFromTime(now), SeedFromTime(now));
}

bool StartPicture(int32_t width, int32_t height, int32_t row, uint32_t seed) {
    SetUpProjection(width, height);
    clearPending = true;
    return InitCommunity(row, seed);
}

void FrameTick() {
    if (clearPending) {
        ClearToBackground();
        clearPending = false;
    }
    biotope.Step();
    biotope.Draw();
    biotope.Step();
    biotope.Draw();
    glFlush();
}

void StopPicture() {
    biotope.Release();
}

}  // namespace tintwalk
