// The train: a small locomotive (body, cabin, plough, lamp post) around the train's position in
// the rails' frame, with a red roof lamp that pulses while the train is drawn.
#include <FL/gl.h>

#include "render/Palette.h"
#include "track/TrackGeometry.h"
#include "track/TrackView.h"

namespace {

constexpr float kBeaconStep = 0.01f;  // lamp change per call that draws the train
constexpr float kBeaconPeak = 0.5f;   // the pulse turns down once the lamp reaches this

// The train's local frame: a point (f, s, u) is pos + f F + s S + u U.
struct TrainFrame {
    float pos[3], F[3], S[3], U[3];

    void vertex(double f, double s, double u) const {
        glVertex3d(pos[0] + f * F[0] + s * S[0] + u * U[0], pos[1] + f * F[1] + s * S[1] + u * U[1],
                   pos[2] + f * F[2] + s * S[2] + u * U[2]);
    }
    void normal(double f, double s, double u) const {
        glNormal3d(f * F[0] + s * S[0] + u * U[0], f * F[1] + s * S[1] + u * U[1], f * F[2] + s * S[2] + u * U[2]);
    }
};

struct Quad {
    float normal[3];      // (f, s, u)
    float corner[4][3];   // (f, s, u), in drawing order
};

// Body (f -0.5..0.5, s -0.25..0.25, u 0.1..0.6, floating 0.1 above the rails' centre line) and
// the cabin on its rear part (f -0.5..-0.2, u 0.6..0.8, no floor).
constexpr Quad kBodyAndCabin[] = {
    {{0, 0, -1}, {{-0.5f, -0.25f, 0.1f}, {-0.5f, 0.25f, 0.1f}, {0.5f, 0.25f, 0.1f}, {0.5f, -0.25f, 0.1f}}},
    {{0, 0, 1}, {{-0.5f, -0.25f, 0.6f}, {-0.5f, 0.25f, 0.6f}, {0.5f, 0.25f, 0.6f}, {0.5f, -0.25f, 0.6f}}},
    {{-1, 0, 0}, {{-0.5f, 0.25f, 0.1f}, {-0.5f, 0.25f, 0.6f}, {-0.5f, -0.25f, 0.6f}, {-0.5f, -0.25f, 0.1f}}},
    {{0, -1, 0}, {{0.5f, -0.25f, 0.1f}, {-0.5f, -0.25f, 0.1f}, {-0.5f, -0.25f, 0.6f}, {0.5f, -0.25f, 0.6f}}},
    {{0, 1, 0}, {{-0.5f, 0.25f, 0.1f}, {0.5f, 0.25f, 0.1f}, {0.5f, 0.25f, 0.6f}, {-0.5f, 0.25f, 0.6f}}},
    {{1, 0, 0}, {{0.5f, 0.25f, 0.1f}, {0.5f, -0.25f, 0.1f}, {0.5f, -0.25f, 0.6f}, {0.5f, 0.25f, 0.6f}}},
    {{0, 1, 0}, {{-0.5f, 0.25f, 0.6f}, {-0.5f, 0.25f, 0.8f}, {-0.2f, 0.25f, 0.8f}, {-0.2f, 0.25f, 0.6f}}},
    {{0, -1, 0}, {{-0.5f, -0.25f, 0.6f}, {-0.5f, -0.25f, 0.8f}, {-0.2f, -0.25f, 0.8f}, {-0.2f, -0.25f, 0.6f}}},
    {{0, 0, 1}, {{-0.5f, 0.25f, 0.8f}, {-0.5f, -0.25f, 0.8f}, {-0.2f, -0.25f, 0.8f}, {-0.2f, 0.25f, 0.8f}}},
    {{-1, 0, 0}, {{-0.5f, 0.25f, 0.6f}, {-0.5f, -0.25f, 0.6f}, {-0.5f, -0.25f, 0.8f}, {-0.5f, 0.25f, 0.8f}}},
    {{1, 0, 0}, {{-0.2f, 0.25f, 0.6f}, {-0.2f, -0.25f, 0.6f}, {-0.2f, -0.25f, 0.8f}, {-0.2f, 0.25f, 0.8f}}},
};

// The lamp: a 0.2 x 0.2 square 0.15 above the roof, over the body's front half.
constexpr Quad kLamp = {{0, 0, 1}, {{0.1f, -0.1f, 0.75f}, {0.1f, 0.1f, 0.75f}, {0.3f, 0.1f, 0.75f}, {0.3f, -0.1f, 0.75f}}};

struct Triangle {
    float normal[3];
    float corner[3][3];
};

constexpr float kPostApex[3] = {0.2f, 0.0f, 0.4f};
// The plough's faces, normals facing forward, up and away from the centre plane: the triangles'
// plane normals, 0.0875 F +- 0.105 S + 0.075 U normalised.
constexpr float kPloughNormalLength = 0.15590462f;  // sqrt(0.0875^2 + 0.105^2 + 0.075^2)
constexpr float kPloughF = 0.0875f / kPloughNormalLength;
constexpr float kPloughS = 0.105f / kPloughNormalLength;
constexpr float kPloughU = 0.075f / kPloughNormalLength;

// An upside-down pyramid under the lamp (with the axis normals, not its slanted ones), then the
// plough's two faces in front of the body.
constexpr Triangle kPostAndPlough[] = {
    {{-1, 0, 0}, {{kPostApex[0], kPostApex[1], kPostApex[2]}, {0.1f, 0.1f, 0.75f}, {0.1f, -0.1f, 0.75f}}},
    {{0, 1, 0}, {{kPostApex[0], kPostApex[1], kPostApex[2]}, {0.3f, 0.1f, 0.75f}, {0.1f, 0.1f, 0.75f}}},
    {{1, 0, 0}, {{kPostApex[0], kPostApex[1], kPostApex[2]}, {0.3f, -0.1f, 0.75f}, {0.3f, 0.1f, 0.75f}}},
    {{0, -1, 0}, {{kPostApex[0], kPostApex[1], kPostApex[2]}, {0.1f, -0.1f, 0.75f}, {0.3f, -0.1f, 0.75f}}},
    {{kPloughF, kPloughS, kPloughU}, {{0.5f, 0.25f, 0.1f}, {0.5f, 0.0f, 0.45f}, {0.8f, 0.0f, 0.1f}}},
    {{kPloughF, -kPloughS, kPloughU}, {{0.5f, 0.0f, 0.45f}, {0.5f, -0.25f, 0.1f}, {0.8f, 0.0f, 0.1f}}},
};

void drawQuads(const TrainFrame& frame, const Quad* quads, int count) {
    glBegin(GL_QUADS);
    for (int q = 0; q < count; ++q) {
        frame.normal(quads[q].normal[0], quads[q].normal[1], quads[q].normal[2]);
        for (const auto& c : quads[q].corner) frame.vertex(c[0], c[1], c[2]);
    }
    glEnd();
}

}  // namespace

