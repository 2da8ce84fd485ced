// The exports at their worst: the longest track data written (a million rows) and the largest
// model (100,000 ties, a pillar under each), from the text to the synced files, as X writes them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "input/FileSave.h"
#include "input/TrackExport.h"
#include "tests/support/TrackFixtures.h"

namespace {

const char* const kCsvPath = "/tmp/kalvora-bench-export.csv";
const char* const kObjPath = "/tmp/kalvora-bench-export.obj";
const char* const kMtlPath = "/tmp/kalvora-bench-export.mtl";

// A ring of 100 points of the radius that makes just under a million rows of track data
// (a lap of just under 500 km).
void buildLongest(TrackView& view) { buildRing(view, circle(kMaxPoints, 79500.0f, 2.0f)); }

// A ring of 100 points with the most ties a model may have at tie spacing 1 (a tie every second
// sample), a pillar under each.
void buildMostTies(TrackView& view) {
    buildRing(view, circle(kMaxPoints, 178.0f, 2.0f));
    view.tieSpacing = 1, view.supportEvery = 1;
}

}  // namespace

static void BM_ExportLongestTrackData(benchmark::State& state) {
    TrackView view(0, 0, 800, 600);
    buildLongest(view);
    std::string text, reason;
    for (auto _ : state) {
        if (!trackDataCsv(view, &text, &reason) || !saveFile(kCsvPath, text, &reason)) state.SkipWithError(reason.c_str());
    }
    state.counters["rows"] = static_cast<double>(std::count(text.begin(), text.end(), '\n') - 1);
    state.counters["MB"] = text.size() / 1e6;
    std::remove(kCsvPath);
}
BENCHMARK(BM_ExportLongestTrackData)->Unit(benchmark::kMillisecond)->Iterations(3);

static void BM_ExportLargestModel(benchmark::State& state) {
    TrackView view(0, 0, 800, 600);
    buildMostTies(view);
    const std::string materials = railModelMtl();
    std::string text, reason;
    int ties = 0;
    for (auto _ : state) {
        std::size_t failed;
        if (!railModelObj(view, "kalvora-bench-export.mtl", &text, &ties, &reason) ||
            !saveFiles({{kObjPath, text.data(), text.size()}, {kMtlPath, materials.data(), materials.size()}}, &reason, &failed))
            state.SkipWithError(reason.c_str());
    }
    state.counters["ties"] = ties;
    state.counters["MB"] = text.size() / 1e6;
    std::remove(kObjPath), std::remove(kMtlPath);
}
BENCHMARK(BM_ExportLargestModel)->Unit(benchmark::kMillisecond)->Iterations(3);
