// ArcBall: turns right-button drags in the unit square into a rotation of the free view.
#pragma once

#include "sim/Quaternion.h"

// Maps (x, y) of the unit square [-1, 1]^2 onto the unit sphere: inside the unit circle onto
// the front hemisphere (pz >= 0), outside it onto the rim (pz = 0).
void projectToSphere(float x, float y, float* px, float* py, float* pz);

class ArcBall {
public:
    ArcBall();  // both rotations the identity, the drag start at the centre

    // Starts a drag at (x, y) in [-1, 1]^2 (y up), folding the previous drag into the base.
    void beginDrag(float x, float y);
    // The drag has reached (x, y): the world turns about d x m by twice the angle between the
    // sphere points of the start and of (x, y).
    void dragTo(float x, float y);
    // Fills m (16 floats, for glMultMatrixf) with the base rotation followed by the drag.
    void getMatrix(float m[16]) const;

    Quaternion baseRotation;  // all finished drags
    Quaternion dragRotation;  // the drag in progress; identity after beginDrag
    // Start of the current drag. The centre until the first beginDrag: a drag can arrive without
    // an accepted press (a key changed the selection or the view in between).
    float startX, startY;
};
