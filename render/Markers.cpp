// Control-point markers (a cube per point of both rings, a drop line from every track point to
// the ground) and the light marker, sections of the scene routine.
#include "render/Markers.h"

#include <FL/gl.h>

#include "render/Palette.h"
#include "track/TrackView.h"

void drawCube(double x, double y, double z, double size) {
    const double h = size / 2.0;
    glPushMatrix();
    glTranslated(x, y, z);
    glBegin(GL_QUADS);
    glNormal3d(0.0, 0.0, 1.0);
    glVertex3d(h, h, h);
    glVertex3d(-h, h, h);
    glVertex3d(-h, -h, h);
    glVertex3d(h, -h, h);
    glNormal3d(0.0, 0.0, -1.0);
    glVertex3d(h, h, -h);
    glVertex3d(-h, h, -h);
    glVertex3d(-h, -h, -h);
    glVertex3d(h, -h, -h);
    glNormal3d(0.0, 1.0, 0.0);
    glVertex3d(h, h, h);
    glVertex3d(-h, h, h);
    glVertex3d(-h, h, -h);
    glVertex3d(h, h, -h);
    glNormal3d(0.0, -1.0, 0.0);
    glVertex3d(h, -h, h);
    glVertex3d(-h, -h, h);
    glVertex3d(-h, -h, -h);
    glVertex3d(h, -h, -h);
    glNormal3d(1.0, 0.0, 0.0);
    glVertex3d(h, h, h);
    glVertex3d(h, -h, h);
    glVertex3d(h, -h, -h);
    glVertex3d(h, h, -h);
    glNormal3d(-1.0, 0.0, 0.0);
    glVertex3d(-h, h, h);
    glVertex3d(-h, -h, h);
    glVertex3d(-h, -h, -h);
    glVertex3d(-h, h, -h);
    glEnd();
    glPopMatrix();
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
