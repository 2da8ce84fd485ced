// The train's step (once per frame while it runs), saving, keeping and loading the largest track,
// and what the undo history costs on it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "input/KeyPoll.h"
#include "input/FileSave.h"
#include "input/TrackFile.h"
#include "tests/support/TrackFixtures.h"

namespace {

// The largest track a file holds: 100 points on a ring of radius 12 with hills, and 50 trees.
void buildLargest(TrackView& view) {
    std::vector<Point3> ring = circle(kMaxPoints, 12.0f, 3.0f);
    for (int i = 0; i < kMaxPoints; ++i) ring[i][1] += (i % 10) * 0.3f;
    buildRing(view, ring);
    for (int i = 0; i < kMaxTrees; ++i) {
        view.trees[view.numTrees++] = new ControlPoint(i * 0.5f, 0, -i * 0.25f, 1.0f, 4.5f, 0, 0, 0);
    }
}

}  // namespace

static void BM_AdvanceTrain(benchmark::State& state) {
    TrackView view(0, 0, 800, 600);
    buildLargest(view);
    view.physicsOn = static_cast<int>(state.range(0));
    view.trainU = 0.0f;
    for (auto _ : state) {
        view.advanceTrain();
        benchmark::DoNotOptimize(view.trainPos[0]);
    }
}
BENCHMARK(BM_AdvanceTrain)->Arg(0)->Arg(1)->ArgName("physics");

static void BM_SaveLargestTrack(benchmark::State& state) {
    TrackView view(0, 0, 800, 600);
    buildLargest(view);
    const std::string path = "/tmp/kalvora-bench-largest.trk";
    std::string reason;
    for (auto _ : state) {
        if (!saveFile(path.c_str(), encodeTrack(view), &reason)) state.SkipWithError(reason.c_str());
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_SaveLargestTrack)->Unit(benchmark::kMicrosecond);

// What the tick spends on keeping the largest unsaved track when its change is due: the file's
// bytes, the folder made if missing, and the write beside and rename (fsync included).
static void BM_KeepLargestTrack(benchmark::State& state) {
    setenv("XDG_STATE_HOME", "/tmp/kalvora-bench-state", 1);
    TrackView view(0, 0, 800, 600);
    buildLargest(view);
    for (auto _ : state) {
        view.keptTrack.changed(view);
        view.keptTrack.keepWhenDue(view, 0);             // the first tick after the change
        view.keptTrack.keepWhenDue(view, kKeepDelayMs);  // due: written
    }
    view.keptTrack.matchesFile();
    view.keptTrack.keepAtClose(view);  // saved: the kept copy goes
}
BENCHMARK(BM_KeepLargestTrack)->Unit(benchmark::kMicrosecond);

// Decoding, checking and installing the bytes: what a load does after reading the file, with
// both curve builds.
static void BM_LoadLargestTrack(benchmark::State& state) {
    TrackView source(0, 0, 800, 600);
    buildLargest(source);
    const std::vector<unsigned char> bytes = encodeTrack(source);
    TrackView view(0, 0, 800, 600);
    std::string reason;
    for (auto _ : state) {
        if (!loadTrackBytes(view, bytes.data(), bytes.size(), &reason)) state.SkipWithError(reason.c_str());
    }
}
BENCHMARK(BM_LoadLargestTrack)->Unit(benchmark::kMicrosecond);

// The undo history's toll on every event the view receives: the file image before and after the
// event's commands and their comparison (here nothing changes, as on most events).
static void BM_MeasureEventForUndo(benchmark::State& state) {
    TrackView view(0, 0, 800, 600);
    buildLargest(view);
    keyPoll = [](int) { return 0; };  // no keys held, and no display needed to ask
    for (auto _ : state) view.recordUndoStep(view.markUndoStep(FL_MOVE), FL_MOVE);
    if (view.undoHistory.undoSteps() != 0) state.SkipWithError("an unchanged track made a step");
}
BENCHMARK(BM_MeasureEventForUndo)->Unit(benchmark::kMicrosecond);

// One undo of the largest track without its console line: the current image, the step taken
// from the history and loaded with both curve builds.
static void BM_UndoLargestTrack(benchmark::State& state) {
    TrackView view(0, 0, 800, 600);
    buildLargest(view);
    std::string reason;
    for (auto _ : state) {
        view.undoHistory.record(encodeTrack(view), 0);
        TrackImage image = encodeTrack(view);
        if (!view.undoHistory.undo(&image) || !loadTrackBytes(view, image.data(), image.size(), &reason))
            state.SkipWithError("no undo");
    }
}
BENCHMARK(BM_UndoLargestTrack)->Unit(benchmark::kMicrosecond);
