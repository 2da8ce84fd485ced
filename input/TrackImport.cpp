// NoLimits 2 track data made a Kalvora track: reading and checking the rows, closing the ring,
// fitting both rings, fitting the scene and putting the result in place of the view's track.
#include "input/TrackImport.h"

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "input/TrackExport.h"
#include "input/TrackFile.h"

namespace {

// ---- Reading ----

constexpr int kColumns = 13;
const char* const kColumnNames[kColumns] = {"No.",    "PosX",  "PosY",  "PosZ", "FrontX", "FrontY", "FrontZ",
                                            "LeftX", "LeftY", "LeftZ", "UpX",  "UpY",    "UpZ"};
constexpr int kLineBuffer = 4096;  // a line longer than this, its end included, is refused
constexpr std::size_t kFewestRows = 4;
constexpr std::size_t kShownField = 40;  // characters of a refused field the message shows

std::string columnList() {
    std::string list;
    for (const char* name : kColumnNames) list += std::string(list.empty() ? "" : ", ") + name;
    return list;
}

std::string counted(std::size_t count, const char* what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

std::vector<std::string> splitAtTabs(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == '\t') fields.emplace_back();
        else fields.back().push_back(c);
    }
    return fields;
}

enum class Line { Read, TooLong, End };

// The next line without its LF or CRLF.
Line nextLine(std::FILE* in, std::string* line) {
    char buffer[kLineBuffer];
    if (!std::fgets(buffer, sizeof buffer, in)) return Line::End;
    std::size_t length = std::strlen(buffer);
    if (length > 0 && buffer[length - 1] == '\n') {
        --length;
    } else if (length == sizeof buffer - 1) {
        const int next = std::fgetc(in);
        if (next != EOF) return Line::TooLong;
    }
    if (length > 0 && buffer[length - 1] == '\r') --length;
    line->assign(buffer, length);
    return Line::Read;
}

bool checkHeader(std::string line, std::string* reason) {
    if (line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);  // a byte-order mark some editors write
    const std::vector<std::string> names = splitAtTabs(line);
    if (line.empty() || names.size() != kColumns) {
        *reason = (line.empty() ? std::string("an empty line") : counted(names.size(), "column name")) +
                  " found, the 13 column names " + columnList() + " expected";
        return false;
    }
    for (int c = 0; c < kColumns; ++c) {
        std::string name = names[c];
        if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
        if (name != kColumnNames[c]) {
            *reason = "column " + std::to_string(c + 1) + " is \"" + name.substr(0, kShownField) + "\", " +
                      kColumnNames[c] + " expected";
            return false;
        }
    }
    return true;
}

bool parseRow(const std::string& line, double values[kColumns], std::string* reason) {
    const std::vector<std::string> fields = splitAtTabs(line);
    if (fields.size() != kColumns) {
        *reason = counted(fields.size(), "field") + " found, 13 expected";
        return false;
    }
    for (int c = 0; c < kColumns; ++c) {
        const char* text = fields[c].c_str();
        char* end = nullptr;
        values[c] = std::strtod(text, &end);
        while (end && *end == ' ') ++end;
        const char* expected = nullptr;
        if (fields[c].empty() || end == text || *end != '\0') expected = "a number";
        else if (!std::isfinite(values[c])) expected = "a finite number";
        else if (std::fabs(values[c]) > FLT_MAX) expected = "a number within the range of single precision";
        if (expected) {
            *reason = "field " + std::to_string(c + 1) + " is \"" + fields[c].substr(0, kShownField) + "\", " +
                      expected + " expected";
            return false;
        }
    }
    return true;
}

double dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

bool orthonormal(const Vec3& f, const Vec3& l, const Vec3& u) {
    const auto near = [](double value, double target) { return std::fabs(value - target) <= kFrameTolerance; };
    return near(dot(f, f), 1) && near(dot(l, l), 1) && near(dot(u, u), 1) && near(dot(f, l), 0) &&
           near(dot(f, u), 0) && near(dot(l, u), 0);
}

