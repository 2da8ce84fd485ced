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

bool validIndex(int index, int count) { return index == -1 || (index >= 0 && index < count); }

void checkLoadedView(const TrackView& view, std::size_t size) {
    require(view.numPoints >= 0 && view.numPoints <= kMaxPoints && view.numPoints2 == view.numPoints);
    require(view.numTrees >= 0 && view.numTrees <= kMaxTrees);
    require(size == trackFileSize(view.numPoints, view.numTrees));
    for (int i = 0; i < view.numPoints; ++i) require(view.points[i] && view.points2[i] && view.segments[i] && view.segments2[i]);
    for (int i = 0; i < view.numTrees; ++i) require(view.trees[i] != nullptr);
    require(validIndex(view.selectedPoint, view.numPoints) && validIndex(view.selectedPoint2, view.numPoints));
    require(validIndex(view.selectedTree, view.numTrees));
    require(view.tieSpacing >= kMinTieSpacing && view.tieSpacing <= kMaxTieSpacing);
    require(view.supportEvery >= kMinSupportEvery && view.supportEvery <= kMaxSupportEvery);
    for (int flag : {view.useBSpline, view.drawRails, view.showPoints, view.lightingOn, view.physicsOn})
        require(flag == 0 || flag == 1);
    require(std::isfinite(view.trainSpeed) && view.trainSpeed >= 0.0f);
    require(std::isfinite(view.totalEnergy) && std::isfinite(view.gravity) && view.gravity < 0.0f);
    require(view.focusViewOffset > 0.0f && view.focusViewOffset <= kMaxFocusViewOffset + kFocusViewStep);
    require(view.trainRunning == (view.numPoints >= kMinBuildPoints ? 1 : 0));
    if (view.trainRunning) {
        for (float coordinate : view.trainPos) require(std::isfinite(coordinate));
        require(std::isfinite(view.trackLength));
    }
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
    require(loadTrackBytes(view, saved.data(), saved.size(), &reason));
    require(encodeTrack(view) == saved);
    return 0;
}
