// Quaternion arithmetic for the arcball.
#include "sim/Quaternion.h"

Quaternion::Quaternion() : x(0), y(0), z(0), w(1) {}
Quaternion::Quaternion(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}

Quaternion Quaternion::multiply(const Quaternion& b) const {
    const Quaternion& a = *this;
    return Quaternion(a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
                      a.w * b.y + a.y * b.w + a.z * b.x - a.x * b.z,
                      a.w * b.z + a.z * b.w + a.x * b.y - a.y * b.x,
                      a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z);
}

Quaternion Quaternion::conjugate() const { return Quaternion(-x, -y, -z, w); }

void Quaternion::normalize() {
    const float squared = x * x + y * y + z * z + w * w;
    if (squared <= 0.0f) return;  // a zero quaternion stays zero rather than becoming NaN
    const float k = 1.0f / squared;
    x *= k;
    y *= k;
    z *= k;
    w *= k;
}

void Quaternion::toMatrix(float m[16]) const {
    const float n = x * x + y * y + z * z + w * w;
    const float s = n > 0.0f ? 2.0f / n : 0.0f;
    const float xs = x * s, ys = y * s, zs = z * s;
    const float wx = w * xs, wy = w * ys, wz = w * zs;
    const float xx = x * xs, xy = x * ys, xz = x * zs;
    const float yy = y * ys, yz = y * zs, zz = z * zs;
    m[0] = 1.0f - (yy + zz); m[1] = xy - wz;          m[2] = xz + wy;           m[3] = 0.0f;
    m[4] = xy + wz;          m[5] = 1.0f - (xx + zz); m[6] = yz - wx;           m[7] = 0.0f;
    m[8] = xz - wy;          m[9] = yz + wx;          m[10] = 1.0f - (xx + yy); m[11] = 0.0f;
    m[12] = 0.0f;            m[13] = 0.0f;            m[14] = 0.0f;             m[15] = 1.0f;
}
