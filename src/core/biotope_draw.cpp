// The only code of the simulation that talks to OpenGL: each bot sends the
// points it painted in the last pass as one batch of GL_POINTS.
#ifdef _WIN32
#include <windows.h>
#endif
#include <GL/gl.h>

#include "core/biotope.h"

namespace tintwalk {

void Bot::Draw() const {
    glBegin(GL_POINTS);
    for (uint32_t i = 0; i < trailLength; ++i) {
        glColor3ubv(&trailColours[i].red);
        glVertex2iv(&trailPoints[i].x);
    }
    glEnd();
}

void Biotope::Draw() const {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_POINT_SMOOTH);
    glPointSize(1.0f);
    for (uint32_t i = 0; i < botCount; ++i)
        bots[i].Draw();
}

}  // namespace tintwalk
