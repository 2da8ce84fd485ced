// The arcball: the rotation of every drag, drag after drag, equals a reference calculation to
// the last bit (it turns the world by twice the angle between the drag's points on the sphere).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "sim/ArcBall.h"

namespace {

// The reference arcball: each value stored as a float, products and sums formed in double and
// rounded once when the value is stored.
using D = double;
struct Q { float x, y, z, w; };
Q times(Q a, Q b) {
    return {float(D(a.w) * b.x + D(a.x) * b.w + D(a.y) * b.z - D(a.z) * b.y),
            float(D(a.w) * b.y + D(a.y) * b.w + D(a.z) * b.x - D(a.x) * b.z),
            float(D(a.w) * b.z + D(a.z) * b.w + D(a.x) * b.y - D(a.y) * b.x),
            float(D(a.w) * b.w - D(a.x) * b.x - D(a.y) * b.y - D(a.z) * b.z)};
}
void onSphere(float x, float y, float p[3]) {
    const float r2 = float(D(x) * x + D(y) * y);
    if (r2 <= 1) p[0] = x, p[1] = y, p[2] = float(std::sqrt(1 - D(r2)));
    else p[0] = float(x * (1 / std::sqrt(D(r2)))), p[1] = float(y * (1 / std::sqrt(D(r2)))), p[2] = 0;
}
Q dragOf(float x0, float y0, float x1, float y1) {
    float d[3], m[3];
    onSphere(x0, y0, d), onSphere(x1, y1, m);
    Q q{float(D(d[1]) * m[2] - D(d[2]) * m[1]), float(D(d[2]) * m[0] - D(d[0]) * m[2]),
        float(D(d[0]) * m[1] - D(d[1]) * m[0]), float(D(d[0]) * m[0] + D(d[1]) * m[1] + D(d[2]) * m[2])};
    const float k = float(1 / (D(q.x) * q.x + D(q.y) * q.y + D(q.z) * q.z + D(q.w) * q.w));
    return {float(D(q.x) * k), float(D(q.y) * k), float(D(q.z) * k), float(D(q.w) * k)};
}
void matrixOf(Q q, float m[16]) {
    const float x = -q.x, y = -q.y, z = -q.z, w = q.w;  // the conjugate
    const float n = float(D(x) * x + D(y) * y + D(z) * z + D(w) * w), s = n > 0 ? float(2 / D(n)) : 0;
    const float xs = float(D(x) * s), ys = float(D(y) * s), zs = float(D(z) * s);
    const float wx = float(D(w) * xs), wy = float(D(w) * ys), wz = float(D(w) * zs), xx = float(D(x) * xs);
    const float xy = float(D(x) * ys), xz = float(D(x) * zs), yy = float(D(y) * ys), yz = float(D(y) * zs);
    const float zz = float(D(z) * zs);
    const float rows[16] = {float(1 - (D(yy) + zz)), float(D(xy) - wz), float(D(xz) + wy), 0,
                            float(D(xy) + wz), float(1 - (D(xx) + zz)), float(D(yz) - wx), 0,
                            float(D(xz) - wy), float(D(yz) + wx), float(1 - (D(xx) + yy)), 0, 0, 0, 0, 1};
    std::copy(rows, rows + 16, m);
}

// Random drags, inside the circle and out, pressed again and again: the matrix is the reference
// arcball's to the last bit.
TEST(ArcBall, EveryMatrixIsTheReferenceArcballsToTheLastBit) {
    std::mt19937 random(3);
    std::uniform_real_distribution<float> place(-1.4f, 1.4f);
    ArcBall ball;
    Q base{0, 0, 0, 1}, drag{0, 0, 0, 1};
    for (int press = 0; press < 100; ++press) {
        const float x0 = place(random), y0 = place(random);
        ball.beginDrag(x0, y0);
        base = times(drag, base), drag = {0, 0, 0, 1};
        for (int step = 0; step < 5; ++step) {
            const float x = place(random), y = place(random);
            ball.dragTo(x, y);
            drag = dragOf(x0, y0, x, y);
            float got[16], expected[16];
            ball.getMatrix(got), matrixOf(times(drag, base), expected);
            ASSERT_TRUE(std::equal(got, got + 16, expected)) << "press " << press << ", step " << step;
        }
    }
}

}  // namespace
