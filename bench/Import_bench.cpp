// Importing track data: a file of 10,000 rows (a 5 km ring with hills, exported as the X key
// writes it) read, fitted and put in place, which must take well under half a second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "input/TrackExport.h"
#include "input/TrackImport.h"
#include "tests/support/TrackFixtures.h"

namespace {

// The export of a ring of `points` control points, 5 km round (10,000 rows), with a hill every tenth point: a
// few points say a 20-point ring to the tolerance, a 100-point one needs every point the fit has.
std::string exportedRing(int points, long* rows) {
    TrackView view(0, 0, 800, 600);
    double radius = 5000.0 / (2 * M_PI);
    for (int pass = 0; pass < 2; ++pass) {  // the second with the radius that makes the lap 5 km
        std::vector<Point3> ring = circle(points, static_cast<float>(radius), 3.0f);
        for (int i = 0; i < points; ++i) ring[i][1] += (i % 10) * 3.0f;
        buildRing(view, ring);
        radius *= 5000.0 / polylineLength(view, 100000);
    }
    std::string text, reason;
    trackDataCsv(view, &text, &reason);
    *rows = static_cast<long>(std::count(text.begin(), text.end(), '\n')) - 1;
    char path[] = "/tmp/kalvora-import-bench-XXXXXX";
    const int fd = mkstemp(path);
    std::FILE* file = fdopen(fd, "w");
    std::fputs(text.c_str(), file);
    std::fclose(file);
    return path;
}

}  // namespace

static void BM_Import10000Rows(benchmark::State& state) {
    long rows = 0;
    const std::string path = exportedRing(static_cast<int>(state.range(0)), &rows);
    TrackView view(0, 0, 800, 600);
    std::string line;
    for (auto _ : state) {
        importTrackFile(view, path.c_str(), &line);
        benchmark::DoNotOptimize(view.numPoints);
    }
    state.SetLabel(std::to_string(rows) + " rows: " + line.substr(line.find("\": ") + 3));
    std::remove(path.c_str());
}
BENCHMARK(BM_Import10000Rows)->Arg(20)->Arg(100)->ArgName("ring points")->Unit(benchmark::kMillisecond);
