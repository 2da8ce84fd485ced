// The track data (CSV) and the rail model (OBJ and MTL) written as text.
#include "input/TrackExport.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include "render/Palette.h"
#include "track/RailLayout.h"
#include "track/TrackGeometry.h"

namespace {

// ---- Numbers as text ----

// Writes value as printf's "%.6f" does, some times faster (an export writes millions), and
// returns the end; out has room for kMaxFixed6 characters. The value times a million is within
// half an ulp of the exact product, so it rounds to the same integer unless it lies that close
// to a half; those and the very large go to std::to_chars, which rounds as printf does.
constexpr int kMaxFixed6 = 400;  // the widest finite double in fixed notation
char* writeFixed6(char* out, double value) {
    const double scaled = value * 1e6;
    const double whole = std::nearbyint(scaled);
    if (!(std::fabs(scaled) < 0x1p52 && std::fabs(std::fabs(scaled - whole) - 0.5) > std::fabs(scaled) * 0x1p-52))
        return std::to_chars(out, out + kMaxFixed6, value, std::chars_format::fixed, 6).ptr;
    const auto n = static_cast<std::uint64_t>(std::fabs(whole));
    if (std::signbit(value)) *out++ = '-';  // also for a value that rounds to 0, as printf
    out = std::to_chars(out, out + 24, n / 1000000).ptr;
    *out++ = '.';
    auto fraction = static_cast<unsigned>(n % 1000000);
    for (int k = 5; k >= 0; --k, fraction /= 10) out[k] = static_cast<char>('0' + fraction % 10);
    return out + 6;
}

// A line of text of a few numbers, each after its separator (none: '\0'), appended in one piece.
class Line {
public:
    explicit Line(char start) { separate(start); }
    Line& number(char separator, double value) { return separate(separator), end_ = writeFixed6(end_, value), *this; }
    Line& number(char separator, long value) {
        return separate(separator), end_ = std::to_chars(end_, end_ + 24, value).ptr, *this;
    }
    void appendTo(std::string& text) { *end_++ = '\n', text.append(buffer_, end_); }

private:
    void separate(char separator) {
        if (separator) *end_++ = separator;
    }

    char buffer_[13 * (kMaxFixed6 + 1) + 2];  // a row of the track data at most
    char* end_ = buffer_;
};

// ---- Track data ----

// Arc length along track 1 at fine, even steps of the global parameter.
struct ArcTable {
    std::vector<double> length;  // length[j]: from the start to parameter j / steps
    long steps;
};

ArcTable tabulate(const TrackView& view, long steps) {
    ArcTable table{{0.0}, steps};
    table.length.reserve(steps + 1);
    float previous[3], point[3];
    ringPointAt(view.segments, view.numPoints, 0.0, previous);
    for (long j = 1; j <= steps; ++j) {
        ringPointAt(view.segments, view.numPoints, static_cast<double>(j) / steps, point);
        const double d[3] = {static_cast<double>(point[0]) - previous[0], static_cast<double>(point[1]) - previous[1],
                             static_cast<double>(point[2]) - previous[2]};  // no overflow: float differences in double
        table.length.push_back(table.length.back() + std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]));
        std::copy(point, point + 3, previous);
    }
    return table;
}

// The global parameter at arc length s, between the two tabulated places around it. *next: the
// first place not before the last s asked for; the rows ask in increasing s, a few places apart.
double parameterAt(const ArcTable& table, double s, std::size_t* next) {
    std::size_t j = *next;
    while (j < table.length.size() && table.length[j] < s) ++j;
    *next = j;
    if (j == 0) return 0.0;
    if (j == table.length.size()) return 1.0;
    const double a = table.length[j - 1], b = table.length[j];
    return (j - 1 + (b > a ? (s - a) / (b - a) : 0.0)) / table.steps;
}

struct DataRow {
    float position[3], front[3], side[3], up[3];
    bool defined;  // the frame is the track's own, not a stand-in
};

DataRow rowAt(const TrackView& view, double u) {
    DataRow row;
    float tangent[3], guide[3], hint[3];
    ringPointAt(view.segments, view.numPoints, u, row.position);
    ringTangentAt(view.segments, view.numPoints, u, tangent);
    ringPointAt(view.segments2, view.numPoints, u, guide);
    for (int k = 0; k < 3; ++k) hint[k] = guide[k] - row.position[k];
    row.defined = makeFrame(tangent, hint, row.front, row.side, row.up);
    return row;
}

// Undefined frames take the frame of the row before, or of the first defined row for those
// before it.
void fillUndefinedFrames(std::vector<DataRow>& rows) {
    const auto first = std::find_if(rows.begin(), rows.end(), [](const DataRow& r) { return r.defined; });
    if (first == rows.end()) return;  // none defined: the stand-ins stay
    const DataRow* from = &*first;
    for (DataRow& row : rows) {
        if (row.defined) from = &row;
        std::copy(from->front, from->front + 3, row.front);
        std::copy(from->side, from->side + 3, row.side);
        std::copy(from->up, from->up + 3, row.up);
    }
}

