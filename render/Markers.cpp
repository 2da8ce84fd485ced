// Control-point markers (a cube per point of both rings, a drop line from every track point to
// the ground) and the light marker, sections of the scene routine.
#include "render/Markers.h"

#include <FL/gl.h>

#include "render/Palette.h"
#include "track/TrackView.h"

// The cube's faces: the outward normal, then the corners as signs of the half edge.
constexpr int kCubeFaces[6][5][3] = {
    {{0, 0, 1}, {1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}},
    {{0, 0, -1}, {1, 1, -1}, {-1, 1, -1}, {-1, -1, -1}, {1, -1, -1}},
    {{0, 1, 0}, {1, 1, 1}, {-1, 1, 1}, {-1, 1, -1}, {1, 1, -1}},
    {{0, -1, 0}, {1, -1, 1}, {-1, -1, 1}, {-1, -1, -1}, {1, -1, -1}},
    {{1, 0, 0}, {1, 1, 1}, {1, -1, 1}, {1, -1, -1}, {1, 1, -1}},
    {{-1, 0, 0}, {-1, 1, 1}, {-1, -1, 1}, {-1, -1, -1}, {-1, 1, -1}},
};

void drawCube(double x, double y, double z, double size) {
    const double h = size / 2.0;
    // The corners are placed around the centre here rather than by a translation of the
    // modelview matrix: a matrix change between two cubes would stop GL from drawing the markers
    // as one batch, and the pixels come out the same.
    glBegin(GL_QUADS);
    for (const auto& f : kCubeFaces) {
        glNormal3d(f[0][0], f[0][1], f[0][2]);
        for (int k = 1; k < 5; ++k) glVertex3d(x + f[k][0] * h, y + f[k][1] * h, z + f[k][2] * h);
    }
    glEnd();
}

// Sets a point's own colour (components 0..255).
static void setPointColour(const ControlPoint* point) {
    int r, g, b;
    point->getColor(&r, &g, &b);
    glColor3f(static_cast<float>(r / 255.0), static_cast<float>(g / 255.0), static_cast<float>(b / 255.0));
}

void TrackView::drawControlPointMarkers(int doingShadows) {
    for (int i = 0; i < numPoints; ++i) {
        float x, y, z;
        points[i]->getPosition(&x, &y, &z);
        if (!doingShadows) {
            setPointColour(points[i]);
            if (i == selectedPoint) {
                // The selection shows flat: unlit yellow whatever the light.
                glDisable(GL_LIGHTING);
                glColor3fv(kHighlightYellow);
            }
        }
        drawCube(x, y, z, kPointMarkerSize);

        float x2, y2, z2;
        points2[i]->getPosition(&x2, &y2, &z2);
        if (!doingShadows) {
            setPointColour(points2[i]);
            if (i == selectedPoint2) {
                glDisable(GL_LIGHTING);
                glColor3fv(kHighlightYellow);
            }
        }
        drawCube(x2, y2, z2, kPointMarkerSize);
        if (lightingOn == 1) glEnable(GL_LIGHTING);

        // The drop line from the track point to the ground keeps the guide point's colour.
        glLineWidth(2.5f);
        glBegin(GL_LINES);
        glNormal3d(0.0, 0.0, 0.0);
        glVertex3d(x, y, z);
        glVertex3d(x, 0.0, z);
        glEnd();
    }
}

void TrackView::drawLightMarker() {
    glDisable(GL_LIGHTING);
    glColor3fv(kLightMarkerWhite);
    drawCube(lightPos[0], lightPos[1], lightPos[2], kLightMarkerSize);
    if (lightingOn == 1) glEnable(GL_LIGHTING);
}
