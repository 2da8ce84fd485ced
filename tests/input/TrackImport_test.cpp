// Track data imported through the load command: what it refuses without touching the track, rings
// fitted on few points, every sample track's export coming back onto its own curve with its up
// side, an open track closed and a track too large for the ground scaled onto it.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "app/Messages.h"
#include "input/TrackExport.h"
#include "input/TrackFile.h"
#include "tests/support/Desktop.h"
#include "tests/support/TrackFixtures.h"

namespace {

constexpr double kUpDegrees = 5.0;  // how closely the up side follows the rows' Up
constexpr int kDense = 20000;       // samples of a curve for nearest-point distances

using V = std::array<double, 3>;
V minus(const V& a, const V& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double dot(const V& a, const V& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
double distance(const V& a, const V& b) { return std::sqrt(dot(minus(a, b), minus(a, b))); }
V unit(const V& v) { const double l = std::sqrt(dot(v, v)); return {v[0] / l, v[1] / l, v[2] / l}; }
V across(const V& w, const V& f) { return minus(w, {dot(w, f) * f[0], dot(w, f) * f[1], dot(w, f) * f[2]}); }  // f: unit
V cross(const V& a, const V& b) { return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]}; }
double degreesBetween(const V& a, const V& b) { return std::acos(std::clamp(dot(unit(a), unit(b)), -1.0, 1.0)) * 180 / M_PI; }

// Rows round a curve at `count` even steps of its parameter s in [0, 1) (and the closing row when
// asked), unquoted names, CRLF: Front along the curve, Up the given up made perpendicular to it
// (keeping its length: one not of length 1 spoils the frame), Left = Up x Front.
std::string trackData(int count, const std::function<V(double)>& at, const std::function<V(double)>& up, bool closing) {
    std::string text = "No.\tPosX\tPosY\tPosZ\tFrontX\tFrontY\tFrontZ\tLeftX\tLeftY\tLeftZ\tUpX\tUpY\tUpZ\r\n";
    for (int r = 0; r < count + closing; ++r) {
        const double s = double(r % count) / count;
        const V p = at(s), f = unit(minus(at(s + 1e-6), at(s - 1e-6))), u = unit(across(up(s), f)), l = cross(u, f);
        const double length = std::sqrt(dot(up(s), up(s)));
        char line[400];
        std::snprintf(line, sizeof line, "%d\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\r\n", r + 1,
                      p[0], p[1], p[2], f[0], f[1], f[2], l[0], l[1], l[2], length * u[0], length * u[1], length * u[2]);
        text += line;
    }
    return text;
}

// A built track sampled densely: its points and its up side (the guide ring's offset made
// perpendicular to the direction of travel).
struct Sampled {
    std::vector<V> point, up;
    std::size_t nearest(const V& p) const {
        std::size_t best = 0;
        for (std::size_t j = 1; j < point.size(); ++j) best = distance(point[j], p) < distance(point[best], p) ? j : best;
        return best;
    }
};

Sampled sampled(const TrackView& view) {
    Sampled s;
    const auto at = [&](CurveSegment* const* ring, int j) {
        const Point3 p = pointAt(ring, view.numPoints, double((j + kDense) % kDense) / kDense);
        return V{p[0], p[1], p[2]};
    };
    for (int j = 0; j < kDense; ++j) {
        s.point.push_back(at(view.segments, j));
        s.up.push_back(across(minus(at(view.segments2, j), s.point.back()),
                              unit(minus(at(view.segments, j + 1), at(view.segments, j - 1)))));
    }
    return s;
}

double tolerance(double lapLength) { return std::max(0.001 * lapLength, 0.02); }

// Imports text as the named file; the console line it printed.
std::string imported(TrackView& view, const std::string& text, const std::string& name = "track.csv") {
    const std::string path = makeScratchDir() + "/" + name;
    writeFile(path, text);
    view.loadTrackFile(path.c_str());
    const std::string line = messageLog().back();
    return line.substr(line.find("\": ") + 3);
}

TEST(TrackImport, AFileThatDoesNotMatchIsRefusedAtItsLineWithWhatWasFoundAndTheTrackStaysAsItWas) {
    const std::string header = "\"No.\"\t\"PosX\"\t\"PosY\"\t\"PosZ\"\t\"FrontX\"\t\"FrontY\"\t\"FrontZ\"\t\"LeftX\"\t\"LeftY\"\t"
                               "\"LeftZ\"\t\"UpX\"\t\"UpY\"\t\"UpZ\"\n";
    const std::string row = "1\t0\t0\t0\t1\t0\t0\t0\t0\t1\t0\t1\t0\n";
    const std::string columns =
        "the 13 column names No., PosX, PosY, PosZ, FrontX, FrontY, FrontZ, LeftX, LeftY, LeftZ, UpX, UpY, UpZ expected";
    std::string million = header;
    for (int r = 0; r <= kMaxTrackDataRows; ++r) million += "1\t" + std::to_string(r) + "\t0\t0\t1\t0\t0\t0\t0\t1\t0\t1\t0\n";
    const struct { std::string text, answer; } cases[] = {
        {"", "line 1: nothing found, " + columns},
        {"No.\tPosX\tPosY\n" + row, "line 1: 3 column names found, " + columns},
        {header.substr(0, 6) + "\"PosW\"" + header.substr(12), "line 1: column 2 is \"PosW\", PosX expected"},
        {header + row + "1\t2\t3\n", "line 3: 3 fields found, 13 expected"},
        {header + row + row + "1\t0\t0x\t0\t1\t0\t0\t0\t0\t1\t0\t1\t0\n", "line 4: field 3 is \"0x\", a number expected"},
        {header + "1\t0\t0\tnan\t1\t0\t0\t0\t0\t1\t0\t1\t0\n", "line 2: field 4 is \"nan\", a finite number expected"},
        {header + "1\t0\t0\t0\t1\t0\t0\t0\t0\t1\t0\t1\t1e39\n",
         "line 2: field 13 is \"1e39\", a number within the range of single precision expected"},
        {header + row + row + row + "\n\n", "line 5: 3 rows found, at least 4 expected"},
        {header + row + row + "\r\n" + row + row, "line 4: an empty line found before more rows, a row expected"},
        {header + row + std::string(5000, '1') + "\n", "line 3: a line of more than 4094 characters found, a row of 13 numbers expected"},
        {million + "1\t5\t0\t0\t1\t0\t0\t0\t0\t1\t0\t1\t0\n", "line 1000003: more than 1000000 rows found, at most 1000000 expected"},
        {million, "line 1000002: more than 1000000 rows found, at most 1000000 expected"},  // its last is not the first
    };
    TrackView view(0, 0, 10, 10);
    buildRing(view, circle(5, 8.0f, 1.0f));
    view.trees[view.numTrees++] = new ControlPoint(1, 0, 1, 1, 4.5f, 0, 0, 0);
    view.useBSpline = 0;
    const std::vector<unsigned char> before = encodeTrack(view);
    for (const auto& c : cases) {
        EXPECT_EQ(imported(view, c.text), c.answer);
        EXPECT_TRUE(encodeTrack(view) == before) << c.answer;
    }
    std::string square = "\xEF\xBB\xBF" + trackData(4, [](double s) { return V{std::cos(7 * s), 0, std::sin(7 * s)}; },
                                                   [](double) { return V{0, 1, 0}; }, false);
    square.pop_back(), square.pop_back();  // a byte-order mark, CRLF and a last line without its end
    EXPECT_EQ(imported(view, square, "SQUARE.CSV").find(" points, every row within "), 1u);
    EXPECT_TRUE(view.numTrees == 0 && view.useBSpline == 1 && view.keptTrack.unsaved());
}

// Rings of rows come back with every row within the tolerance of the built curve, their
// height and their up side: a level circle and one banked 30 degrees inwards (200 rows, 63 m round) on a
// handful of points, one that rolls over twice on more; a closing row is no open end. Rows whose
// frame is spoilt (every other one of the banked ring, its Up 3 long and downwards) take the up
// side of their neighbours. Half a circle is an open track: the ring joins its ends. A circle of
// radius 100 round (500, 20, -300) is centred over the origin and scaled by 15 / 100, heights and
// the guide ring's rise too.
TEST(TrackImport, RingsComeBackOnFewPointsWithTheirUpSideJoinedWhenOpenAndScaledOntoTheGround) {
    const auto round = [](double s) { return V{10 * std::cos(2 * M_PI * s), 3, -10 * std::sin(2 * M_PI * s)}; };
    const auto half = [](double s) { return V{10 * std::cos(M_PI * s), 0, 10 * std::sin(M_PI * s)}; };
    const auto wide = [](double s) { return V{500 + 100 * std::cos(2 * M_PI * s), 20, -300 + 100 * std::sin(2 * M_PI * s)}; };
    const auto banked = [](double s, double bank) {
        return V{-std::sin(bank) * std::cos(2 * M_PI * s), std::cos(bank), std::sin(bank) * std::sin(2 * M_PI * s)};
    };
    const auto level = [&](double s) { return banked(s, 0); };
    const auto inwards = [&](double s) { return banked(s, M_PI / 6); };
    const auto spoilt = [&](double s) { return std::lround(200 * s) % 2 ? V{0, -3, 0} : inwards(s); };
    const auto rolling = [&](double s) { return banked(s, 4 * M_PI * s); };
    const struct { int rows; std::function<V(double)> at, written, up; bool closing; int most; double lap, scale; std::string note; } rings[] = {
        {200, round, level, level, true, 8, 20 * M_PI, 1, ""}, {200, round, spoilt, inwards, true, 8, 20 * M_PI, 1, ""},
        {200, round, rolling, rolling, true, kMaxPoints, 20 * M_PI, 1, ""},
        {60, half, level, level, false, kMaxPoints, 10 * M_PI + 20, 1, ", ends joined"},
        {400, wide, level, level, true, kMaxPoints, 200 * M_PI, 0.15, ", scaled by 0.1500 to fit the ground"}};
    for (const auto& r : rings) {
        TrackView view(0, 0, 10, 10);
        const std::string answer = imported(view, trackData(r.rows, r.at, r.written, r.closing));
        EXPECT_EQ(answer.substr(answer.find(" m") + 2), r.note) << answer;
        EXPECT_LE(view.numPoints, r.most);
        const Sampled curve = sampled(view);
        const V centre = r.scale == 1 ? V{} : V{500, 0, -300};  // where the large ring is moved from
        for (int row = 0; row < r.rows; ++row) {
            const V placed = minus(r.at(double(row) / r.rows), centre), p = {r.scale * placed[0], r.scale * placed[1], r.scale * placed[2]};
            const std::size_t j = curve.nearest(p);
            EXPECT_LT(distance(curve.point[j], p), r.scale * tolerance(r.lap)) << row;
            EXPECT_LT(degreesBetween(curve.up[j], r.up(double(row) / r.rows)), kUpDegrees) << row;
            if (r.scale != 1) { EXPECT_NEAR(curve.up[j][1], 4 * r.scale, 1e-3) << row; }  // level rows: a rise of 4, scaled
        }
        double highest = 0;  // off the rows' height, which the whole ring keeps
        for (const V& p : curve.point) highest = std::max(highest, std::fabs(p[1] - r.scale * r.at(0)[1]));
        EXPECT_LT(highest, 1e-4) << answer;
    }
}

// Every sample track exported as track data and imported again lies on its own curve, within the
// tolerance, where it was, and keeps its up side; the console says how close every row came.
TEST(TrackImport, EverySampleTracksExportComesBackOntoItsOwnCurveWithItsUpSide) {
    for (const std::string name : {"figure8", "largest", "loop", "oval"}) {
        TrackView original(0, 0, 10, 10), view(0, 0, 10, 10);
        original.loadTrackFile((KALVORA_SOURCE_DIR "/tracks/" + name + ".trk").c_str());
        std::string text, reason;
        ASSERT_TRUE(trackDataCsv(original, &text, &reason));
        const std::string answer = imported(view, text, name + ".csv");
        const double within = std::atof(answer.substr(answer.find("within ") + 7).c_str());
        const double allowed = tolerance(polylineLength(original, kDense));
        EXPECT_TRUE(answer.find(" points, every row within ") != std::string::npos && within <= allowed) << answer;
        const Sampled before = sampled(original), after = sampled(view);
        double farthest = 0, widest = 0;
        for (int j = 0; j < kDense; j += 10) {
            const std::size_t k = before.nearest(after.point[j]);
            farthest = std::max(farthest, distance(before.point[k], after.point[j]));
            if (dot(before.up[k], before.up[k]) > 1e-6) widest = std::max(widest, degreesBetween(before.up[k], after.up[j]));
        }
        EXPECT_LT(farthest, allowed) << name;
        EXPECT_LT(widest, kUpDegrees) << name;
    }
}

}  // namespace