void TrackView::drawTrain(int doingShadows) {
    TrainFrame frame;
    for (int k = 0; k < 3; ++k) frame.pos[k] = trainPos[k];
    // Where the up hint or the tangent leaves the frame undefined (points stacked on one spot, a
    // guide ring on the track), makeFrame's level fallback keeps the train upright and finite.
    makeFrame(trainTangent, trainUp, frame.F, frame.S, frame.U);

    if (!doingShadows) glColor3fv(kTrainGrey);
    drawQuads(frame, kBodyAndCabin, static_cast<int>(sizeof kBodyAndCabin / sizeof kBodyAndCabin[0]));

    // The lamp shines by itself, unlit. Its pulse advances in both passes, so twice per frame.
    glDisable(GL_LIGHTING);
    if (beaconFalling == 0) {
        beaconLevel += kBeaconStep;
        if (beaconLevel >= kBeaconPeak) beaconFalling = 1;
    } else {
        beaconLevel -= kBeaconStep;
        if (beaconLevel <= 0.0f) beaconFalling = 0;
    }
    if (!doingShadows) glColor3f(beaconLevel, 0.0f, 0.0f);
    drawQuads(frame, &kLamp, 1);
    if (lightingOn == 1) glEnable(GL_LIGHTING);

    if (!doingShadows) glColor3fv(kTrainGrey);
    glBegin(GL_TRIANGLES);
    for (const Triangle& t : kPostAndPlough) {
        frame.normal(t.normal[0], t.normal[1], t.normal[2]);
        for (const auto& c : t.corner) frame.vertex(c[0], c[1], c[2]);
    }
    glEnd();
}
