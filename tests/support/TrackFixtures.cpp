// Test tracks.
#include "tests/support/TrackFixtures.h"

#include <cmath>

void setRings(TrackView& view, const std::vector<Point3>& track, const std::vector<Point3>& guide) {
    view.deleteAllRecords(), view.numPoints = view.numPoints2 = static_cast<int>(track.size());
    for (int i = 0; i < view.numPoints; ++i) {
        view.points[i] = new ControlPoint(track[i][0], track[i][1], track[i][2], 1.0f, 1.0f, 255, 0, 0);
        view.points2[i] = new ControlPoint(guide[i][0], guide[i][1], guide[i][2], 1.0f, 1.0f, 0, 0, 255);
        view.segments[i] = new CurveSegment(), view.segments2[i] = new CurveSegment();
    }
}

void buildRing(TrackView& view, const std::vector<Point3>& track, float guideRise) {
    std::vector<Point3> guide = track;
    for (Point3& p : guide) p[1] += guideRise;
    setRings(view, track, guide), view.buildTrack(), view.buildTrack2();
}

std::vector<Point3> groundSquare() { return {{{0, 0, 0}}, {{10, 0, 0}}, {{10, 0, 10}}, {{0, 0, 10}}}; }

std::vector<Point3> circle(int n, float radius, float height) {
    std::vector<Point3> points(n);
    for (int i = 0; i < n; ++i)
        points[i] = {{float(radius * std::cos(2.0 * M_PI * i / n)), height, float(-radius * std::sin(2.0 * M_PI * i / n))}};
    return points;
}

Point3 pointAt(CurveSegment* const* segments, int n, double u) {
    const int i = std::min(static_cast<int>(std::floor(u * n)), n - 1);
    const double t = u * n - i;
    const CurveSegment& s = *segments[i];
    Point3 p;
    int k = 0;
    for (const float* row : {s.coeffX, s.coeffY, s.coeffZ})
        p[k++] = static_cast<float>(((row[0] * t + row[1]) * t + row[2]) * t + row[3]);
    return p;
}

double polylineLength(const TrackView& view, int steps) {
    double length = 0;
    for (int k = 0; k < steps; ++k) {
        const Point3 a = pointAt(view.segments, view.numPoints, double(k) / steps);
        const Point3 b = pointAt(view.segments, view.numPoints, double(k + 1) / steps);
        length += std::hypot(b[0] - a[0], b[1] - a[1], b[2] - a[2]);
    }
    return length;
}
