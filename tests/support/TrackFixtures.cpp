// Test tracks.
#include "tests/support/TrackFixtures.h"

#include <cmath>

void setRings(TrackView& view, const std::vector<Point3>& track, const std::vector<Point3>& guide) {
    view.deleteAllRecords();
    const int n = static_cast<int>(track.size());
    for (int i = 0; i < n; ++i) {
        view.points[i] = new ControlPoint(track[i][0], track[i][1], track[i][2], 1.0f, 1.0f, 255, 0, 0);
        view.points2[i] = new ControlPoint(guide[i][0], guide[i][1], guide[i][2], 1.0f, 1.0f, 0, 0, 255);
        view.segments[i] = new CurveSegment();
        view.segments2[i] = new CurveSegment();
    }
    view.numPoints = n;
    view.numPoints2 = n;
}

void setRing(TrackView& view, const std::vector<Point3>& track, float guideRise) {
    std::vector<Point3> guide = track;
    for (Point3& p : guide) p[1] += guideRise;
    setRings(view, track, guide);
}

void buildRing(TrackView& view, const std::vector<Point3>& track, float guideRise) {
    setRing(view, track, guideRise);
    view.buildTrack();
    view.buildTrack2();
}

std::vector<Point3> groundSquare() { return {{{0, 0, 0}}, {{10, 0, 0}}, {{10, 0, 10}}, {{0, 0, 10}}}; }

std::vector<Point3> circle(int n, float radius, float height) {
    std::vector<Point3> points;
    for (int i = 0; i < n; ++i) {
        const double angle = 2.0 * M_PI * i / n;
        points.push_back({{static_cast<float>(radius * std::cos(angle)), height,
                           static_cast<float>(-radius * std::sin(angle))}});
    }
    return points;
}

Point3 pointAt(CurveSegment* const* segments, int n, double u) {
    const double s = u * n;
    int i = static_cast<int>(std::floor(s));
    if (i >= n) i = n - 1;
    const double t = s - i;
    float row[3][4];
    segments[i]->getCoefficients(row[0], row[1], row[2]);
    Point3 p;
    for (int k = 0; k < 3; ++k) p[k] = static_cast<float>(((row[k][0] * t + row[k][1]) * t + row[k][2]) * t + row[k][3]);
    return p;
}
