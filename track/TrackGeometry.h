// Addressing a closed track by its global parameter, and the track's local frames. Shared by
// the train, the camera's ride views and the renderer so that all three agree.
#pragma once

// Maps the global parameter u of a ring of numSegments (>= 1) segments to segment index i and
// local parameter: i = trunc(n u), local = n u - i. u is clamped to [0, 1]; a u that reaches 1
// (rounding included) addresses the end of the last segment (i = n - 1, local = 1), never index n.
// A NaN u addresses the start.
void locateOnTrack(double u, int numSegments, int* segment, float* local);

class CurveSegment;
// The point and the derivative of a ring of n segments at global parameter t, addressed as
// locateOnTrack does.
void ringPointAt(CurveSegment* const* ring, int n, double t, float out[3]);
void ringTangentAt(CurveSegment* const* ring, int n, double t, float out[3]);

// The frames below store every component as float; products and sums are formed in double, and
// a length is the root (in double) of the sum of squares rounded to float.
//
// The train's frame, shared by its body and the ride views, from the tangent T and up hint D:
// forward = T / |T|, D' = D / |D|, side = (forward x D') / |forward x D'|,
// up = -(forward x side) / |forward x side|.
// The tie frame: forward = T / |T|, X = T x A, side = X / |X|, up = -(forward x X) / |forward x X|.
// Both return true when the inputs define the frame. Where they do not (T zero, the hint zero or
// along T, a value not finite) the frame is completed from fixed world axes instead (forward +x,
// up +y, or +z when forward is vertical), so callers always get a finite, orthonormal frame.
bool makeFrame(const float tangent[3], const float upHint[3], float forward[3], float side[3], float up[3]);
bool makeTieFrame(const float tangent[3], const float upHint[3], float forward[3], float side[3], float up[3]);
