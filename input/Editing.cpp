// The track editor: adding point pairs and trees, cycling the selections, the camera keys 'A'
// and 'Z', and the edit-target pass that moves the selected point, tree or light with drags.
#include <FL/Fl.H>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <new>

#include "app/Messages.h"
#include "input/KeyPoll.h"
#include "input/StoredSettings.h"
#include "track/TrackGeometry.h"
#include "track/TrackView.h"

namespace {

// Where 'M' puts a new track point and its guide partner, and how tall 'N' makes a tree.
constexpr float kNewPointY = 0.125f;
constexpr float kNewGuidePointY = 4.125f;
constexpr float kNewTreeHeight = 4.5f;

// World units per pixel of drag: across the ground, upwards, and for a tree's crown radius.
constexpr float kDragScale = 0.075f;
constexpr float kCrownScale = 0.005f;
// A mouse step this large between two events is a jump (the first event after a selection,
// the pointer re-entering the view), never a drag: it moves nothing.
constexpr int kMaxDragStep = 30;

enum class EditTarget { TrackPoint, GuidePoint, Tree, Light };

bool isActive(const TrackView& view, EditTarget target) {
    switch (target) {
        case EditTarget::TrackPoint: return view.selectedPoint != -1;
        case EditTarget::GuidePoint: return view.selectedPoint2 != -1;
        case EditTarget::Tree: return view.selectedTree != -1;
        case EditTarget::Light: return view.lightMoveMode == 1;
    }
    return false;
}

void shift(ControlPoint* point, float dx, float dy, float dz) {
    float x, y, z;
    point->getPosition(&x, &y, &z);
    point->setPosition(x + dx, y + dy, z + dz);
}

// Moves the target by (dx, dy, dz) world units; a right drag on a tree grows it instead of
// raising it, by rise pixels.
void moveTarget(TrackView& view, EditTarget target, float dx, float dy, float dz, int rise) {
    switch (target) {
        case EditTarget::TrackPoint:
            shift(view.points[view.selectedPoint], dx, dy, dz);
            shift(view.points2[view.selectedPoint], dx, dy, dz);  // the partner keeps its offset
            break;
        case EditTarget::GuidePoint:
            shift(view.points2[view.selectedPoint2], dx, dy, dz);
            break;
        case EditTarget::Tree: {
            ControlPoint* tree = view.trees[view.selectedTree];
            shift(tree, dx, 0.0f, dz);
            tree->setRadius(tree->getRadius() + static_cast<float>(rise) * kCrownScale);
            tree->setHeight(tree->getHeight() + static_cast<float>(rise) * kDragScale);
            break;
        }
        case EditTarget::Light:
            view.lightPos[0] += dx;
            view.lightPos[1] += dy;
            view.lightPos[2] += dz;
            break;
    }
}

// After every drag step a moved track point rebuilds both curves; on the release only the
// curve of the selected point is rebuilt. Trees and the light build nothing.
void rebuild(TrackView& view, EditTarget target, bool release) {
    if (target == EditTarget::TrackPoint) {
        view.buildTrack();
        if (!release) view.buildTrack2();
    } else if (target == EditTarget::GuidePoint) {
        view.buildTrack2();
    }
}

// One target's share of the pass. Every active target takes the mouse position in turn, so
// only the first one sees the real motion; the others apply a null move.
void editTarget(TrackView& view, EditTarget target, int event) {
    view.prevMouseX = view.mouseX;
    view.prevMouseY = view.mouseY;
    view.mouseX = Fl::event_x();
    view.mouseY = Fl::event_y();
    const int deltaX = view.mouseX - view.prevMouseX;
    const int deltaY = view.mouseY - view.prevMouseY;
    if (event == FL_RELEASE) {
        rebuild(view, target, true);
        view.requestRedraw();
    } else if (event == FL_DRAG) {
        if (std::abs(deltaX) < kMaxDragStep && std::abs(deltaY) < kMaxDragStep) {
            const int rise = view.prevMouseY - view.mouseY;  // the mouse moving up raises
            if (Fl::event_button() == FL_LEFT_MOUSE) {
                // Screen right is world +x and screen down is world +z, whatever the camera shows.
                moveTarget(view, target, static_cast<float>(deltaX) * kDragScale, 0.0f,
                           static_cast<float>(deltaY) * kDragScale, 0);
            } else if (Fl::event_button() == FL_RIGHT_MOUSE) {
                const float up = target == EditTarget::Tree ? 0.0f : static_cast<float>(rise) * kDragScale;
                moveTarget(view, target, 0.0f, up, 0.0f, target == EditTarget::Tree ? rise : 0);
            }
        }
        rebuild(view, target, false);
        view.requestRedraw();
    }
    if (target != EditTarget::Light && keyPoll('R')) view.deselectAll();
}

// A new record, or null when memory runs out.
template <typename Record, typename... Args>
Record* allocate(Args... args) {
    return new (std::nothrow) Record(args...);
}

void reportOutOfMemory() { printMessage("Out of memory: nothing was added\n"); }

}  // namespace

void TrackView::requestRedraw() {
    if (trainRunning == 0) damage(1);
}