TrackDataRow makeRow(const double v[kColumns]) {
    const Vec3 front{v[4], v[5], v[6]}, left{v[7], v[8], v[9]}, up{v[10], v[11], v[12]};
    return {{v[1], v[2], v[3]}, up, orthonormal(front, left, up)};
}

// ---- Fitting ----

constexpr double kClosingGap = 0.001;    // metres: a last row this near the first closes the ring
constexpr double kOpenGapRatio = 3.0;    // an end gap beyond this many median row distances is open
constexpr double kLapShare = 0.001;      // rows within this share of the lap length of the track,
constexpr double kLeastTolerance = 0.02; // but never asked closer than this, in metres
constexpr double kGuideRise = 4.0;       // metres from a track point to its guide point
constexpr double kUpAngleDegrees = 5.0;  // the track's up side follows each orthonormal row's Up this closely

double distance(const Vec3& a, const Vec3& b) { return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]); }

bool closesRing(const std::vector<TrackDataRow>& rows) {
    return distance(rows.front().position, rows.back().position) <= kClosingGap;
}

Vec3 unit(const Vec3& v) {
    const double length = std::sqrt(dot(v, v));
    return {v[0] / length, v[1] / length, v[2] / length};
}

// kGuideRise along each row's Up; a row without an orthonormal frame takes the mean of the
// nearest orthonormal rows before and after it round the ring (+y when there is none).
std::vector<Vec3> guideOffsets(const std::vector<TrackDataRow>& rows, std::size_t m) {
    std::vector<long> before(m, -1), after(m, -1);
    for (std::size_t pass = 0; pass < 2 * m; ++pass) {  // twice round, so the ring's start sees its end
        const std::size_t r = pass % m, back = m - 1 - r;
        before[r] = rows[r].orthonormal ? static_cast<long>(r) : before[(r + m - 1) % m];
        after[back] = rows[back].orthonormal ? static_cast<long>(back) : after[(back + 1) % m];
    }
    std::vector<Vec3> offsets(m);
    for (std::size_t r = 0; r < m; ++r) {
        Vec3 up{0.0, 1.0, 0.0};
        if (before[r] >= 0) {
            const Vec3 &a = rows[before[r]].up, &b = rows[after[r]].up;
            const Vec3 mean{a[0] + b[0], a[1] + b[1], a[2] + b[2]};
            up = unit(dot(mean, mean) > 1e-6 ? mean : a);
        }
        for (int k = 0; k < 3; ++k) offsets[r][k] = kGuideRise * up[k];
    }
    return offsets;
}

// Whether the up side the rings give (the guide minus the track, made perpendicular to the
// tangent, as the train and the ties take it) is within kUpAngleDegrees of every orthonormal
// row's Up.
bool upSideFollows(const RingFit& fit, const std::vector<Vec3>& rise, const std::vector<TrackDataRow>& rows) {
    const double leastCosine = std::cos(kUpAngleDegrees * M_PI / 180.0);
    for (std::size_t r = 0; r < fit.params.size(); ++r) {
        if (!rows[r].orthonormal) continue;
        Vec3 tangent;
        ringPoint(fit.control, fit.params[r], &tangent);
        if (!(dot(tangent, tangent) > 0.0)) continue;  // rows all at one place: no direction, no up side
        const Vec3 hint = ringPoint(rise, fit.params[r]);
        const double along = dot(hint, tangent) / dot(tangent, tangent);
        const Vec3 up{hint[0] - along * tangent[0], hint[1] - along * tangent[1], hint[2] - along * tangent[2]};
        if (!(dot(up, rows[r].up) >= leastCosine * std::sqrt(dot(up, up) * dot(rows[r].up, rows[r].up)))) return false;
    }
    return true;
}

// The rows' box: its centre and its largest half-extent, so that the fit works on numbers of
// size 1 whatever the file's coordinates.
struct Box {
    Vec3 low, high, centre;
    double size;
};

