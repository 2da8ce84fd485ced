// libFuzzer target for the track-file loader: whatever the bytes, loading either refuses them
// with a one-line reason and leaves the view exactly as it was, or installs a track that keeps
// every rule the rest of the program relies on, that the train can ride, and that loads back
// to itself.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "input/StoredSettings.h"
#include "input/TrackFile.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

bool within(float value, float low, float high) { return value >= low && value <= high; }

void checkLoadedView(TrackView& v, std::size_t size) {
    require(v.numPoints2 == v.numPoints && size >= trackFileSize(v.numPoints, v.numTrees));
    require(within(v.selectedPoint, -1, v.numPoints - 1) && within(v.selectedPoint2, -1, v.numPoints - 1) &&
            within(v.selectedTree, -1, v.numTrees - 1) && v.trainRunning == (v.numPoints >= kMinBuildPoints));
    for (const StoredSetting& s : kStoredSettings) {
        const float value = s.intField ? v.*s.intField : v.*s.floatField;
        require(s.repair != Repair::KeyRange || within(value, s.low - s.step, s.high + s.step));
    }
}

// Huge coordinates may make the curves infinite; the train must still step on the track.
void rideTrain(TrackView& v) {
    for (int frame = 0; frame < 3 && v.trainRunning; ++frame) v.advanceTrain();
    require(v.trainU >= 0.0f && v.trainU < 1.0f);
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
    rideTrain(view);
    // What the program holds now saves and loads back to itself: the repairs are stable, and
    // whatever the train's step made of the speed loads again.
    const std::vector<unsigned char> saved = encodeTrack(view);
    require(loadTrackBytes(view, saved.data(), saved.size(), &reason) && encodeTrack(view) == saved);
    return 0;
}
