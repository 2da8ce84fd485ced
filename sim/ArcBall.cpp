// ArcBall drags and the sphere projection behind them.
#include "sim/ArcBall.h"

#include <cmath>

void projectToSphere(float x, float y, float* px, float* py, float* pz) {
    const float r2 = x * x + y * y;
    if (r2 <= 1.0f) {
        *px = x;
        *py = y;
        *pz = std::sqrt(1.0f - r2);
    } else {
        const float inv = 1.0f / std::sqrt(r2);
        *px = x * inv;
        *py = y * inv;
        *pz = 0.0f;
    }
}

ArcBall::ArcBall() : startX(0.0f), startY(0.0f) {}

void ArcBall::beginDrag(float x, float y) {
    baseRotation = dragRotation.multiply(baseRotation);
    dragRotation = Quaternion();
    startX = x;
    startY = y;
}

void ArcBall::dragTo(float x, float y) {
    float d[3], m[3];
    projectToSphere(startX, startY, &d[0], &d[1], &d[2]);
    projectToSphere(x, y, &m[0], &m[1], &m[2]);
    dragRotation = Quaternion(d[1] * m[2] - d[2] * m[1], d[2] * m[0] - d[0] * m[2], d[0] * m[1] - d[1] * m[0],
                              d[0] * m[0] + d[1] * m[1] + d[2] * m[2]);
    dragRotation.normalize();
}

void ArcBall::getMatrix(float m[16]) const {
    const Quaternion all = dragRotation.multiply(baseRotation).conjugate();
    all.toMatrix(m);
}