void appendRow(std::string* text, long number, const DataRow& row) {
    Line line('\0');
    line.number('\0', number);
    // left = up x front, which is minus the side axis (the side points right of travel)
    for (const float* v : {row.position, row.front}) line.number('\t', v[0]).number('\t', v[1]).number('\t', v[2]);
    line.number('\t', -row.side[0]).number('\t', -row.side[1]).number('\t', -row.side[2]);
    line.number('\t', row.up[0]).number('\t', row.up[1]).number('\t', row.up[2]);
    line.appendTo(*text);
}

// ---- Rail model ----

using Vertex = std::array<double, 3>;
using Quad = std::array<int, 4>;  // indices into its part's vertices

// Six to the volume enclosed by the quads, from the part's first vertex.
double signedVolume(const std::vector<Vertex>& v, const std::vector<Quad>& faces) {
    const auto det = [&](const Vertex& a, const Vertex& b, const Vertex& c) {
        double p[3], q[3], r[3];
        for (int k = 0; k < 3; ++k) p[k] = a[k] - v[0][k], q[k] = b[k] - v[0][k], r[k] = c[k] - v[0][k];
        return p[0] * (q[1] * r[2] - q[2] * r[1]) - p[1] * (q[0] * r[2] - q[2] * r[0]) + p[2] * (q[0] * r[1] - q[1] * r[0]);
    };
    double volume = 0.0;
    for (const Quad& f : faces) volume += det(v[f[0]], v[f[1]], v[f[2]]) + det(v[f[0]], v[f[2]], v[f[3]]);
    return volume;
}

// The OBJ text: groups, and closed parts of quads over their own vertices.
class ObjText {
public:
    std::string text;

    bool finite = true;  // every vertex written is a finite point

    // An object and a group of the same name (importers split a file by one or the other), flat
    // shaded as Kalvora draws it.
    void group(const char* name, const char* material) {
        text += std::string("o ") + name + "\ng " + name + "\nusemtl " + material + "\ns off\n";
    }
    // The faces are wound the same way round; they are turned over when that way encloses the
    // part inside out, so every face is counter-clockwise seen from outside.
    void part(const std::vector<Vertex>& v, std::vector<Quad> faces) {
        if (signedVolume(v, faces) < 0.0)
            for (Quad& f : faces) std::reverse(f.begin(), f.end());
        for (const Vertex& p : v) {
            finite = finite && std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
            Line('v').number(' ', p[0]).number(' ', p[1]).number(' ', p[2]).appendTo(text);
        }
        for (const Quad& f : faces) {
            Line line('f');
            for (int i : f) line.number(' ', static_cast<long>(first_ + i));
            line.appendTo(text);
        }
        first_ += static_cast<int>(v.size());
    }

private:
    int first_ = 1;  // OBJ numbers vertices from 1 across the file
};

// The faces of a tube through rings of four corners each (corners of each ring in the same turn),
// joining ring k to ring k + 1, and the last back to the first when closed; an open tube gets
// its two end rings as caps. Every edge is shared by two faces.
std::vector<Quad> tubeFaces(int rings, bool closed) {
    std::vector<Quad> faces;
    for (int k = 0; k + 1 < rings || (closed && k < rings); ++k) {
        const int a = 4 * k, b = 4 * ((k + 1) % rings);
        for (int i = 0; i < 4; ++i) faces.push_back({a + i, a + (i + 1) % 4, b + (i + 1) % 4, b + i});
    }
    if (!closed) faces.push_back({3, 2, 1, 0}), faces.push_back({4 * rings - 4, 4 * rings - 3, 4 * rings - 2, 4 * rings - 1});
    return faces;
}

// A ring of four corners around centre, at (a, b) along the axes x and y, in one turn.
void addRing(std::vector<Vertex>& v, const double centre[3], const float x[3], const float y[3], double a, double b) {
    for (const auto& c : {std::array<int, 2>{1, 1}, {-1, 1}, {-1, -1}, {1, -1}})
        v.push_back({centre[0] + c[0] * a * x[0] + c[1] * b * y[0], centre[1] + c[0] * a * x[1] + c[1] * b * y[1],
                     centre[2] + c[0] * a * x[2] + c[1] * b * y[2]});
}

void writeTies(ObjText& obj, const std::vector<TieSite>& ties) {
    obj.group("ties", "tie");
    for (const TieSite& tie : ties) {
        std::vector<Vertex> v;
        for (int u : {-1, 1})
            for (const auto& c : {std::array<int, 2>{1, 1}, {-1, 1}, {-1, -1}, {1, -1}}) {
                Vertex corner;
                tieCorner(tie, c[0], u, c[1], corner.data());
                v.push_back(corner);
            }
        obj.part(v, tubeFaces(2, false));
    }
}

