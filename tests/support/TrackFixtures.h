// Builds tracks for tests directly from coordinates, the way the editing commands would.
#pragma once

#include <array>
#include <vector>

#include "track/TrackView.h"

using Point3 = std::array<float, 3>;

// Replaces the view's rings by these track-1 and guide points, with fresh segments; builds nothing.
void setRings(TrackView& view, const std::vector<Point3>& track, const std::vector<Point3>& guide);
// Rings of these track-1 points, each with a guide point guideRise above it, built as the
// editing commands build them (buildTrack, then buildTrack2).
void buildRing(TrackView& view, const std::vector<Point3>& track, float guideRise = 4.0f);

// Four corners of a square of side 10 on the ground: (0,0,0) (10,0,0) (10,0,10) (0,0,10).
std::vector<Point3> groundSquare();
// n points on a horizontal circle of the given radius and height, counter-clockwise from above.
std::vector<Point3> circle(int n, float radius, float height);

// The point of a built ring at global parameter u, computed independently of the renderer.
Point3 pointAt(CurveSegment* const* segments, int n, double u);
// The length of the polyline through track 1's points at `steps` even steps of the parameter.
double polylineLength(const TrackView& view, int steps);
