// Quaternion: a rotation v -> q v q* stored as (x, y, z, w), vector part first.
#pragma once

class Quaternion {
public:
    Quaternion();  // the identity (0, 0, 0, 1)
    Quaternion(float x, float y, float z, float w);

    Quaternion multiply(const Quaternion& other) const;  // this (x) other: other applied first
    Quaternion conjugate() const;                        // (-x, -y, -z, w)
    // Multiplies all four components by 1 / (squared length). For the unit-length drag
    // rotations this only trims rounding drift.
    void normalize();
    // Fills m (16 floats) with the rotation matrix written row by row; GL reads it column by
    // column, that is transposed. A zero quaternion gives the identity.
    void toMatrix(float m[16]) const;

    float x, y, z, w;
};
