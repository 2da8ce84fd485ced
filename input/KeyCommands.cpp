// The key commands: the three blocks of polled keys with their conditions, latches and limits,
// the clear-and-reset command and the console report.
#include <FL/Enumerations.H>

#include <cstdio>

#include "input/KeyCommands.h"
#include "input/KeyPoll.h"
#include "track/TrackView.h"

namespace {

// Once per press: true on the first pass that finds the key down with its latch armed and the
// condition met, disarming the latch. Any pass that finds the key up re-arms it; a failed
// condition leaves the latch as it is, so the key acts as soon as the condition holds.
bool pressed(int key, int* latch, bool condition = true) {
    if (!keyPoll(key)) {
        *latch = 1;
        return false;
    }
    if (*latch != 1 || !condition) return false;
    *latch = 0;
    return true;
}

// Repeat: true on every pass while the key is down and the condition holds.
bool held(int key, bool condition = true) { return condition && keyPoll(key) != 0; }

// Two flip rules that differ only for values other than 0 and 1, which a track file may hold.
int flipFromZero(int value) { return value == 0 ? 1 : 0; }  // 0 becomes 1, anything else 0
int flipFromOne(int value) { return value == 1 ? 0 : 1; }   // 1 becomes 0, anything else 1

// Steps a float setting with the sum formed in double and rounded once when stored.
void step(float* value, float by) { *value = static_cast<float>(static_cast<double>(*value) + by); }

}  // namespace

void TrackView::runKeyBlock1() {
    if (pressed('1', &focusViewKeyLatch, selectedPoint != -1 || selectedPoint2 != -1)) {
        focusSelectedView = flipFromOne(focusSelectedView);
    }
    if (pressed('D', &defaultsKeyLatch)) {
        trainSpeed = kDefaultTrainSpeed;
        gravity = kDefaultGravity;
        buildTrack();
    }
    if (pressed(FL_F + 4, &rebuildKeyLatch)) buildTrack();
    if (pressed(FL_F + 3, &physicsKeyLatch)) physicsOn = flipFromZero(physicsOn);
    if (pressed('4', &lightingKeyLatch)) {
        lightingOn = flipFromZero(lightingOn);
        requestRedraw();
    }
    if (held('-', tieSpacing < kMaxTieSpacing)) {
        ++tieSpacing;
        requestRedraw();
    }
    if (held('+', tieSpacing > kMinTieSpacing)) {
        --tieSpacing;
        requestRedraw();
    }
    if (held('[', supportEvery > kMinSupportEvery)) {
        --supportEvery;
        requestRedraw();
    }
    if (held(']', supportEvery < kMaxSupportEvery)) {
        ++supportEvery;
        requestRedraw();
    }
    if (held(FL_Page_Up, gravity > kGravityStrongest)) {
        step(&gravity, -kGravityStep);
        buildTrack();
    }
    if (held(FL_Page_Down, gravity < kGravityWeakest)) {
        step(&gravity, kGravityStep);
        buildTrack();
    }
    if (pressed(FL_F + 5, &reportKeyLatch)) printReport();
    // The energy keys change the stored value only: the next train step picks it up.
    if (held(FL_Up, physicsOn == 1 && totalEnergy < kMaxEnergy)) step(&totalEnergy, kEnergyStep);
    if (held(FL_Down, physicsOn == 1 && totalEnergy > kMinEnergy)) step(&totalEnergy, -kEnergyStep);
}

void TrackView::runKeyBlock2() {
    if (pressed(FL_F + 1, &loadKeyLatch)) loadTrack();
    if (pressed(FL_F + 2, &saveKeyLatch)) saveTrack();
    if (held('C')) clearAndReset();
    if (held(FL_Down, physicsOn == 0 && trainSpeed > kMinTrainSpeed)) step(&trainSpeed, -kTrainSpeedStep);
    if (held(FL_Up, physicsOn == 0 && trainSpeed < kMaxTrainSpeed)) step(&trainSpeed, kTrainSpeedStep);
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
}

void TrackView::clearAndReset() {
    deleteAllRecords();
    camEyeX = camEyeY = camDistance = kDefaultCamEye;
    camTargetX = camTargetY = camTargetZ = 0.0;
    fieldOfView = kDefaultFieldOfView;
    selectedPoint = selectedPoint2 = selectedTree = -1;
    prevMouseX = prevMouseY = mouseX = mouseY = 0;
    trainRunning = 0;
    cameraMode = 0;
    for (int k = 0; k < 3; ++k) lightPos[k] = kDefaultLightPos[k];
    useBSpline = 1;
    lightMoveMode = 0;
    trainSpeed = kDefaultTrainSpeed;
    showPoints = 1;
    drawRails = 0;
    lightingOn = 1;
    tieSpacing = kDefaultTieSpacing;
    supportEvery = kMinSupportEvery;
    beaconLevel = 0.0f;
    beaconFalling = 0;
    gravity = kDefaultGravity;
    trainMass = kDefaultTrainMass;
    physicsOn = 1;
    focusSelectedView = 1;
    focusViewOffset = kDefaultFocusViewOffset;
    reservedSetting = 0;
    // Every latch is armed again except the defaults key's and the add-tree key's.
    focusViewKeyLatch = rebuildKeyLatch = physicsKeyLatch = lightingKeyLatch = reportKeyLatch = 1;
    loadKeyLatch = saveKeyLatch = cameraModeKeyLatch = basisKeyLatch = trainRunKeyLatch = 1;
    addPointKeyLatch = nextPointKeyLatch = nextPoint2KeyLatch = nextTreeKeyLatch = lightMoveKeyLatch = 1;
    requestRedraw();
}

void TrackView::printReport() {
    const float kinetic = static_cast<float>(static_cast<double>(trainMass) * trainSpeed * trainSpeed * 0.5);
    const float potential = static_cast<float>(-1.0 * gravity * trainMass * trainPos[1]);
    std::printf("\n");
    std::printf("train position: (%f,%f,%f)\n", trainPos[0], trainPos[1], trainPos[2]);
    std::printf("train speed: %f\n", trainSpeed);
    std::printf("gravitational acceleration constant: %f\n", gravity);
    std::printf("maximum track height: %f\n", maxHeight);
    std::printf("train's total energy: %f\n", totalEnergy);
    std::printf("train's kinetic energy: %f\n", kinetic);
    std::printf("train's potential energy: %f\n", potential);
    std::printf("\n");
}