Box boxOf(const std::vector<TrackDataRow>& rows, std::size_t m) {
    Box box{rows[0].position, rows[0].position, {}, 0.0};
    for (std::size_t r = 0; r < m; ++r)
        for (int k = 0; k < 3; ++k) {
            box.low[k] = std::min(box.low[k], rows[r].position[k]);
            box.high[k] = std::max(box.high[k], rows[r].position[k]);
        }
    for (int k = 0; k < 3; ++k) {
        box.centre[k] = box.low[k] / 2 + box.high[k] / 2;
        box.size = std::max(box.size, box.high[k] / 2 - box.low[k] / 2);
    }
    if (!(box.size > 0.0)) box.size = 1.0;  // every row at one place
    return box;
}

float stored(double value) { return static_cast<float>(std::clamp(value, -double(FLT_MAX), double(FLT_MAX))); }

// The rings in world coordinates: where the rows are when they fit the ground; else centred over
// the origin in x and z and scaled down about the ground's centre, heights with them. rise: the
// guide ring's offsets from track 1, in file metres.
void placeOnGround(const Box& box, const RingFit& fit, const std::vector<Vec3>& rise, ImportedTrack* track) {
    track->scaled =
        box.low[0] < kGroundMin || box.high[0] > kGroundMax || box.low[2] < kGroundMin || box.high[2] > kGroundMax;
    const double halfWidth = std::max(box.high[0] / 2 - box.low[0] / 2, box.high[2] / 2 - box.low[2] / 2);
    track->scale = track->scaled && halfWidth > kGroundMax ? kGroundMax / halfWidth : 1.0;
    const Vec3 origin{track->scaled ? 0.0 : box.centre[0], box.centre[1], track->scaled ? 0.0 : box.centre[2]};
    for (std::size_t i = 0; i < fit.control.size(); ++i) {
        std::array<float, 3> point, guide;
        for (int k = 0; k < 3; ++k) {
            const double world = track->scale * (origin[k] + box.size * fit.control[i][k]);
            point[k] = stored(world);
            guide[k] = stored(world + track->scale * rise[i][k]);
        }
        track->points.push_back(point);
        track->guide.push_back(guide);
    }
}

}  // namespace

bool readTrackData(std::FILE* in, std::vector<TrackDataRow>* rows, ImportRefusal* refusal) {
    const auto refuse = [refusal](long line, const std::string& reason) {
        *refusal = {line, reason};
        return false;
    };
    rows->clear();
    std::string line, reason;
    Line got = nextLine(in, &line);
    const std::string tooLong = "a line of more than " + std::to_string(kLineBuffer - 2) + " characters found, ";
    if (got == Line::End) return refuse(1, "nothing found, the 13 column names " + columnList() + " expected");
    if (got == Line::TooLong) return refuse(1, tooLong + "the 13 column names expected");
    if (!checkHeader(line, &reason)) return refuse(1, reason);
    long number = 1, firstEmpty = 0;  // the first of the empty lines after the last row so far
    const std::string tooMany = "more than " + std::to_string(kMaxTrackDataRows) + " rows found, at most " +
                                std::to_string(kMaxTrackDataRows) + " expected";
    while ((got = nextLine(in, &line)) != Line::End) {
        ++number;
        if (got == Line::TooLong) return refuse(number, tooLong + "a row of 13 numbers expected");
        if (line.empty()) {
            firstEmpty = firstEmpty ? firstEmpty : number;
            continue;
        }
        if (firstEmpty) return refuse(firstEmpty, "an empty line found before more rows, a row expected");
        // One row more is read when it repeats the first: the export closes the ring with it.
        if (rows->size() > static_cast<std::size_t>(kMaxTrackDataRows)) return refuse(number, tooMany);
        double values[kColumns];
        if (!parseRow(line, values, &reason)) return refuse(number, reason);
        rows->push_back(makeRow(values));
    }
    const long lastRow = firstEmpty ? firstEmpty - 1 : number;
    if (rows->size() < kFewestRows)
        return refuse(lastRow + 1, counted(rows->size(), "row") + " found, at least 4 expected");
    if (rows->size() > static_cast<std::size_t>(kMaxTrackDataRows) && !closesRing(*rows))
        return refuse(lastRow, tooMany);
    return true;
}

