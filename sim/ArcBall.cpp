// ArcBall drags and the sphere projection behind them.
#include "sim/ArcBall.h"

#include <cmath>

// Every value below is stored as float; its products and sums are formed in double.
void projectToSphere(float x, float y, float* px, float* py, float* pz) {
    const float r2 = static_cast<float>(static_cast<double>(x) * x + static_cast<double>(y) * y);
    if (r2 <= 1.0f) {
        *px = x;
        *py = y;
        *pz = static_cast<float>(std::sqrt(1.0 - r2));
    } else {
        *px = static_cast<float>(x * (1.0 / std::sqrt(static_cast<double>(r2))));
        *py = static_cast<float>(y * (1.0 / std::sqrt(static_cast<double>(r2))));
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
    const double dx = d[0], dy = d[1], dz = d[2];
    dragRotation = Quaternion(static_cast<float>(dy * m[2] - dz * m[1]), static_cast<float>(dz * m[0] - dx * m[2]),
                              static_cast<float>(dx * m[1] - dy * m[0]),
                              static_cast<float>(dx * m[0] + dy * m[1] + dz * m[2]));
    dragRotation.normalize();
}

void ArcBall::getMatrix(float m[16]) const {
    const Quaternion all = dragRotation.multiply(baseRotation).conjugate();
    all.toMatrix(m);
}
