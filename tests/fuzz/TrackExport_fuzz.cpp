// libFuzzer target for the exports and the ride report: whatever track the loader accepts, each
// export either refuses it with a one-line reason or writes text every reader takes (track data
// of 13 finite numbers a row, orthonormal frames, the last row the first; a model whose every
// number is finite and whose faces name vertices before them), and the ride report's forces are
// finite wherever they are known.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "input/TrackExport.h"
#include "input/TrackFile.h"
#include "sim/RideReport.h"

namespace {

constexpr double kPrinted = 1e-4;  // unit vectors printed with six decimals

void require(bool condition) {
    if (!condition) std::abort();
}

void requireOneLineReason(const std::string& reason) { require(!reason.empty() && reason.find('\n') == std::string::npos); }

// The finite number at p, which must end at one of the characters in ends; p moves past both.
double number(const char*& p, const char* ends) {
    char* end;
    const double value = std::strtod(p, &end);
    require(end != p && std::isfinite(value) && *end && std::strchr(ends, *end));
    p = end + 1;
    return value;
}

double dot(const double* a, const double* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

void checkTrackData(const std::string& text) {
    const char* p = std::strchr(text.c_str(), '\n');
    require(p != nullptr);
    ++p;
    double first[13], row[13];
    long rows = 0;
    for (; *p; ++rows) {
        for (int k = 0; k < 13; ++k) row[k] = number(p, k < 12 ? "\t" : "\n");
        const double *f = &row[4], *l = &row[7], *u = &row[10];
        const double cross[3] = {u[1] * f[2] - u[2] * f[1], u[2] * f[0] - u[0] * f[2], u[0] * f[1] - u[1] * f[0]};
        require(row[0] == rows + 1 && std::fabs(dot(f, f) - 1) < kPrinted && std::fabs(dot(u, u) - 1) < kPrinted &&
                std::fabs(dot(f, u)) < kPrinted &&
                std::fabs(l[0] - cross[0]) + std::fabs(l[1] - cross[1]) + std::fabs(l[2] - cross[2]) < 3 * kPrinted);
        if (rows == 0) std::memcpy(first, row, sizeof row);
    }
    require(rows >= 2 && std::memcmp(first + 1, row + 1, 12 * sizeof(double)) == 0);
}

void checkModel(const std::string& text) {
    long vertices = 0;
    for (const char* p = text.c_str(); *p;) {
        const char* line = p;
        p = std::strchr(p, '\n');
        require(p != nullptr);
        ++p;
        if (line[0] == 'v') {
            const char* q = line + 2;
            number(q, " "), number(q, " "), number(q, "\n");
            ++vertices;
        } else if (line[0] == 'f') {
            const char* q = line + 2;
            for (int k = 0; k < 4; ++k) {
                const double index = number(q, k < 3 ? " " : "\n");
                require(index >= 1 && index <= vertices && index == std::floor(index));
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TrackView view(0, 0, 100, 100);  // one for each input, so that a failing input fails alone
    std::string reason;
    if (!loadTrackBytes(view, data, size, &reason) || view.numPoints < kMinBuildPoints) return 0;
    std::string text;
    if (trackDataCsv(view, &text, &reason)) checkTrackData(text);
    else requireOneLineReason(reason);
    int ties = 0;
    reason.clear(), text.clear();
    if (railModelObj(view, "model.mtl", &text, &ties, &reason)) checkModel(text);
    else requireOneLineReason(reason);
    for (const RidePlace& place : computeRideReport(view).places)  // the summary's g figures come from these
        require(!place.forcesKnown || (std::isfinite(place.verticalG) && std::isfinite(place.lateralG)));
    return 0;
}