void TrackView::placeTrain() {
    if (!(trainU >= 0.0f && trainU < 1.0f)) trainU = 0.0f;  // also catches NaN
    if (numPoints < 1) return;                               // no segment to stand on
    // Unlike the train's step, this forms the place in float: numPoints x trainU rounded once.
    // Below 1, trainU gives a product below numPoints, so the segment always exists.
    const float s = static_cast<float>(numPoints) * trainU;
    const int segment = static_cast<int>(s);
    segments[segment]->evaluate(&trainPos[0], &trainPos[1], &trainPos[2], s - static_cast<float>(segment));
}

void TrackView::addPointPair() {
    if (numPoints >= kMaxPoints) return;
    // All four records first: a pair is added whole or not at all, so the rings stay equal.
    CurveSegment* segment = allocate<CurveSegment>();
    ControlPoint* point = allocate<ControlPoint>(0.0f, kNewPointY, 0.0f, kPointRadius, kPointHeight,
                                                 kTrackPointColor[0], kTrackPointColor[1], kTrackPointColor[2]);
    CurveSegment* segment2 = allocate<CurveSegment>();
    ControlPoint* point2 = allocate<ControlPoint>(0.0f, kNewGuidePointY, 0.0f, kPointRadius, kPointHeight,
                                                  kGuidePointColor[0], kGuidePointColor[1], kGuidePointColor[2]);
    if (!segment || !point || !segment2 || !point2) {
        delete segment;
        delete point;
        delete segment2;
        delete point2;
        reportOutOfMemory();
        return;
    }
    selectedPoint2 = -1;
    const int n = numPoints;
    segments[n] = segment;
    points[n] = point;
    selectedPoint = n;  // the next drag moves the new point
    numPoints = n + 1;
    buildTrack();
    addPointKeyLatch = 0;
    const int m = numPoints2;
    segments2[m] = segment2;
    points2[m] = point2;
    numPoints2 = m + 1;
    buildTrack2();
    if (numPoints >= kMinBuildPoints) {
        trainRunning = 1;
        placeTrain();
    }
    requestRedraw();
}

void TrackView::addTree() {
    if (numTrees >= kMaxTrees) return;
    ControlPoint* tree = allocate<ControlPoint>(0.0f, 0.0f, 0.0f, kPointRadius, kNewTreeHeight, kTreeColor[0],
                                                kTreeColor[1], kTreeColor[2]);
    if (!tree) {
        reportOutOfMemory();
        return;
    }
    const int k = numTrees;
    trees[k] = tree;
    selectedTree = k;
    numTrees = k + 1;
    addTreeKeyLatch = 0;
    requestRedraw();
}

void TrackView::selectNextPoint() {
    selectedPoint2 = -1;
    if (++selectedPoint >= numPoints) selectedPoint = -1;
    nextPointKeyLatch = 0;
    requestRedraw();
}

void TrackView::selectNextPoint2() {
    selectedPoint = -1;
    selectedTree = -1;
    if (++selectedPoint2 >= numPoints) selectedPoint2 = -1;  // the guide ring has numPoints points
    nextPoint2KeyLatch = 0;
    requestRedraw();
}

void TrackView::selectNextTree() {
    selectedPoint = -1;
    selectedPoint2 = -1;
    if (++selectedTree >= numTrees) selectedTree = -1;
    nextTreeKeyLatch = 0;
    requestRedraw();
}

void TrackView::deselectAll() {
    selectedPoint = selectedPoint2 = selectedTree = -1;
    lightMoveMode = 0;
    requestRedraw();
}

void TrackView::moveCameraAlongSight(int direction) {
    if (focusSelectedView == 1 && (selectedPoint != -1 || selectedPoint2 != -1)) {
        // The look-down view: 'A' brings the eye down towards the point, 'Z' lifts it.
        const StoredSetting& offset = kStoredSettings[kFocusOffsetSetting];
        if (direction > 0 && focusViewOffset > offset.low) {
            focusViewOffset = static_cast<float>(static_cast<double>(focusViewOffset) - offset.step);
        } else if (direction < 0 && focusViewOffset < offset.high) {
            focusViewOffset = static_cast<float>(static_cast<double>(focusViewOffset) + offset.step);
        }
    } else {
        // The eye and the look-at point move together along the line of sight, one unit a step.
        float sight[3] = {static_cast<float>(camTargetX - camEyeX), static_cast<float>(camTargetY - camEyeY),
                          static_cast<float>(camTargetZ - camDistance)};
        const float length = std::sqrt(sight[0] * sight[0] + sight[1] * sight[1] + sight[2] * sight[2]);
        // Guard: an eye on the look-at point has no line of sight to move along.
        if (length > 0.0f && std::isfinite(length)) {
            for (float& s : sight) s = s / length * static_cast<float>(direction);
            camEyeX += sight[0];
            camEyeY += sight[1];
            camDistance += sight[2];
            camTargetX += sight[0];
            camTargetY += sight[1];
            camTargetZ += sight[2];
        }
    }
    requestRedraw();
}

void TrackView::runEditTargets(int event) {
    // Visited in this order; 'R' in an earlier target can end the later ones for this pass.
    for (EditTarget target : {EditTarget::TrackPoint, EditTarget::GuidePoint, EditTarget::Tree, EditTarget::Light}) {
        if (isActive(*this, target)) editTarget(*this, target, event);
    }
}
