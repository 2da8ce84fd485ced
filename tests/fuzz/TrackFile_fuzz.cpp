// libFuzzer target for the track-file loader: whatever the bytes, loading either refuses them
// with a one-line reason and leaves the view exactly as it was, or installs a track that keeps
// every rule the rest of the program relies on, that the train can ride, and that loads back
// to itself.
#include <cstdlib>

#include "input/TrackFile.h"

static void require(bool condition) {
    if (!condition) std::abort();
}

static bool within(float value, float low, float high) { return value >= low && value <= high; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TrackView v(0, 0, 100, 100);  // carries each loaded track into the next input
    v.selectedPoint = v.numPoints - 1, v.selectedTree = v.numTrees - 1;
    const std::vector<unsigned char> before = encodeTrack(v);
    const int wasRunning = v.trainRunning;
    std::string reason;
    if (!loadTrackBytes(v, data, size, &reason)) {
        require(!reason.empty() && reason.find('\n') == std::string::npos);
        require(encodeTrack(v) == before && v.trainRunning == wasRunning);
        return 0;
    }
    require(v.numPoints2 == v.numPoints && size >= trackFileSize(v.numPoints, v.numTrees));
    // Three points or more start the train, none stops it, one or two leave it as it was.
    const int running = v.numPoints >= kMinBuildPoints ? 1 : v.numPoints == 0 ? 0 : wasRunning;
    require(within(v.selectedPoint, -1, v.numPoints - 1) && within(v.selectedPoint2, -1, v.numPoints - 1) &&
            within(v.selectedTree, -1, v.numTrees - 1) && v.trainRunning == running);
    // Huge coordinates may make the curves infinite; the train must still step on the track.
    for (int frame = 0; frame < 3 && v.trainRunning; ++frame) v.advanceTrain();
    require(v.trainU >= 0.0f && v.trainU < 1.0f);
    // What the program holds now saves and loads back to itself: the repairs are stable, and
    // whatever the train's step made of the speed loads again.
    const std::vector<unsigned char> saved = encodeTrack(v);
    require(loadTrackBytes(v, saved.data(), saved.size(), &reason) && encodeTrack(v) == saved);
    return 0;
}