void writePillars(ObjText& obj, const std::vector<TieSite>& ties) {
    const auto standing = [](const TieSite& t) { return t.pillar && t.P[1] != 0.0f; };  // one of no height has no volume
    if (std::none_of(ties.begin(), ties.end(), standing)) return;
    obj.group("pillars", "pillar");
    for (const TieSite& tie : ties) {
        if (!standing(tie)) continue;
        std::vector<Vertex> v;
        for (double y : {0.0, static_cast<double>(tie.P[1])})  // the diamond, as the pillar is drawn
            for (const auto& c : {std::array<double, 2>{-1, 0}, {0, 1}, {1, 0}, {0, -1}})
                v.push_back({tie.P[0] + c[0] * kPillarHalfWidth, y, tie.P[2] + c[1] * kPillarHalfWidth});
        obj.part(v, tubeFaces(2, false));
    }
}

// Each rail through the rail points of every tie, round to the first; with two ties a straight
// bar from one to the other.
void writeRails(ObjText& obj, const std::vector<TieSite>& ties) {
    constexpr double kHalfSide = 0.02;
    if (ties.size() < 2) return;
    obj.group("rails", "rail");
    for (float(TieSite::*point)[3] : {&TieSite::right, &TieSite::left}) {
        std::vector<Vertex> v;
        for (const TieSite& tie : ties) {
            const double centre[3] = {(tie.*point)[0], (tie.*point)[1], (tie.*point)[2]};
            addRing(v, centre, tie.S, tie.U, kHalfSide, kHalfSide);
        }
        obj.part(v, tubeFaces(static_cast<int>(ties.size()), ties.size() > 2));
    }
}

bool finiteRow(const DataRow& row) {
    const float* fields[] = {row.position, row.front, row.side, row.up};
    return std::all_of(fields, fields + 4,
                       [](const float* v) { return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]); });
}

}  // namespace

const char* const kShapeNotFinite = "the track's shape is not finite";

bool trackDataCsv(const TrackView& view, std::string* text, std::string* reason) {
    constexpr long kStepsPerSegment = 200, kStepsPerRow = 2;
    ArcTable table = tabulate(view, kStepsPerSegment * view.numPoints);
    const double rows = std::max(1.0, std::ceil(table.length.back() / kTrackDataStep));
    if (!std::isfinite(rows)) {
        *reason = kShapeNotFinite;
        return false;
    }
    if (rows > kMaxTrackDataRows) {
        *reason = "the track is too long to export (more than " + std::to_string(kMaxTrackDataRows) + " rows)";
        return false;
    }
    const long n = static_cast<long>(rows);
    if (table.steps < kStepsPerRow * n) table = tabulate(view, kStepsPerRow * n);  // fine enough for even rows
    std::vector<DataRow> data;
    data.reserve(n + 1);
    std::size_t next = 0;
    for (long r = 0; r < n; ++r) data.push_back(rowAt(view, parameterAt(table, table.length.back() * r / n, &next)));
    fillUndefinedFrames(data);
    data.push_back(data.front());  // the ring closes on its first row, whatever frame that took
    if (!std::all_of(data.begin(), data.end(), finiteRow)) {
        *reason = kShapeNotFinite;
        return false;
    }
    *text = "\"No.\"\t\"PosX\"\t\"PosY\"\t\"PosZ\"\t\"FrontX\"\t\"FrontY\"\t\"FrontZ\"\t\"LeftX\"\t\"LeftY\"\t\"LeftZ\"\t"
            "\"UpX\"\t\"UpY\"\t\"UpZ\"\n";
    text->reserve(text->size() + data.size() * 128);  // a row of values under 1,000 in size
    for (std::size_t r = 0; r < data.size(); ++r) appendRow(text, static_cast<long>(r + 1), data[r]);
    return true;
}

bool railModelObj(const TrackView& view, const std::string& mtlName, std::string* text, int* ties, std::string* reason) {
    const std::vector<TieSite> sites = layRails(view);
    if (sites.size() > static_cast<std::size_t>(kMaxModelTies)) {
        *reason = "the model is too large to export (more than " + std::to_string(kMaxModelTies) + " ties)";
        return false;
    }
    *ties = static_cast<int>(sites.size());
    ObjText obj;
    obj.text = "# Kalvora rail model: ties, pillars and rails, y up, metres\nmtllib " + mtlName + "\n";
    obj.text.reserve(sites.size() * 1500);  // a tie, its pillar and its rails' rings with values under 1,000
    if (!sites.empty()) writeTies(obj, sites), writePillars(obj, sites), writeRails(obj, sites);
    if (!obj.finite) {
        *reason = kShapeNotFinite;
        return false;
    }
    *text = std::move(obj.text);
    return true;
}

std::string railModelMtl() {
    std::string text = "# Kalvora rail model materials: the colours the track is drawn in\n";
    const struct { const char* name; const float* colour; } materials[] = {
        {"tie", kTieBrown}, {"pillar", kPillarRed}, {"rail", kRailGrey}};
    for (const auto& m : materials) {
        char line[120];
        std::snprintf(line, sizeof line, "newmtl %s\nKd %.6f %.6f %.6f\n", m.name, m.colour[0], m.colour[1], m.colour[2]);
        text += line;
    }
    return text;
}
