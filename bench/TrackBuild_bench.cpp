// Curve construction at the sizes a user meets: every drag event of a track point rebuilds both
// rings, so a 100-point track must build well within one frame.
#include <benchmark/benchmark.h>

#include "tests/support/TrackFixtures.h"

static void BM_BuildTrack(benchmark::State& state) {
    TrackView view(0, 0, 800, 600);
    buildRing(view, circle(static_cast<int>(state.range(0)), 12.0f, 3.0f));
    for (auto _ : state) {
        view.buildTrack();
        benchmark::DoNotOptimize(view.trackLength);
    }
}
BENCHMARK(BM_BuildTrack)->Arg(4)->Arg(20)->Arg(100)->Unit(benchmark::kMicrosecond);

static void BM_BuildTrack2(benchmark::State& state) {
    TrackView view(0, 0, 800, 600);
    buildRing(view, circle(static_cast<int>(state.range(0)), 12.0f, 3.0f));
    for (auto _ : state) {
        view.buildTrack2();
        benchmark::DoNotOptimize(view.segments2[0]->coeffX[0]);
    }
}
BENCHMARK(BM_BuildTrack2)->Arg(4)->Arg(20)->Arg(100)->Unit(benchmark::kMicrosecond);

// What one drag step of a track point costs: both builds.
static void BM_DragRebuild(benchmark::State& state) {
    TrackView view(0, 0, 800, 600);
    buildRing(view, circle(static_cast<int>(state.range(0)), 12.0f, 3.0f));
    for (auto _ : state) {
        view.buildTrack();
        view.buildTrack2();
        benchmark::DoNotOptimize(view.trackLength);
    }
}
BENCHMARK(BM_DragRebuild)->Arg(100)->Unit(benchmark::kMicrosecond);
