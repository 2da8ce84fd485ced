// The exports read back as their importers read them: the track data as tab-separated rows of
// numbers, the model as vertices and faces; a level ring and the loop against what they must give.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

#include "input/TrackExport.h"
#include "render/Palette.h"
#include "tests/support/TrackFixtures.h"

namespace {

constexpr double kPrinted = 1e-4;  // unit vectors printed with six decimals
constexpr double kEven = 0.01;     // row spacing, relative

using Row = std::vector<double>;

// The CSV as an importer reads it: the header, then rows of thirteen tab-separated numbers.
std::vector<Row> readCsv(const std::string& text, std::string* header) {
    std::istringstream in(text);
    std::getline(in, *header);
    std::vector<Row> rows;
    for (std::string line; std::getline(in, line);) {
        Row row;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');) {
            char* end;
            row.push_back(std::strtod(field.c_str(), &end));
            EXPECT_TRUE(*end == '\0' && !field.empty()) << "not a number: " << line;
        }
        EXPECT_EQ(row.size(), 13u) << line;
        rows.push_back(row);
    }
    return rows;
}

double dot(const double* a, const double* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Rows numbered from 1, the last repeating the first, N = ceil(length / 0.5) even steps, each
// frame orthonormal with left = up x front.
std::vector<Row> checkedTrackData(const TrackView& view, double length) {
    std::string text, reason, header;
    EXPECT_TRUE(trackDataCsv(view, &text, &reason)) << reason;
    const std::vector<Row> rows = readCsv(text, &header);
    EXPECT_EQ(header, "\"No.\"\t\"PosX\"\t\"PosY\"\t\"PosZ\"\t\"FrontX\"\t\"FrontY\"\t\"FrontZ\"\t\"LeftX\"\t\"LeftY\"\t"
                      "\"LeftZ\"\t\"UpX\"\t\"UpY\"\t\"UpZ\"");
    EXPECT_EQ(rows.size(), std::max(1.0, std::ceil(length / 0.5)) + 1);
    EXPECT_TRUE(std::equal(rows.back().begin() + 1, rows.back().end(), rows.front().begin() + 1));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const double *p = &rows[r][1], *f = &rows[r][4], *l = &rows[r][7], *u = &rows[r][10];
        const double step = r ? std::sqrt(std::pow(p[0] - rows[r - 1][1], 2) + std::pow(p[1] - rows[r - 1][2], 2) +
                                          std::pow(p[2] - rows[r - 1][3], 2)) : length / (rows.size() - 1);
        const double cross[3] = {u[1] * f[2] - u[2] * f[1], u[2] * f[0] - u[0] * f[2], u[0] * f[1] - u[1] * f[0]};
        EXPECT_TRUE(rows[r][0] == r + 1 && (length == 0 || std::fabs(step * (rows.size() - 1) / length - 1) < kEven)) << r + 1;
        EXPECT_TRUE(std::fabs(dot(f, f) - 1) < kPrinted && std::fabs(dot(u, u) - 1) < kPrinted && std::fabs(dot(f, u)) < kPrinted &&
                    std::fabs(l[0] - cross[0]) + std::fabs(l[1] - cross[1]) + std::fabs(l[2] - cross[2]) < kPrinted) << "row " << r + 1;
    }
    return rows;
}

// On a level ring travelled counter-clockwise seen from above, up is +y and left points to the
// ring's centre; where a climb has no up side the frame carries on, and stacked points have a
// frame all the same; on the loop, up turns over at the top.
TEST(TrackData, ALevelRingIsUpEverywhereAndLeftPointsInAndTheLoopTurnsOverAtItsTop) {
    TrackView ring(0, 0, 10, 10);
    buildRing(ring, circle(12, 10.0f, 2.0f));
    for (const Row& row : checkedTrackData(ring, polylineLength(ring, 20000))) {
        const double in[3] = {-row[1], 0, -row[3]}, radius = std::sqrt(dot(in, in));
        EXPECT_TRUE(std::fabs(row[11] - 1) < kPrinted && std::fabs(dot(&row[7], in) / radius - 1) < kPrinted) << row[0];
    }
    // A straight climb with its guide ring straight above: no up side there, so those rows keep the
    // frame of the row before the climb.
    TrackView tower(0, 0, 10, 10);
    tower.useBSpline = 0;
    buildRing(tower, {{{0, 0, 0}}, {{0, 4, 0}}, {{0, 8, 0}}, {{0, 12, 0}}, {{6, 15, 0}}, {{12, 12, 0}}, {{12, 0, 0}}, {{6, -3, 0}}});
    const std::vector<Row> climb = checkedTrackData(tower, polylineLength(tower, 20000));
    int kept = 0;
    for (std::size_t r = 1; r < climb.size(); ++r) {
        if (climb[r][1] != 0 || climb[r][3] != 0 || climb[r][2] <= 4 || climb[r][2] >= 8) continue;
        EXPECT_TRUE(std::equal(&climb[r][4], &climb[r][13], &climb[r - 1][4]) && ++kept) << "row " << r + 1;
    }
    EXPECT_GT(kept, 3);
    TrackView stacked(0, 0, 10, 10);  // no frame anywhere: a stand-in of world axes
    buildRing(stacked, std::vector<Point3>(3, {{1, 2, 3}})), checkedTrackData(stacked, 0);
}

