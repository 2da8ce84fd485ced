// The key commands: the three blocks of polled keys with their conditions, latches and limits,
// the clear-and-reset command and the console report.
#include <FL/Enumerations.H>

#include <cstdio>

#include "app/Messages.h"
#include "input/KeyCommands.h"
#include "input/KeyPoll.h"
#include "input/StoredSettings.h"
#include "track/TrackView.h"

bool pressed(int key, int* latch, bool condition) {
    if (!keyPoll(key)) {
        *latch = 1;
        return false;
    }
    if (*latch != 1 || !condition) return false;
    *latch = 0;
    return true;
}

bool held(int key, bool condition) { return condition && keyPoll(key) != 0; }

namespace {

constexpr int kNumCameraModes = 6;  // 0 the free view, 1..5 the ride views

// Two flip rules that differ only for values other than 0 and 1, which a track file may hold.
int flipFromZero(int value) { return value == 0 ? 1 : 0; }  // 0 becomes 1, anything else 0
int flipFromOne(int value) { return value == 1 ? 0 : 1; }   // 1 becomes 0, anything else 1

// Steps a float setting with the sum formed in double and rounded once when stored.
void step(float* value, float by) { *value = static_cast<float>(static_cast<double>(*value) + by); }

const StoredSetting& kTie = kStoredSettings[kTieSpacingSetting];
const StoredSetting& kSupport = kStoredSettings[kSupportSetting];
const StoredSetting& kGravity = kStoredSettings[kGravitySetting];
const StoredSetting& kEnergy = kStoredSettings[kEnergySetting];
const StoredSetting& kSpeed = kStoredSettings[kSpeedSetting];

}  // namespace

void TrackView::runKeyBlock1() {
    if (pressed('1', &focusViewKeyLatch, selectedPoint != -1 || selectedPoint2 != -1)) {
        focusSelectedView = flipFromOne(focusSelectedView);
    }
    if (pressed('D', &defaultsKeyLatch)) {
        const TrackState start;
        trainSpeed = start.trainSpeed;
        gravity = start.gravity;
        buildTrack();
    }
    if (pressed(FL_F + 4, &rebuildKeyLatch)) buildTrack();
    if (pressed(FL_F + 3, &physicsKeyLatch)) physicsOn = flipFromZero(physicsOn);
    if (pressed('4', &lightingKeyLatch)) {
        lightingOn = flipFromZero(lightingOn);
        requestRedraw();
    }
    if (held('-', tieSpacing < kTie.high)) {
        ++tieSpacing;
        requestRedraw();
    }
    if (held('+', tieSpacing > kTie.low)) {
        --tieSpacing;
        requestRedraw();
    }
    if (held('[', supportEvery > kSupport.low)) {
        --supportEvery;
        requestRedraw();
    }
    if (held(']', supportEvery < kSupport.high)) {
        ++supportEvery;
        requestRedraw();
    }
    if (held(FL_Page_Up, gravity > kGravity.low)) {
        step(&gravity, -kGravity.step);
        buildTrack();
    }
    if (held(FL_Page_Down, gravity < kGravity.high)) {
        step(&gravity, kGravity.step);
        buildTrack();
    }
    if (pressed(FL_F + 5, &reportKeyLatch)) printReport();
    // The energy keys change the stored value only: the next train step picks it up.
    if (held(FL_Up, physicsOn == 1 && totalEnergy < kEnergy.high)) step(&totalEnergy, kEnergy.step);
    if (held(FL_Down, physicsOn == 1 && totalEnergy > kEnergy.low)) step(&totalEnergy, -kEnergy.step);
}

void TrackView::runKeyBlock2() {
    if (pressed(FL_F + 1, &loadKeyLatch)) loadTrack();
    if (pressed(FL_F + 2, &saveKeyLatch)) saveTrack();
    if (pressed('X', &exportKeyLatch)) exportTrack();
    if (pressed('K', &keptKeyLatch)) openKeptTrack();
    if (held('C')) clearAndReset();
    if (held(FL_Down, physicsOn == 0 && trainSpeed > kSpeed.low)) step(&trainSpeed, -kSpeed.step);
    if (held(FL_Up, physicsOn == 0 && trainSpeed < kSpeed.high)) step(&trainSpeed, kSpeed.step);
    if (pressed('1', &cameraModeKeyLatch, trainRunning == 1)) {
        ++cameraMode;
        if (cameraMode >= kNumCameraModes) cameraMode = 0;
    }
    if (held('2')) {
        showPoints = flipFromZero(showPoints);
        requestRedraw();
    }
    if (held('3')) {
        drawRails = flipFromOne(drawRails);
        requestRedraw();
    }
    if (pressed('B', &basisKeyLatch)) {
        useBSpline = flipFromOne(useBSpline);
        buildTrack();  // the guide ring takes the new basis at its next rebuild
        requestRedraw();
    }
    if (pressed(' ', &trainRunKeyLatch, numPoints >= kMinBuildPoints)) {
        trainRunning = flipFromOne(trainRunning);
        trainU = 0.0f;
        placeTrain();
    }
}

