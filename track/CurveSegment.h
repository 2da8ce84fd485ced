// CurveSegment: one cubic piece of a closed track, three polynomials over a local t in [0, 1].
#pragma once

class CurveSegment {
public:
    // A new segment is all zeros (a single point at the origin, length 0) until the first build
    // fills it: a running train may evaluate it before that (a loaded track of fewer than 3 points).
    CurveSegment();

    // Rows hold the coefficients of t^3, t^2, t, 1, in that order.
    void setCoefficients(const float rowX[4], const float rowY[4], const float rowZ[4]);
    void getCoefficients(float rowX[4], float rowY[4], float rowZ[4]) const;
    void setLength(float length);
    void getLength(float* out) const;

    // The point and the first derivative (d/dt, not normalised) at local parameter t.
    // t is not clamped; callers pass values in [0, 1].
    void evaluate(float* x, float* y, float* z, float t) const;
    void derivative(float* dX, float* dY, float* dZ, float t) const;

    float coeffX[4];
    float coeffY[4];
    float coeffZ[4];
    float length;  // length value of the last build (see TrackView::buildTrack), not the curve length
};

// One coordinate of a cubic from its coefficient row and the powers t^3, t^2 (each already
// rounded to float) and t, summed in double and rounded to float. Everything that evaluates a
// segment goes through this, so equal inputs give bit-equal points. Power may be float or, for
// loops that keep float powers in double to vectorise, double holding the same values.
template <typename Power>
inline float evaluateCubic(const float row[4], Power t3, Power t2, Power t) {
    return static_cast<float>((double)t3 * row[0] + (double)t2 * row[1] + (double)t * row[2] + row[3]);
}
