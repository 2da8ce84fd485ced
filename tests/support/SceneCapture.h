// A TrackView shown on the test display that keeps the picture of every frame it draws (read
// from the back buffer before the swap), and an independent perspective projection, in double
// vectors of its own, to find where a world point lands in that picture. Header only; display
// tests include it.
#pragma once

#include <FL/Fl.H>
#include <FL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ostream>
#include <vector>

#include "track/TrackView.h"

// Vectors in double, for the independent calculations of the tests.
using Vec = std::array<double, 3>;
inline Vec operator+(const Vec& a, const Vec& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
inline Vec operator*(double s, const Vec& v) { return {s * v[0], s * v[1], s * v[2]}; }
inline Vec operator-(const Vec& a, const Vec& b) { return a + -1.0 * b; }
inline double dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
inline Vec cross(const Vec& a, const Vec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
inline Vec unit(const Vec& v) { return 1.0 / std::sqrt(dot(v, v)) * v; }
inline Vec toVec(const std::array<float, 3>& p) { return {p[0], p[1], p[2]}; }

struct Rgb { int r, g, b; };
inline bool operator==(const Rgb& a, const Rgb& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
inline bool operator!=(const Rgb& a, const Rgb& b) { return !(a == b); }
inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}
// An 8-bit colour from GL colour components 0..1, rounded as the renderer stores them.
inline Rgb rgb(double r, double g, double b) {
    return {static_cast<int>(std::lround(r * 255)), static_cast<int>(std::lround(g * 255)),
            static_cast<int>(std::lround(b * 255))};
}
// Largest difference per channel between a colour GL stored and its exact value (rounding).
constexpr int kChannelTolerance = 1;
inline bool near(const Rgb& a, const Rgb& b) {
    const int t = kChannelTolerance;
    return std::abs(a.r - b.r) <= t && std::abs(a.g - b.g) <= t && std::abs(a.b - b.b) <= t;
}

class CapturedView : public TrackView {
public:
    CapturedView(int w, int h) : TrackView(0, 0, w, h) {}

    void draw() override {
        TrackView::draw();
        glFinish();
        frame.assign(static_cast<size_t>(w()) * h() * 3, 0);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, w(), h(), GL_RGB, GL_UNSIGNED_BYTE, frame.data());
        ++framesDrawn;
    }

    // Colour of the pixel at column x and row y counted from the top of the last frame;
    // {-1, -1, -1} outside it.
    Rgb pixel(int x, int y) const {
        if (x < 0 || y < 0 || x >= w() || y >= h()) return {-1, -1, -1};
        const size_t at = (static_cast<size_t>(h() - 1 - y) * w() + x) * 3;
        return {frame[at], frame[at + 1], frame[at + 2]};
    }
    // How many pixels of the last frame have the colour (within kChannelTolerance).
    int count(const Rgb& colour) const {
        int n = 0;
        for (int y = 0; y < h(); ++y)
            for (int x = 0; x < w(); ++x) n += near(pixel(x, y), colour);
        return n;
    }

    std::vector<unsigned char> frame;  // RGB rows, bottom row first, as GL reads them
    int framesDrawn = 0;
};

// Has the toolkit draw the view once more, as the animation tick does (the first time: shows
// it as a top-level window), and waits up to ten seconds for the frame.
inline void drawFrame(CapturedView& view) {
    const int before = view.framesDrawn;
    if (view.shown()) view.redraw(); else view.show();
    Fl::flush();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (view.framesDrawn == before && std::chrono::steady_clock::now() < deadline) Fl::wait(0.02);
    ASSERT_GT(view.framesDrawn, before) << "the view did not draw";
}
inline void showView(CapturedView& view) { drawFrame(view); }

// A camera as gluLookAt and gluPerspective (field of view 45 degrees) describe it, without GL.
struct LookAt { Vec eye, centre, up; };

// A world point in the camera's own coordinates (x right, y up, z towards the eye), as the
// matrix of gluLookAt gives them.
inline Vec inCamera(const LookAt& cam, const Vec& p) {
    const Vec f = unit(cam.centre - cam.eye), s = unit(cross(f, cam.up)), d = p - cam.eye;
    return {dot(d, s), dot(d, cross(s, f)), -dot(d, f)};
}

// Where a world point lands in a w x h picture: column and row from the top; {-1, -1} when it
// is behind the eye.
inline std::array<double, 2> project(const LookAt& cam, int w, int h, const Vec& p) {
    const Vec v = inCamera(cam, p);
    const double focal = 1.0 / std::tan(45.0 * M_PI / 360.0);
    if (v[2] >= 0) return {-1, -1};
    return {(focal * h / w * v[0] / -v[2] + 1.0) / 2.0 * w, (1.0 - focal * v[1] / -v[2]) / 2.0 * h};
}

// The pixel of the last frame where a world point lands, or the one dx, dy beside it; a test
// failure when the point lies outside the picture.
inline Rgb pixelAt(const CapturedView& view, const LookAt& cam, const Vec& p, int dx = 0, int dy = 0) {
    const auto at = project(cam, view.w(), view.h(), p);
    const int x = static_cast<int>(std::floor(at[0])), y = static_cast<int>(std::floor(at[1]));
    EXPECT_NE(view.pixel(x, y).r, -1) << "(" << p[0] << ", " << p[1] << ", " << p[2] << ") is outside the picture";
    return view.pixel(x + dx, y + dy);
}

// Whether a pixel within `radius` pixels of where a world point lands has the colour. Thin
// lines (the shadow of a line lies half under the ground beside its centre) need this slack.
inline bool colourNear(const CapturedView& view, const LookAt& cam, const Vec& p, const Rgb& colour, int radius = 1) {
    bool found = false;
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) found = found || near(pixelAt(view, cam, p, dx, dy), colour);
    return found;
}

// Turns the free view so that it looks down at the origin from `degrees` above the ground,
// `distance` away (a drag from the centre straight down), and returns that camera.
inline LookAt tiltFreeView(TrackView& view, double degrees, double distance) {
    const double a = degrees * M_PI / 180.0;
    view.camDistance = distance;
    view.arcBall.beginDrag(0.0f, 0.0f);
    view.arcBall.dragTo(0.0f, static_cast<float>(-std::sin(a / 2)));
    return {{0, distance * std::sin(a), distance * std::cos(a)}, {0, 0, 0}, {0, std::cos(a), -std::sin(a)}};
}
