// TrackView construction and destruction: the start value of every field, and the records the
// view owns.
#include "track/TrackView.h"

#include <limits>

TrackView::TrackView(int x, int y, int w, int h)
    : Fl_Gl_Window(x, y, w, h),
      speedSlider(nullptr),
      camEyeX(kDefaultCamEye),
      camEyeY(kDefaultCamEye),
      camDistance(kDefaultCamEye),
      camTargetX(0.0),
      camTargetY(0.0),
      camTargetZ(0.0),
      fieldOfView(kDefaultFieldOfView),
      points{},
      segments{},
      points2{},
      segments2{},
      trees{},
      numPoints(0),
      selectedPoint(-1),
      numPoints2(0),
      selectedPoint2(-1),
      numTrees(0),
      selectedTree(-1),
      prevMouseX(0),
      prevMouseY(0),
      mouseX(0),
      mouseY(0),
      addPointKeyLatch(1),
      addTreeKeyLatch(1),  // armed, so the very first 'N' acts
      nextPointKeyLatch(1),
      nextPoint2KeyLatch(1),
      nextTreeKeyLatch(1),
      lightMoveKeyLatch(1),
      trainPos{0, 0, 0},
      trainUp{0, 0, 0},
      trainTangent{0, 0, 0},
      trainU(0.0f),
      trainRunning(0),
      cameraMode(0),
      trackLength(0.0f),
      lightPos{kDefaultLightPos[0], kDefaultLightPos[1], kDefaultLightPos[2]},
      useBSpline(1),
      lightMoveMode(0),
      trainSpeed(kDefaultTrainSpeed),
      loadKeyLatch(1),
      saveKeyLatch(1),
      showPoints(1),
      drawRails(0),
      supportEvery(1),
      cameraModeKeyLatch(1),
      lightingOn(1),
      lightingKeyLatch(1),
      tieSpacing(kDefaultTieSpacing),
      sampleX{},
      sampleY{},
      sampleZ{},
      sampleDist{},
      beaconLevel(0.0f),
      beaconFalling(0),
      totalEnergy(0.0f),
      gravity(kDefaultGravity),
      trainMass(kDefaultTrainMass),
      // Below any height a track can reach, so the first build takes the first height it meets.
      maxHeight(std::numeric_limits<float>::lowest()),
      physicsOn(1),
      physicsKeyLatch(1),
      rebuildKeyLatch(1),
      focusSelectedView(1),
      focusViewOffset(kDefaultFocusViewOffset),
      reservedSetting(0),
      focusViewKeyLatch(1),
      basisKeyLatch(1),
      trainRunKeyLatch(1),
      reportKeyLatch(1),
      defaultsKeyLatch(1),
      buildCount(0) {}

TrackView::~TrackView() {
    delete rideReportWindow;
    deleteAllRecords();
}

void TrackView::deleteAllRecords() {
    for (int i = 0; i < numPoints; ++i) {
        delete points[i];
        delete points2[i];
        delete segments[i];
        delete segments2[i];
        points[i] = nullptr;
        points2[i] = nullptr;
        segments[i] = nullptr;
        segments2[i] = nullptr;
    }
    for (int i = 0; i < numTrees; ++i) {
        delete trees[i];
        trees[i] = nullptr;
    }
    numPoints = 0;
    numPoints2 = 0;
    numTrees = 0;
}
