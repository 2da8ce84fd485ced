// Quaternion arithmetic for the arcball.
#include "sim/Quaternion.h"

Quaternion::Quaternion() : x(0), y(0), z(0), w(1) {}
Quaternion::Quaternion(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}

// Every value below is stored as float; its products and sums are formed in double.
Quaternion Quaternion::multiply(const Quaternion& b) const {
    const double ax = x, ay = y, az = z, aw = w;
    return Quaternion(static_cast<float>(aw * b.x + ax * b.w + ay * b.z - az * b.y),
                      static_cast<float>(aw * b.y + ay * b.w + az * b.x - ax * b.z),
                      static_cast<float>(aw * b.z + az * b.w + ax * b.y - ay * b.x),
                      static_cast<float>(aw * b.w - ax * b.x - ay * b.y - az * b.z));
}

Quaternion Quaternion::conjugate() const { return Quaternion(-x, -y, -z, w); }

static double squaredLength(double x, double y, double z, double w) { return x * x + y * y + z * z + w * w; }

void Quaternion::normalize() {
    const double squared = squaredLength(x, y, z, w);
    if (!(squared > 0.0)) return;  // a zero quaternion stays zero rather than becoming NaN
    const float k = static_cast<float>(1.0 / squared);
    x = static_cast<float>(static_cast<double>(x) * k);
    y = static_cast<float>(static_cast<double>(y) * k);
    z = static_cast<float>(static_cast<double>(z) * k);
    w = static_cast<float>(static_cast<double>(w) * k);
}

void Quaternion::toMatrix(float m[16]) const {
    const float n = static_cast<float>(squaredLength(x, y, z, w));
    const float s = n > 0.0f ? static_cast<float>(2.0 / n) : 0.0f;
    const auto times = [](double a, double b) { return static_cast<float>(a * b); };
    const float xs = times(x, s), ys = times(y, s), zs = times(z, s);
    const float wx = times(w, xs), wy = times(w, ys), wz = times(w, zs);
    const float xx = times(x, xs), xy = times(x, ys), xz = times(x, zs);
    const float yy = times(y, ys), yz = times(y, zs), zz = times(z, zs);
    const auto minus = [](double a, double b) { return static_cast<float>(a - b); };
    const auto plus = [](double a, double b) { return static_cast<float>(a + b); };
    const auto oneMinus = [](double a, double b) { return static_cast<float>(1.0 - (a + b)); };
    m[0] = oneMinus(yy, zz); m[1] = minus(xy, wz);     m[2] = plus(xz, wy);      m[3] = 0.0f;
    m[4] = plus(xy, wz);     m[5] = oneMinus(xx, zz); m[6] = minus(yz, wx);     m[7] = 0.0f;
    m[8] = minus(xz, wy);    m[9] = plus(yz, wx);     m[10] = oneMinus(xx, yy); m[11] = 0.0f;
    m[12] = 0.0f;            m[13] = 0.0f;            m[14] = 0.0f;             m[15] = 1.0f;
}
