// The help window's "Now" lines: the track, the train, the view, the drawing, the track colours,
// the selection, the file and the undo steps, worked out from the view's state.
#include "app/NowLines.h"

#include <cstdarg>
#include <cstdio>

#include "sim/ForceBands.h"
#include "track/TrackView.h"

namespace {

std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* pattern, ...) {
    char text[256];
    std::va_list args;
    va_start(args, pattern);
    std::vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    return text;
}

// "1 point", "3 points".
std::string count(long n, const char* what) { return format("%ld %s%s", n, what, n == 1 ? "" : "s"); }

const char* onOff(int flag) { return flag == 1 ? "on" : "off"; }

// A point of either ring that the view can look down at, as the camera finds it.
bool pointSelected(const TrackView& v) {
    return (v.selectedPoint >= 0 && v.selectedPoint < v.numPoints) ||
           (v.selectedPoint2 >= 0 && v.selectedPoint2 < v.numPoints);
}

std::string viewLine(const TrackView& v) {
    if (v.trainRunning == 1 && v.cameraMode != 0)
        return format("view: ride view %d, %s", v.cameraMode, rideViewName(v.cameraMode));
    if (v.focusSelectedView == 1 && pointSelected(v)) return "view: look-down at the selected point";
    return "view: free view";
}

std::string selectionLine(const TrackView& v) {
    std::string line;
    const auto add = [&line](const std::string& part) { line += (line.empty() ? "" : ", ") + part; };
    if (v.selectedPoint != -1) add(format("track point %d of %d", v.selectedPoint + 1, v.numPoints));
    if (v.selectedPoint2 != -1) add(format("guide point %d of %d", v.selectedPoint2 + 1, v.numPoints));
    if (v.selectedTree != -1) add(format("tree %d of %d", v.selectedTree + 1, v.numTrees));
    if (line.empty()) line = "none";
    if (v.lightMoveMode == 1) line += ", light-move mode (drags move the light)";
    return "selection: " + line;
}

}  // namespace

const char* rideViewName(int cameraMode) {
    static const char* const kNames[] = {"on the train, looking ahead", "behind and above the train",
                                         "ahead of the train, looking back", "watching the train from above",
                                         "from the tower at the centre"};
    return cameraMode >= 1 && cameraMode <= 5 ? kNames[cameraMode - 1] : "";
}

std::vector<std::string> nowLines(const TrackView& v) {
    const long undo = static_cast<long>(v.undoHistory.undoSteps()), redo = static_cast<long>(v.undoHistory.redoSteps());
    return {
        "track: " + count(v.numPoints, "point") + ", " + count(v.numTrees, "tree") + ", " +
            (v.useBSpline == 1 ? "B-spline" : "Catmull-Rom"),
        format("train: %s, physics %s, speed %.2f, total energy %.1f, gravity %.1f",
               v.trainRunning == 1 ? "running" : "stopped", onOff(v.physicsOn), v.trainSpeed, v.totalEnergy, v.gravity),
        viewLine(v),
        format("drawing: lighting %s, %s, markers %s, tie spacing %d, pillar interval %d", onOff(v.lightingOn),
               v.drawRails == 1 ? "rails" : "centre line", v.showPoints == 1 ? "shown" : "hidden", v.tieSpacing,
               v.supportEvery),
        std::string("track colours: ") + colouringName(v.trackColouring),
        selectionLine(v),
        "file: " + (v.trackFileName.empty() ? std::string("none") : "\"" + v.trackFileName + "\"") +
            (v.keptTrack.unsaved() ? ", unsaved changes" : ", no unsaved changes"),
        "undo: " + count(undo, "step") + ", redo: " + count(redo, "step"),
    };
}