void TrackView::runKeyBlock3() {
    if (pressed('M', &addPointKeyLatch, cameraMode == 0 && numPoints < kMaxPoints)) addPointPair();
    if (pressed('N', &addTreeKeyLatch, numTrees < kMaxTrees)) addTree();
    if (pressed('Q', &nextPointKeyLatch)) selectNextPoint();
    if (pressed('W', &nextPoint2KeyLatch)) selectNextPoint2();
    if (pressed('E', &nextTreeKeyLatch)) selectNextTree();
    if (pressed('L', &lightMoveKeyLatch)) {
        lightMoveMode = flipFromZero(lightMoveMode);
        requestRedraw();
    }
    if (held('R')) {
        lightMoveMode = 0;
        requestRedraw();
    }
    if (held('A')) moveCameraAlongSight(+1);
    if (held('Z')) moveCameraAlongSight(-1);
    if (pressed('G', &rideReportKeyLatch)) toggleRideReport();
    if (pressed('H', &helpKeyLatch)) toggleHelp();
    if (pressed('V', &colourKeyLatch)) {
        trackColouring = (trackColouring + 1) % kNumTrackColourings;
        printMessage("track colours: %s\n", colouringName(trackColouring));
        requestRedraw();
    }
}

void TrackView::clearAndReset() {
    deleteAllRecords();
    const TrackState start;
    camEyeX = start.camEyeX, camEyeY = start.camEyeY, camDistance = start.camDistance;
    camTargetX = start.camTargetX, camTargetY = start.camTargetY, camTargetZ = start.camTargetZ;
    fieldOfView = start.fieldOfView;
    selectedPoint = start.selectedPoint, selectedPoint2 = start.selectedPoint2, selectedTree = start.selectedTree;
    prevMouseX = start.prevMouseX, prevMouseY = start.prevMouseY, mouseX = start.mouseX, mouseY = start.mouseY;
    trainRunning = start.trainRunning;
    cameraMode = start.cameraMode;
    for (int k = 0; k < 3; ++k) lightPos[k] = start.lightPos[k];
    useBSpline = start.useBSpline;
    lightMoveMode = start.lightMoveMode;
    trainSpeed = start.trainSpeed;
    showPoints = start.showPoints, drawRails = start.drawRails, lightingOn = start.lightingOn;
    tieSpacing = start.tieSpacing, supportEvery = start.supportEvery;
    beaconLevel = start.beaconLevel, beaconFalling = start.beaconFalling;
    gravity = start.gravity, trainMass = start.trainMass, physicsOn = start.physicsOn;
    focusSelectedView = start.focusSelectedView, focusViewOffset = start.focusViewOffset;
    reservedSetting = start.reservedSetting;
    trackColouring = kPlainColours;
    // Every latch is armed again except the defaults key's and the add-tree key's.
    addPointKeyLatch = start.addPointKeyLatch, nextPointKeyLatch = start.nextPointKeyLatch;
    nextPoint2KeyLatch = start.nextPoint2KeyLatch, nextTreeKeyLatch = start.nextTreeKeyLatch;
    lightMoveKeyLatch = start.lightMoveKeyLatch, loadKeyLatch = start.loadKeyLatch, saveKeyLatch = start.saveKeyLatch;
    cameraModeKeyLatch = start.cameraModeKeyLatch, lightingKeyLatch = start.lightingKeyLatch;
    physicsKeyLatch = start.physicsKeyLatch, rebuildKeyLatch = start.rebuildKeyLatch;
    focusViewKeyLatch = start.focusViewKeyLatch, basisKeyLatch = start.basisKeyLatch;
    trainRunKeyLatch = start.trainRunKeyLatch, reportKeyLatch = start.reportKeyLatch;
    requestRedraw();
}

void TrackView::printReport() {
    const float kinetic = static_cast<float>(static_cast<double>(trainMass) * trainSpeed * trainSpeed * 0.5);
    const float potential = static_cast<float>(-1.0 * gravity * trainMass * trainPos[1]);
    printMessage("\n");
    printMessage("train position: (%f,%f,%f)\n", trainPos[0], trainPos[1], trainPos[2]);
    printMessage("train speed: %f\n", trainSpeed);
    printMessage("gravitational acceleration constant: %f\n", gravity);
    printMessage("maximum track height: %f\n", maxHeight);
    printMessage("train's total energy: %f\n", totalEnergy);
    printMessage("train's kinetic energy: %f\n", kinetic);
    printMessage("train's potential energy: %f\n", potential);
    printMessage("\n");
}