ImportedTrack fitTrackData(const std::vector<TrackDataRow>& rows) {
    ImportedTrack track;
    const std::size_t m = rows.size() - (closesRing(rows) ? 1 : 0);
    const Box box = boxOf(rows, m);
    std::vector<Vec3> scaled(m);
    for (std::size_t r = 0; r < m; ++r)
        for (int k = 0; k < 3; ++k) scaled[r][k] = (rows[r].position[k] - box.centre[k]) / box.size;

    std::vector<double> steps(m - 1);
    double lap = 0.0;
    for (std::size_t r = 0; r + 1 < m; ++r) lap += steps[r] = distance(scaled[r], scaled[r + 1]);
    std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
    const double endGap = distance(scaled[m - 1], scaled[0]);
    track.endsJoined = endGap > kOpenGapRatio * steps[steps.size() / 2];
    lap += endGap;
    const double tolerance = std::max(kLapShare * lap, kLeastTolerance / box.size);

    const std::vector<Vec3> offsets = guideOffsets(rows, m);
    const RingFit fit = fitFewestPoints(scaled, kMinBuildPoints, kMaxPoints, [&](const RingFit& f) {
        return f.within <= tolerance &&
               upSideFollows(f, fitAtParams(offsets, f.params, static_cast<int>(f.control.size())), rows);
    });
    track.within = fit.within * box.size;
    placeOnGround(box, fit, fitAtParams(offsets, fit.params, static_cast<int>(fit.control.size())), &track);
    return track;
}

std::string importSummary(const std::string& name, const ImportedTrack& track) {
    char figures[160];
    std::snprintf(figures, sizeof figures, "%d points, every row within %.6f m", static_cast<int>(track.points.size()),
                  track.within);
    std::string line = "imported \"" + name + "\": " + figures;
    if (track.endsJoined) line += ", ends joined";
    if (track.scaled) {
        std::snprintf(figures, sizeof figures, ", scaled by %.4f to fit the ground", track.scale);
        line += figures;
    }
    return line;
}

bool importTrackFile(TrackView& view, const char* name, std::string* line) {
    const std::string refused = std::string("Error importing file \"") + name + "\": ";
    std::FILE* file = std::fopen(name, "rb");
    if (!file) {
        *line = refused + "cannot be opened: " + std::strerror(errno);
        return false;
    }
    try {
        std::vector<TrackDataRow> rows;
        ImportRefusal refusal;
        const bool read = readTrackData(file, &rows, &refusal);
        const int error = std::ferror(file) ? errno : 0;
        std::fclose(file);
        file = nullptr;
        if (error || !read) {
            *line = refused + (error ? std::string("cannot be read: ") + std::strerror(error)
                                     : "line " + std::to_string(refusal.line) + ": " + refusal.reason);
            return false;
        }
        const ImportedTrack track = fitTrackData(rows);
        TrackFileData data;
        data.settings = view;  // the light and the stored settings stay
        data.settings.useBSpline = 1;
        data.numPoints = static_cast<int>(track.points.size());
        data.numTrees = 0;
        for (int i = 0; i < data.numPoints; ++i)
            for (int k = 0; k < 3; ++k) data.points[i][k] = track.points[i][k], data.points2[i][k] = track.guide[i][k];
        std::string reason;
        const bool installed = installTrack(view, data, false, &reason);
        *line = installed ? importSummary(name, track) : refused + "out of memory";
        return installed;
    } catch (const std::bad_alloc&) {  // a file of a million rows needs a few hundred megabytes
        if (file) std::fclose(file);
        *line = refused + "out of memory";
        return false;
    }
}
