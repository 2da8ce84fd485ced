// libFuzzer target for the track-file loader: whatever the bytes, loading either refuses them
// with a one-line reason and leaves the view exactly as it was, or installs a track that keeps
// every rule the rest of the program relies on, and that loads back to itself.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "input/KeyCommands.h"
#include "input/TrackFile.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

bool within(int value, int low, int high) { return value >= low && value <= high; }

void checkLoadedView(const TrackView& v, std::size_t size) {
    require(within(v.numPoints, 0, kMaxPoints) && v.numPoints2 == v.numPoints && within(v.numTrees, 0, kMaxTrees));
    require(size == trackFileSize(v.numPoints, v.numTrees));
    for (int i = 0; i < v.numPoints; ++i) require(v.points[i] && v.points2[i] && v.segments[i] && v.segments2[i]);
    for (int i = 0; i < v.numTrees; ++i) require(v.trees[i] != nullptr);
    // Selections: -1 or inside their lists.
    require(within(v.selectedPoint, -1, v.numPoints - 1) && within(v.selectedPoint2, -1, v.numPoints - 1));
    require(within(v.selectedTree, -1, v.numTrees - 1));
    require(within(v.tieSpacing, kMinTieSpacing, kMaxTieSpacing) && within(v.supportEvery, kMinSupportEvery, kMaxSupportEvery));
    for (int flag : {v.useBSpline, v.drawRails, v.showPoints, v.lightingOn, v.physicsOn}) require(within(flag, 0, 1));
    require(std::isfinite(v.trainSpeed) && v.trainSpeed >= 0.0f);
    require(std::isfinite(v.totalEnergy) && std::isfinite(v.gravity) && v.gravity < 0.0f);
    require(v.focusViewOffset > 0.0f && v.focusViewOffset <= kMaxFocusViewOffset + kFocusViewStep);
    require(v.trainRunning == (v.numPoints >= kMinBuildPoints ? 1 : 0));
    if (v.trainRunning) require(std::isfinite(v.trainPos[0] + v.trainPos[1] + v.trainPos[2] + v.trackLength));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TrackView view(0, 0, 100, 100);  // carries each loaded track into the next input
    view.selectedPoint = view.numPoints - 1;
    view.selectedTree = view.numTrees - 1;
    const std::vector<unsigned char> before = encodeTrack(view);
    const int wasRunning = view.trainRunning;
    std::string reason;
    if (!loadTrackBytes(view, data, size, &reason)) {
        require(!reason.empty() && reason.find('\n') == std::string::npos);
        require(encodeTrack(view) == before && view.trainRunning == wasRunning);
        return 0;
    }
    checkLoadedView(view, size);
    // What was loaded saves and loads back to itself: the repairs are stable.
    const std::vector<unsigned char> saved = encodeTrack(view);
    require(loadTrackBytes(view, saved.data(), saved.size(), &reason) && encodeTrack(view) == saved);
    return 0;
}
