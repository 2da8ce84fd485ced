// A TrackView shown on the test display that keeps the picture of every frame it draws (read
// from the back buffer before the swap), and an independent perspective projection to find where
// a world point lands in that picture. Header only; display tests include it.
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

struct Rgb {
    int r, g, b;
};
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
inline bool near(const Rgb& a, const Rgb& b, int tolerance = kChannelTolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
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

    // Colour of the pixel at column x and row y counted from the top of the last frame.
    Rgb pixel(int x, int y) const {
        const size_t at = (static_cast<size_t>(h() - 1 - y) * w() + x) * 3;
        return {frame[at], frame[at + 1], frame[at + 2]};
    }
    // How many pixels of the last frame match the colour (within the tolerance).
    int count(const Rgb& colour, int tolerance = kChannelTolerance) const {
        int n = 0;
        for (int y = 0; y < h(); ++y)
            for (int x = 0; x < w(); ++x) n += near(pixel(x, y), colour, tolerance);
        return n;
    }

    std::vector<unsigned char> frame;  // RGB rows, bottom row first, as GL reads them
    int framesDrawn = 0;
};

// Pumps the toolkit until the view has drawn more than `frames` frames (at most a few seconds).
inline bool waitForFrames(CapturedView& view, int frames) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (view.framesDrawn <= frames && std::chrono::steady_clock::now() < deadline) Fl::wait(0.02);
    return view.framesDrawn > frames;
}

// Shows the view as a top-level window and waits for its first frame.
inline void showView(CapturedView& view) {
    view.show();
    ASSERT_TRUE(waitForFrames(view, 0)) << "the view never drew";
}

// Has the toolkit redraw the view once, as the animation tick does.
inline void drawFrame(CapturedView& view) {
    const int before = view.framesDrawn;
    view.redraw();
    Fl::flush();
    ASSERT_TRUE(waitForFrames(view, before)) << "the view did not redraw";
}

// A camera as gluLookAt and gluPerspective describe it, computed here in double without GL.
struct LookAt {
    double eye[3], centre[3], up[3];
    double fieldOfView = 45.0;
};

// The camera of the look-down view of a point p with the given offset.
inline LookAt focusCamera(const float p[3], double offset) {
    return {{p[0], p[1] + offset, p[2] + offset}, {p[0], p[1], p[2]}, {0, 1, 0}};
}

// Where a world point lands in a w x h picture: column and row from the top. False when it is
// behind the eye.
inline bool project(const LookAt& cam, int w, int h, const double p[3], double* column, double* row) {
    double f[3], s[3], u[3], d[3];
    for (int k = 0; k < 3; ++k) {
        f[k] = cam.centre[k] - cam.eye[k];
        d[k] = p[k] - cam.eye[k];
    }
    const double fl = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
    for (double& c : f) c /= fl;
    s[0] = f[1] * cam.up[2] - f[2] * cam.up[1];
    s[1] = f[2] * cam.up[0] - f[0] * cam.up[2];
    s[2] = f[0] * cam.up[1] - f[1] * cam.up[0];
    const double sl = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
    for (double& c : s) c /= sl;
    u[0] = s[1] * f[2] - s[2] * f[1];
    u[1] = s[2] * f[0] - s[0] * f[2];
    u[2] = s[0] * f[1] - s[1] * f[0];
    const double depth = d[0] * f[0] + d[1] * f[1] + d[2] * f[2];
    if (depth <= 0) return false;
    const double focal = 1.0 / std::tan(cam.fieldOfView * M_PI / 360.0);
    const double aspect = static_cast<double>(w) / h;
    const double ndcX = focal / aspect * (d[0] * s[0] + d[1] * s[1] + d[2] * s[2]) / depth;
    const double ndcY = focal * (d[0] * u[0] + d[1] * u[1] + d[2] * u[2]) / depth;
    *column = (ndcX + 1.0) / 2.0 * w;
    *row = h - (ndcY + 1.0) / 2.0 * h;
    return true;
}

// Where a world point lands in the view's picture, as a whole pixel (column, row from the top);
// false (and a test failure) when it lies outside the picture.
inline bool pixelOf(const CapturedView& view, const LookAt& cam, double x, double y, double z, int* column,
                    int* row) {
    const double p[3] = {x, y, z};
    double c = -1, r = -1;
    const bool inFront = project(cam, view.w(), view.h(), p, &c, &r);
    const bool inside = inFront && c >= 0 && r >= 0 && c < view.w() && r < view.h();
    EXPECT_TRUE(inside) << "(" << x << ", " << y << ", " << z << ") is outside the picture";
    *column = static_cast<int>(c);
    *row = static_cast<int>(r);
    return inside;
}

// Whether a pixel within `radius` pixels of where a world point lands has the colour. Thin
// lines (the shadow of a line lies half under the ground beside its centre) need this slack.
inline bool colourNear(const CapturedView& view, const LookAt& cam, double x, double y, double z, const Rgb& colour,
                       int radius = 1) {
    int column, row;
    if (!pixelOf(view, cam, x, y, z, &column, &row)) return false;
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const int cx = column + dx, cy = row + dy;
            if (cx >= 0 && cy >= 0 && cx < view.w() && cy < view.h() && near(view.pixel(cx, cy), colour)) return true;
        }
    return false;
}

// The pixel of the last frame where a world point lands (the point must be in the picture).
inline Rgb pixelAt(const CapturedView& view, const LookAt& cam, double x, double y, double z) {
    int column, row;
    if (!pixelOf(view, cam, x, y, z, &column, &row)) return {-1, -1, -1};
    return view.pixel(column, row);
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
