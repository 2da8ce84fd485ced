// Addressing a closed track by its global parameter, and the track's local frame. Shared by
// the train, the camera's ride views and the renderer so that all three agree.
#pragma once

// Maps the global parameter u of a ring of numSegments (>= 1) segments to segment index i and
// local parameter: i = trunc(n u), local = n u - i. u is clamped to [0, 1]; a u that reaches 1
// (rounding included) addresses the end of the last segment (i = n - 1, local = 1), never index n.
// A NaN u addresses the start.
void locateOnTrack(double u, int numSegments, int* segment, float* local);

// Builds the frame of the track from the tangent T and the up hint A (neither need be unit):
// forward = T / |T|, side = (T x A) normalised (right of travel), up = A made perpendicular to T
// and normalised. Returns true when the inputs define the frame; false when T is zero, A is zero
// or parallel to T, or a value is not finite: the frame is then completed from fixed world axes
// (forward +x, up +y, or +z when forward is vertical), so callers always get an orthonormal,
// finite frame.
bool makeFrame(const float tangent[3], const float upHint[3], float forward[3], float side[3], float up[3]);
