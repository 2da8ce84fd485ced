// Control-point markers (a cube per point of both rings, a drop line from every track point to
// the ground) and the light marker, sections of the scene routine.
#include "render/Markers.h"

#include <FL/gl.h>

#include "render/Palette.h"
#include "track/TrackView.h"

constexpr float kDropLineWidth = 2.5f;

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
    glPushMatrix();
    glTranslated(x, y, z);
    glBegin(GL_QUADS);
    for (const auto& f : kCubeFaces) {
        glNormal3d(f[0][0], f[0][1], f[0][2]);
        for (int k = 1; k < 5; ++k) glVertex3d(f[k][0] * h, f[k][1] * h, f[k][2] * h);
    }
    glEnd();
    glPopMatrix();
}

// Draws a point's cube and returns its position. The normal pass gives the cube the point's own
// colour (components 0..255), or, for the selected point, flat yellow: lighting goes off for it
// and comes back only after the pair.
static void drawPointMarker(const ControlPoint* point, bool selected, int doingShadows, float p[3]) {
    point->getPosition(&p[0], &p[1], &p[2]);
    if (!doingShadows) {
        int r, g, b;
        point->getColor(&r, &g, &b);
        glColor3f(static_cast<float>(r / 255.0), static_cast<float>(g / 255.0), static_cast<float>(b / 255.0));
        if (selected) {
            glDisable(GL_LIGHTING);
            glColor3fv(kHighlightYellow);
        }
    }
    drawCube(p[0], p[1], p[2], kPointMarkerSize);
}

void TrackView::drawControlPointMarkers(int doingShadows) {
    for (int i = 0; i < numPoints; ++i) {
        float p[3], guide[3];
        drawPointMarker(points[i], i == selectedPoint, doingShadows, p);
        drawPointMarker(points2[i], i == selectedPoint2, doingShadows, guide);
        if (lightingOn == 1) glEnable(GL_LIGHTING);

        // The drop line from the track point to the ground keeps the guide point's colour.
        glLineWidth(kDropLineWidth);
        glBegin(GL_LINES);
        glNormal3d(0.0, 0.0, 0.0);
        glVertex3d(p[0], p[1], p[2]);
        glVertex3d(p[0], 0.0, p[2]);
        glEnd();
    }
}

void TrackView::drawLightMarker() {
    glDisable(GL_LIGHTING);
    glColor3fv(kLightMarkerWhite);
    drawCube(lightPos[0], lightPos[1], lightPos[2], kLightMarkerSize);
    if (lightingOn == 1) glEnable(GL_LIGHTING);
}
