// Parts of the frame read back from a real GL context: a view of width 0 still composes its
// frame, and the marker cubes equal cubes drawn by moving the matrix to each centre.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include "render/Markers.h"
#include "tests/support/SceneCapture.h"
#include "tests/support/TrackFixtures.h"

namespace {

TEST(Frame, AViewOfWidthZeroStillSetsItsViewport) {
    CapturedView view(64, 48);
    buildRing(view, circle(6, 5.0f, 1.0f));
    drawFrame(view);
    view.make_current();
    view.Fl_Widget::resize(0, 0, 0, 48);  // the record's size only; the window stays
    view.TrackView::draw();
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 0);
    EXPECT_EQ(viewport[3], 48);
}

// 300 cubes of marker size seen from an angle, drawn by drawCube or as glPushMatrix, glTranslated,
// the six faces about the origin, glPopMatrix.
class Cubes : public CapturedView {
public:
    Cubes(bool pushTranslatePop) : CapturedView(400, 300), literal_(pushTranslatePop) {}
    void draw() override {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45.0, 4.0 / 3.0, 1.0, 100.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(3.1, 7.3, 9.7, 0.2, 0.0, -0.3, 0.0, 1.0, 0.0);
        for (int i = 0; i < 300; ++i) {
            const double x = (i % 20) * 0.37 - 3.7, y = (i / 20) * 0.29 - 2.1, z = (i % 7) * 0.13;
            glColor3f(0.2f + (i % 5) * 0.15f, (i % 3) * 0.3f, 0.5f);
            if (!literal_) {
                drawCube(x, y, z, kPointMarkerSize);
                continue;
            }
            const double h = kPointMarkerSize / 2.0;
            glPushMatrix();
            glTranslated(x, y, z);
            glBegin(GL_QUADS);
            glNormal3d(0, 0, 1), glVertex3d(h, h, h), glVertex3d(-h, h, h), glVertex3d(-h, -h, h), glVertex3d(h, -h, h);
            glNormal3d(0, 0, -1), glVertex3d(h, h, -h), glVertex3d(-h, h, -h), glVertex3d(-h, -h, -h), glVertex3d(h, -h, -h);
            glNormal3d(0, 1, 0), glVertex3d(h, h, h), glVertex3d(-h, h, h), glVertex3d(-h, h, -h), glVertex3d(h, h, -h);
            glNormal3d(0, -1, 0), glVertex3d(h, -h, h), glVertex3d(-h, -h, h), glVertex3d(-h, -h, -h), glVertex3d(h, -h, -h);
            glNormal3d(1, 0, 0), glVertex3d(h, h, h), glVertex3d(h, -h, h), glVertex3d(h, -h, -h), glVertex3d(h, h, -h);
            glNormal3d(-1, 0, 0), glVertex3d(-h, h, h), glVertex3d(-h, -h, h), glVertex3d(-h, -h, -h), glVertex3d(-h, h, -h);
            glEnd();
            glPopMatrix();
        }
        capture();
    }

private:
    bool literal_;
};

TEST(Markers, EveryCubePixelEqualsPushTranslateDrawPop) {
    Cubes drawn(false), literal(true);
    drawFrame(drawn);
    drawFrame(literal);
    EXPECT_EQ(drawn.frame, literal.frame);
}

}  // namespace
