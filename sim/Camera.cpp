// Placing the camera for a frame (orbit view, look-down view of the selected point, the five ride
// views) and mapping mouse positions into the arcball's unit square.
#include <FL/Fl.H>
#include <FL/gl.h>
#include <GL/glu.h>

#include "track/TrackGeometry.h"
#include "track/TrackView.h"

namespace {

// Where the fixed camera of ride view 5 stands.
constexpr double kTowerEye[3] = {0.0, 5.0, 0.0};
// Offset of ride view 4's eye from the train.
constexpr double kWatchOffset = 4.0;

// gluLookAt, except when the eye sits on the centre or the up direction runs along the line of
// sight: those leave GLU a zero axis and a singular view. The view then looks along the frame
// that makeFrame completes from fixed world axes, so every frame has a usable camera.
void lookAt(const double eye[3], const double centre[3], const float up[3]) {
    const float sight[3] = {static_cast<float>(centre[0] - eye[0]), static_cast<float>(centre[1] - eye[1]),
                            static_cast<float>(centre[2] - eye[2])};
    float forward[3], side[3], frameUp[3];
    if (makeFrame(sight, up, forward, side, frameUp)) {
        gluLookAt(eye[0], eye[1], eye[2], centre[0], centre[1], centre[2], up[0], up[1], up[2]);
        return;
    }
    gluLookAt(eye[0], eye[1], eye[2], eye[0] + forward[0], eye[1] + forward[1], eye[2] + forward[2], frameUp[0],
              frameUp[1], frameUp[2]);
}

// Ride views: the train's frame, the same one its body and the rails are drawn in. Where the up
// hint or the tangent leaves it undefined, makeFrame's fallback gives a level frame. Eye and
// centre are summed in double, term by term in the order below, and go to GL as such.
void placeRideView(const TrackView& view) {
    float T[3], S[3], U[3];
    makeFrame(view.trainTangent, view.trainUp, T, S, U);
    const float* P = view.trainPos;
    double eye[3], centre[3];
    for (int k = 0; k < 3; ++k) {
        const double p = P[k], t = T[k], u = U[k];
        switch (view.cameraMode) {
            case 1: eye[k] = p + u; centre[k] = p + 2.0 * t + 0.75 * u; break;
            case 2: eye[k] = p + 1.5 * u - 2.0 * t; centre[k] = p + 2.0 * t + 0.75 * u; break;
            case 3: eye[k] = p + 2.0 * t + u; centre[k] = p - 2.0 * t + 0.5 * u; break;
            case 4: eye[k] = p + kWatchOffset; centre[k] = p; break;
            case 5: eye[k] = kTowerEye[k]; centre[k] = p + 2.0 * t + 0.75 * u; break;
            default: return;  // no such view: the identity stays
        }
    }
    static const float kWorldUp[3] = {0.0f, 1.0f, 0.0f};
    lookAt(eye, centre, view.cameraMode == 5 ? kWorldUp : U);
}

}  // namespace

void TrackView::placeCamera() {
    if (trainRunning == 0 || cameraMode == 0) {
        // Only a valid index is looked at: a stale selection must not read past the list.
        const ControlPoint* focus = nullptr;
        if (selectedPoint >= 0 && selectedPoint < numPoints) focus = points[selectedPoint];
        else if (selectedPoint2 >= 0 && selectedPoint2 < numPoints) focus = points2[selectedPoint2];
        if (focusSelectedView == 1 && focus != nullptr) {
            float p[3];
            focus->getPosition(&p[0], &p[1], &p[2]);
            const float v = focusViewOffset;
            const double eye[3] = {p[0], p[1] + static_cast<double>(v), p[2] + static_cast<double>(v)};
            const double centre[3] = {p[0], p[1], p[2]};
            const float up[3] = {0.0f, 1.0f, 0.0f};
            lookAt(eye, centre, up);
            return;
        }
        glTranslated(0.0, 0.0, -camDistance);
        float ballMatrix[16];
        arcBall.getMatrix(ballMatrix);
        glMultMatrixf(ballMatrix);
        return;
    }

    placeRideView(*this);
}

void TrackView::getMouseNDC(double* x, double* y) {
    // A view without area has no positions to map: report its centre rather than divide by 0.
    *x = w() > 0 ? 2.0 * Fl::event_x() / w() - 1.0 : 0.0;
    *y = h() > 0 ? 2.0 * (h() - Fl::event_y()) / h() - 1.0 : 0.0;
}
