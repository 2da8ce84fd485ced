// The train: a small locomotive (body, cabin, plough, lamp post) around the train's position in
// the rails' frame, with a red roof lamp that pulses while the train is drawn.
#include <FL/gl.h>

#include <cmath>

#include "render/Palette.h"
#include "track/TrackGeometry.h"
#include "track/TrackView.h"

namespace {

constexpr double kBeaconStep = 0.01;  // lamp change per call that draws the train, added in double
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

// Offsets are doubles, as the vertices that GL receives.
struct Quad {
    double normal[3];      // (f, s, u)
    double corner[4][3];   // (f, s, u), in drawing order
};

// Body (f -0.5..0.5, s -0.25..0.25, u 0.1..0.6, floating 0.1 above the rails' centre line) and
// the cabin on its rear part (f -0.5..-0.2, u 0.6..0.8, no floor).
constexpr Quad kBodyAndCabin[] = {
    {{0, 0, -1}, {{-0.5, -0.25, 0.1}, {-0.5, 0.25, 0.1}, {0.5, 0.25, 0.1}, {0.5, -0.25, 0.1}}},
    {{0, 0, 1}, {{-0.5, -0.25, 0.6}, {-0.5, 0.25, 0.6}, {0.5, 0.25, 0.6}, {0.5, -0.25, 0.6}}},
    {{-1, 0, 0}, {{-0.5, 0.25, 0.1}, {-0.5, 0.25, 0.6}, {-0.5, -0.25, 0.6}, {-0.5, -0.25, 0.1}}},
    {{0, -1, 0}, {{0.5, -0.25, 0.1}, {-0.5, -0.25, 0.1}, {-0.5, -0.25, 0.6}, {0.5, -0.25, 0.6}}},
    {{0, 1, 0}, {{-0.5, 0.25, 0.1}, {0.5, 0.25, 0.1}, {0.5, 0.25, 0.6}, {-0.5, 0.25, 0.6}}},
    {{1, 0, 0}, {{0.5, 0.25, 0.1}, {0.5, -0.25, 0.1}, {0.5, -0.25, 0.6}, {0.5, 0.25, 0.6}}},
    {{0, 1, 0}, {{-0.5, 0.25, 0.6}, {-0.5, 0.25, 0.8}, {-0.2, 0.25, 0.8}, {-0.2, 0.25, 0.6}}},
    {{0, -1, 0}, {{-0.5, -0.25, 0.6}, {-0.5, -0.25, 0.8}, {-0.2, -0.25, 0.8}, {-0.2, -0.25, 0.6}}},
    {{0, 0, 1}, {{-0.5, 0.25, 0.8}, {-0.5, -0.25, 0.8}, {-0.2, -0.25, 0.8}, {-0.2, 0.25, 0.8}}},
    {{-1, 0, 0}, {{-0.5, 0.25, 0.6}, {-0.5, -0.25, 0.6}, {-0.5, -0.25, 0.8}, {-0.5, 0.25, 0.8}}},
    {{1, 0, 0}, {{-0.2, 0.25, 0.6}, {-0.2, -0.25, 0.6}, {-0.2, -0.25, 0.8}, {-0.2, 0.25, 0.8}}},
};

// The lamp: a 0.2 x 0.2 square 0.15 above the roof, over the body's front half.
constexpr Quad kLamp = {{0, 0, 1}, {{0.1, -0.1, 0.75}, {0.1, 0.1, 0.75}, {0.3, 0.1, 0.75}, {0.3, -0.1, 0.75}}};

struct Triangle {
    double normal[3];
    double corner[3][3];
};

constexpr double kPostApex[3] = {0.2, 0.0, 0.4};
constexpr double kPloughTop[3] = {0.5, 0.0, 0.45};     // V2, on the body's front face
constexpr double kPloughTip[3] = {0.8, 0.0, 0.1};      // V3
constexpr double kPloughCorner[3] = {0.5, 0.25, 0.1};  // V1; V1' is its mirror image

// The plough's right face carries its plane normal, the cross product of its edges V2 - V1 and
// V3 - V1 taken component-wise in (f, s, u) and normalised, about 0.5612 F + 0.6735 S + 0.4811 U:
// forward, up and away from the centre plane. The left face carries the mirror image.
struct Normal { double f, s, u; };
Normal ploughNormal() {
    const double a[3] = {kPloughTop[0] - kPloughCorner[0], kPloughTop[1] - kPloughCorner[1], kPloughTop[2] - kPloughCorner[2]};
    const double b[3] = {kPloughTip[0] - kPloughCorner[0], kPloughTip[1] - kPloughCorner[1], kPloughTip[2] - kPloughCorner[2]};
    const double n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    const double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    return {n[0] / len, n[1] / len, n[2] / len};
}
const Normal kPlough = ploughNormal();

// An upside-down pyramid under the lamp (with the axis normals, not its slanted ones), then the
// plough's two faces in front of the body.
const Triangle kPostAndPlough[] = {
    {{-1, 0, 0}, {{kPostApex[0], kPostApex[1], kPostApex[2]}, {0.1, 0.1, 0.75}, {0.1, -0.1, 0.75}}},
    {{0, 1, 0}, {{kPostApex[0], kPostApex[1], kPostApex[2]}, {0.3, 0.1, 0.75}, {0.1, 0.1, 0.75}}},
    {{1, 0, 0}, {{kPostApex[0], kPostApex[1], kPostApex[2]}, {0.3, -0.1, 0.75}, {0.3, 0.1, 0.75}}},
    {{0, -1, 0}, {{kPostApex[0], kPostApex[1], kPostApex[2]}, {0.1, -0.1, 0.75}, {0.3, -0.1, 0.75}}},
    {{kPlough.f, kPlough.s, kPlough.u},
     {{kPloughCorner[0], kPloughCorner[1], kPloughCorner[2]}, {kPloughTop[0], kPloughTop[1], kPloughTop[2]},
      {kPloughTip[0], kPloughTip[1], kPloughTip[2]}}},
    {{kPlough.f, -kPlough.s, kPlough.u},
     {{kPloughTop[0], kPloughTop[1], kPloughTop[2]}, {kPloughCorner[0], -kPloughCorner[1], kPloughCorner[2]},
      {kPloughTip[0], kPloughTip[1], kPloughTip[2]}}},
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
    pulseBeacon();
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

void TrackView::pulseBeacon() {
    if (beaconFalling == 0) {
        beaconLevel = static_cast<float>(beaconLevel + kBeaconStep);
        if (beaconLevel >= kBeaconPeak) beaconFalling = 1;
    } else {
        beaconLevel = static_cast<float>(beaconLevel - kBeaconStep);
        if (beaconLevel <= 0.0f) beaconFalling = 0;
    }
}