// The model as an importer reads it: every face's vertices exist; every edge is used once each
// way, so each part is closed; each part (its vertices, then its faces) encloses a positive
// volume, so its faces are counter-clockwise seen from outside; ties, pillars on the ground and
// rails round all the ties are there, each its own object, flat shaded, in the colour the
// renderer draws it in.
TEST(RailModel, EveryPartOfEverySampleTrackIsClosedAndWoundOutwards) {
    for (const std::string name : {"figure8", "largest", "loop", "oval"}) {
        TrackView view(0, 0, 10, 10);
        view.loadTrackFile((KALVORA_SOURCE_DIR "/tracks/" + name + ".trk").c_str());
        int ties = 0;
        std::string text, reason;
        ASSERT_TRUE(railModelObj(view, name + ".mtl", &text, &ties, &reason)) << reason;
        std::istringstream in(text);
        std::vector<std::array<double, 3>> v;
        std::vector<std::pair<int, std::vector<int>>> faces;  // the first vertex of its part, its vertices
        std::map<std::string, int> lines;  // a group's faces under its name, other lines by their first word
        std::string group, last, parts;  // parts: "object/group/material" of each part
        for (std::string line, word; std::getline(in, line); last = word) {
            std::istringstream words(line);
            words >> word, ++lines[word == "f" ? group : word == "mtllib" ? line : word];
            if (word == "g") words >> group;
            if (word == "o" || word == "g" || word == "usemtl") parts += line.substr(line.find(' ') + 1) + (word == "usemtl" ? " " : "/");
            if (word == "v") v.push_back({}), words >> v.back()[0] >> v.back()[1] >> v.back()[2];
            if (word == "v" && group == "pillars") lines["pillar vertices on the ground"] += v.back()[1] == 0;
            if (word == "v" && last != "v") lines["part"] = int(v.size()) - 1;
            if (word == "f") faces.push_back({lines["part"], {}});
            for (int index; word == "f" && words >> index;) faces.back().second.push_back(index - 1);
        }
        EXPECT_TRUE(lines["mtllib " + name + ".mtl"] && lines["s"] == 3 && lines["usemtl"] == 3) << name;
        EXPECT_EQ(parts, "ties/ties/tie pillars/pillars/pillar rails/rails/rail ") << name;
        EXPECT_TRUE(lines["ties"] == 6 * ties && lines["rails"] == 2 * 4 * ties && lines["pillars"] > 0 &&
                    lines["pillar vertices on the ground"] == 4 * lines["pillars"] / 6) << name;
        std::map<int, double> volume;              // six times each part's, from its first vertex
        std::map<std::pair<int, int>, int> edges;  // directed edge: times used
        for (const auto& [part, f] : faces) {
            for (int i : f) ASSERT_TRUE(i >= 0 && i < int(v.size())) << name;
            const auto at = [&, part = part](std::size_t k, int c) { return v[f[k]][c] - v[part][c]; };
            for (std::size_t k = 0; k < f.size(); ++k) ++edges[{f[k], f[(k + 1) % f.size()]}];
            for (std::size_t k = 1; k + 1 < f.size(); ++k)  // the fan of triangles (0, k, k + 1)
                volume[part] += at(0, 0) * (at(k, 1) * at(k + 1, 2) - at(k, 2) * at(k + 1, 1)) -
                                at(0, 1) * (at(k, 0) * at(k + 1, 2) - at(k, 2) * at(k + 1, 0)) +
                                at(0, 2) * (at(k, 0) * at(k + 1, 1) - at(k, 1) * at(k + 1, 0));
        }
        for (const auto& [edge, uses] : edges) {
            const auto back = edges.find({edge.second, edge.first});
            ASSERT_TRUE(uses == 1 && back != edges.end() && back->second == 1) << name;
        }
        for (const auto& [first, enclosed] : volume) EXPECT_GT(enclosed, 0.0) << name << " part at vertex " << first;
    }
}

// Each material's colour is the one its part is drawn in.
TEST(RailModel, TheMaterialsAreTheDrawnColours) {
    std::istringstream in(railModelMtl());
    std::map<std::string, const float*> drawn = {{"tie", kTieBrown}, {"pillar", kPillarRed}, {"rail", kRailGrey}};
    std::string word, name;
    for (double kd[3]; in >> word;) {
        if (word == "newmtl") in >> name;
        if (word != "Kd" || !(in >> kd[0] >> kd[1] >> kd[2]) || !drawn.count(name)) continue;
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(kd[c], drawn[name][c], kPrinted) << name;
        drawn.erase(name);
    }
    EXPECT_TRUE(drawn.empty()) << "a material is missing";
}

}  // namespace
