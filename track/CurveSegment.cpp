// CurveSegment storage and evaluation. Products and sums are formed in double and rounded to
// float when stored, so every caller sees the same values for the same t.
#include "track/CurveSegment.h"

CurveSegment::CurveSegment() : coeffX{0, 0, 0, 0}, coeffY{0, 0, 0, 0}, coeffZ{0, 0, 0, 0}, length(0) {}

void CurveSegment::setCoefficients(const float rowX[4], const float rowY[4], const float rowZ[4]) {
    for (int k = 0; k < 4; ++k) {
        coeffX[k] = rowX[k];
        coeffY[k] = rowY[k];
        coeffZ[k] = rowZ[k];
    }
}

void CurveSegment::getCoefficients(float rowX[4], float rowY[4], float rowZ[4]) const {
    for (int k = 0; k < 4; ++k) {
        rowX[k] = coeffX[k];
        rowY[k] = coeffY[k];
        rowZ[k] = coeffZ[k];
    }
}

void CurveSegment::setLength(float length_) { length = length_; }
void CurveSegment::getLength(float* out) const { *out = length; }

static inline float slopeAt(const float c[4], float t2, float t) {
    return static_cast<float>(3.0 * c[0] * t2 + 2.0 * c[1] * t + c[2]);
}

void CurveSegment::evaluate(float* x, float* y, float* z, float t) const {
    const float t3 = static_cast<float>((double)t * t * t);
    const float t2 = static_cast<float>((double)t * t);
    *x = evaluateCubic(coeffX, t3, t2, t);
    *y = evaluateCubic(coeffY, t3, t2, t);
    *z = evaluateCubic(coeffZ, t3, t2, t);
}

void CurveSegment::derivative(float* dX, float* dY, float* dZ, float t) const {
    const float t2 = static_cast<float>((double)t * t);
    *dX = slopeAt(coeffX, t2, t);
    *dY = slopeAt(coeffY, t2, t);
    *dZ = slopeAt(coeffZ, t2, t);
}
