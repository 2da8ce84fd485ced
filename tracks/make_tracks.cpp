// Writes the sample tracks of tracks/ from their shapes, so they can be made again exactly:
//   make_tracks <folder>
// oval.trk (a starter), loop.trk (a vertical loop the guide ring turns upside down),
// figure8.trk (a banked figure-eight crossing over itself), largest.trk (100 points, 50 trees).
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "input/FileSave.h"
#include "input/TrackFile.h"
#include "track/TrackView.h"

namespace {

struct Vec {
    double x, y, z;
};

Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec operator*(double k, Vec a) { return {k * a.x, k * a.y, k * a.z}; }
double length(Vec a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }
Vec unit(Vec a) { return (1.0 / length(a)) * a; }

const Vec kUp = {0, 1, 0};
constexpr double kGuideRise = 2.0;  // guide points sit this far from their track points

struct Track {
    std::vector<Vec> points, guides;
    struct Tree {
        double x, z, radius, height;
    };
    std::vector<Tree> trees;
    int drawRails = 1;
};

void addPoint(Track& track, Vec point, Vec upSide) {
    track.points.push_back(point);
    track.guides.push_back(point + kGuideRise * unit(upSide));
}

// An ellipse 20 x 12 at height 2.5 with a gentle rise on one side.
Track oval() {
    Track track;
    for (int i = 0; i < 8; ++i) {
        const double a = 2 * M_PI * i / 8;
        addPoint(track, {10 * std::cos(a), 2.5 + 1.5 * std::sin(a), 6 * std::sin(a)}, kUp);
    }
    track.trees = {{0, 0, 1.0, 4.5}, {-4, 2, 0.8, 3.5}, {4, -1, 1.2, 5.0}};
    return track;
}

// Runs in along +x, turns a full vertical loop (drifting sideways so the two ends pass each
// other), leaves along +x and comes back around a wide bend. Inside the loop the guide points
// lie towards its centre, so at the top the track is upside down.
Track loop() {
    Track track;
    const Vec centre = {0, 7, 0};
    const double radius = 4.5;
    for (int k = 0; k <= 8; ++k) {
        const double a = -M_PI / 2 + 2 * M_PI * k / 8;
        const Vec p = {radius * std::cos(a), centre.y + radius * std::sin(a), -1.5 + 3.0 * k / 8};
        addPoint(track, p, centre - Vec{p.x, p.y, 0});
    }
    const Vec way[] = {{6, 2.5, 2.5}, {11, 3, 6}, {9, 3.5, 11}, {0, 4, 12}, {-9, 3.5, 11},
                       {-12, 3, 5}, {-10, 2.5, -1}, {-5, 2.5, -1.5}};
    for (const Vec& p : way) addPoint(track, p, kUp);
    track.trees = {{0, 9, 1.3, 5.5}, {-6, 6, 1.0, 4.0}, {7, -6, 1.1, 4.5}};
    return track;
}

// A figure-eight 28 x 16 whose two lobes cross at the middle, one pass 4 above the other. The
// guide points lean into each turn in proportion to its sharpness (up to 40 degrees).
Track figureEight() {
    Track track;
    const int n = 20;
    auto at = [](double a) { return Vec{14 * std::sin(a), 4 + 2 * std::cos(a), 8 * std::sin(2 * a)}; };
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / n, h = 1e-3;
        const Vec p = at(a);
        const Vec velocity = at(a + h) - at(a - h);
        const Vec turn = at(a + h) - 2.0 * p + at(a - h);
        // Horizontal curvature, signed by the side the track turns to (positive: to the left).
        const double speed2 = velocity.x * velocity.x + velocity.z * velocity.z;
        const double curvature = (velocity.z * turn.x - velocity.x * turn.z) / std::pow(speed2, 1.5) * 4 * h * h;
        const double bank = std::max(-0.7, std::min(0.7, 6.0 * curvature));
        const Vec left = unit(Vec{velocity.z, 0, -velocity.x});
        addPoint(track, p, std::cos(bank) * kUp + std::sin(bank) * left);
    }
    track.trees = {{0, 12, 1.0, 4.5}, {0, -12, 1.0, 4.5}, {-16, 9, 1.2, 5.0}, {16, -9, 1.2, 5.0}};
    return track;
}

// The largest track a file may hold: 100 points on a rolling ring of radius 12 and 50 trees in
// two rings around it.
Track largest() {
    Track track;
    for (int i = 0; i < kMaxPoints; ++i) {
        const double a = 2 * M_PI * i / kMaxPoints;
        addPoint(track, {12 * std::cos(a), 3 + 1.5 * std::sin(3 * a), -12 * std::sin(a)}, kUp);
    }
    for (int i = 0; i < kMaxTrees; ++i) {
        const double a = 2 * M_PI * i / 25 + (i < 25 ? 0 : M_PI / 25);
        const double r = i < 25 ? 7.0 : 14.5;
        track.trees.push_back({r * std::cos(a), r * std::sin(a), 0.8 + 0.02 * (i % 10), 3.5 + 0.2 * (i % 7)});
    }
    return track;
}

bool write(const Track& track, const std::string& path) {
    TrackView view(0, 0, 800, 600);
    const int n = static_cast<int>(track.points.size());
    for (int i = 0; i < n; ++i) {
        const Vec& p = track.points[i];
        const Vec& g = track.guides[i];
        view.points[i] = new ControlPoint(p.x, p.y, p.z, kPointRadius, kPointHeight, kTrackPointColor[0],
                                          kTrackPointColor[1], kTrackPointColor[2]);
        view.points2[i] = new ControlPoint(g.x, g.y, g.z, kPointRadius, kPointHeight, kGuidePointColor[0],
                                           kGuidePointColor[1], kGuidePointColor[2]);
        view.segments[i] = new CurveSegment();
        view.segments2[i] = new CurveSegment();
    }
    view.numPoints = view.numPoints2 = n;
    for (const Track::Tree& t : track.trees) {
        view.trees[view.numTrees++] = new ControlPoint(t.x, 0, t.z, t.radius, t.height, kTreeColor[0], kTreeColor[1],
                                                       kTreeColor[2]);
    }
    view.drawRails = track.drawRails;
    view.buildTrack();  // the stored energy is the one a build gives
    std::string reason;
    if (!saveFile(path.c_str(), encodeTrack(view), &reason)) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), reason.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const bool ok = write(oval(), folder + "/oval.trk") && write(loop(), folder + "/loop.trk") &&
                    write(figureEight(), folder + "/figure8.trk") && write(largest(), folder + "/largest.trk");
    return ok ? 0 : 1;
}
