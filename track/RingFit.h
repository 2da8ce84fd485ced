// Least-squares fits of closed uniform cubic B-spline rings (the basis of useBSpline 1) to dense
// rows of points: the ring of n control points closest to the rows, and the fewest points that do.
#pragma once

#include <array>
#include <functional>
#include <vector>

using Vec3 = std::array<double, 3>;

// The ring's point at global parameter u (taken modulo 1), with its first and second derivatives
// with respect to u where asked. Segment trunc(n u) is made from control points i - 1 .. i + 2
// (mod n), as buildTrack makes a B-spline ring.
Vec3 ringPoint(const std::vector<Vec3>& control, double u, Vec3* d1 = nullptr, Vec3* d2 = nullptr);

// The n (>= 3) control points whose ring comes closest, in least squares, to targets[r] at
// params[r]. A faint smoothing term keeps the answer finite and unique where rows leave points
// unconstrained (more points than rows).
std::vector<Vec3> fitAtParams(const std::vector<Vec3>& targets, const std::vector<double>& params, int n);

struct RingFit {
    std::vector<Vec3> control;   // the n control points
    std::vector<double> params;  // each row's global parameter on the ring, in [0, 1)
    double within = 0.0;         // largest distance from a row to the ring's point at its parameter
};

// The ring of n control points fitted to rows (in order around a closed track, at least 3): the
// parameters start at each row's share of the way round (chord lengths, the last row back to the
// first closing the ring) and move towards each row's nearest point on the ring for a few rounds.
RingFit fitRing(const std::vector<Vec3>& rows, int n);

// The fit of the fewest control points in fewest..most for which good holds, found by doubling
// and then halving the interval (a fit of more points is taken to be at least as good); the fit
// of most points when none is.
RingFit fitFewestPoints(const std::vector<Vec3>& rows, int fewest, int most,
                        const std::function<bool(const RingFit&)>& good);
