// One frame of the view: light 0, the train's step, clear, projection, camera, the scene
// flattened into a black shadow on the ground, the chequered ground and the lit scene.
#include <FL/gl.h>
#include <GL/glu.h>

#include "render/TrackSectionCache.h"
#include "track/TrackView.h"

namespace {

constexpr float kClearColour[4] = {0.0f, 0.0f, 0.5f, 0.0f};  // dark blue sky
constexpr double kNearPlane = 1.0;
constexpr double kFarPlane = 100.0;

// Projects every point straight down onto y = 0.01, just above the ground (column-major).
constexpr GLdouble kShadowMatrix[16] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0.01, 0, 1};

// The ground: a square of 20 x 20 squares from kGroundMin to kGroundMax along x and z at y = 0.
constexpr int kGroundSquares = 20;
constexpr float kGroundLight[4] = {0.0f, 0.75f, 0.0f, 0.0f};  // squares with i + j odd
constexpr float kGroundDark[4] = {0.0f, 0.5f, 0.0f, 0.0f};    // squares with i + j even

// Light 0 and the lighting switches of a frame.
void setUpLight(const float lightPos[3], int lightingOn) {
    const GLfloat light_ambient[4] = {0.0f, 0.0f, 0.05f, 1.0f};
    const GLfloat light_diffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat light_specular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat light_position[4] = {lightPos[0], lightPos[1], lightPos[2], 1.0f};
    // Set before any matrix of this frame is reset: GL fixes the light with the view transform the
    // previous frame left, so the light stays put in the world and follows a camera change one
    // frame late.
    glLightfv(GL_LIGHT0, GL_AMBIENT, light_ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, light_diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, light_specular);
    glLightfv(GL_LIGHT0, GL_POSITION, light_position);
    if (lightingOn == 1) {
        glEnable(GL_LIGHTING);
        glEnable(GL_COLOR_MATERIAL);  // default mode: ambient and diffuse follow the colour
        glEnable(GL_LIGHT0);
    } else {
        glDisable(GL_LIGHTING);
    }
}

}  // namespace

void TrackView::draw() {
    setUpLight(lightPos, lightingOn);

    if (trainRunning == 1) advanceTrain();  // before drawing: each frame shows the new place

    glClearColor(kClearColour[0], kClearColour[1], kClearColour[2], kClearColour[3]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // The passes below may replay display lists; a new context has none of the old ones.
    if (!context_valid()) forgetTrackSectionLists(*this);
    // A view of height 0 has no aspect ratio (a division by zero): it stays cleared. One of width
    // 0 draws on: its aspect is 0, which gluPerspective ignores.
    if (h() <= 0) return;

    glMatrixMode(GL_PROJECTION);
    glViewport(0, 0, w(), h());
    glLoadIdentity();
    gluPerspective(fieldOfView, static_cast<double>(w()) / h(), kNearPlane, kFarPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    placeCamera();

    // The depth test is enabled only after this pass, so on the very first frame the ground,
    // drawn next, covers the shadow; from the second frame on the shadow shows.
    glDisable(GL_LIGHTING);
    glPushMatrix();
    glMultMatrixd(kShadowMatrix);
    glColor4f(0.0f, 0.0f, 0.0f, 0.0f);
    drawTrack(1);
    glPopMatrix();

    glEnable(GL_DEPTH_TEST);
    if (lightingOn == 1) glEnable(GL_LIGHTING);
    drawGround();
    drawTrack(0);
}

void TrackView::drawGround() {
    glEnable(GL_DEPTH_TEST);
    const float step = (kGroundMax - kGroundMin) / kGroundSquares;
    glBegin(GL_QUADS);
    float x = kGroundMin;
    for (int i = 0; i < kGroundSquares; ++i) {
        float z = kGroundMin;
        for (int j = 0; j < kGroundSquares; ++j) {
            glColor4fv((i + j) % 2 == 1 ? kGroundLight : kGroundDark);
            glNormal3d(0.0, 1.0, 0.0);
            glVertex3d(x, 0.0, z);
            glVertex3d(x, 0.0, z + step);
            glVertex3d(x + step, 0.0, z + step);
            glVertex3d(x + step, 0.0, z);
            z += step;
        }
        x += step;
    }
    glEnd();
}
