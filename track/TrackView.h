// TrackView: the OpenGL view and the one record that holds all of Kalvora's state.
// Its member functions live in the folder of the subsystem they belong to (see README.md).
#pragma once

#include <FL/Fl_Gl_Window.H>

#include "render/TrackSectionCache.h"
#include "sim/ArcBall.h"
#include "track/ControlPoint.h"
#include "track/CurveSegment.h"

class SpeedSlider;

constexpr int kMaxPoints = 100;     // capacity of each point ring
constexpr int kMaxTrees = 50;       // capacity of the tree list
constexpr int kNumSamples = 100;    // entries of the sample table built with track 1
constexpr int kMinBuildPoints = 3;  // fewer points are never built and never ridden

// Start values the constructor and the clear key share.
constexpr double kDefaultCamEye = 35.0;
constexpr double kDefaultFieldOfView = 45.0;
constexpr float kDefaultLightPos[3] = {0.0f, 13.0f, 0.0f};
constexpr float kDefaultTrainSpeed = 3.0f;
constexpr float kDefaultGravity = -20.8f;
constexpr float kDefaultTrainMass = 100.0f;
constexpr float kDefaultFocusViewOffset = 15.0f;
constexpr int kDefaultTieSpacing = 5;

class TrackView : public Fl_Gl_Window {
public:
    // Position and size in pixels of the parent window; the view has no label.
    TrackView(int x, int y, int w, int h);
    ~TrackView() override;

    // ---- track/: records and curve construction ----
    // Coefficients (of t^3, t^2, t, 1) of one coordinate of a segment from four consecutive
    // control values, in the basis useBSpline selects.
    void basisRow(float p0, float p1, float p2, float p3, float out[4]);
    // Builds track 1's segments, lengths, maxHeight, totalEnergy and sample table.
    // Does nothing with fewer than 3 points.
    void buildTrack();
    // Builds the guide ring's segments only. Does nothing with fewer than 3 points.
    void buildTrack2();
    // Deletes every point, segment and tree record and sets the three counts to 0.
    void deleteAllRecords();

    // ---- sim/: train and camera ----
    void advanceTrain();                   // one step of the running train; called once per frame
    void placeCamera();                    // multiplies the view transform onto the modelview matrix
    void getMouseNDC(double* x, double* y);  // event position mapped to [-1, 1], y up

    // ---- render/: one frame ----
    void draw() override;
    void drawGround();
    void drawTrack(int doingShadows);  // 1: shadow pass (no colour calls), 0: normal pass
    void drawControlPointMarkers(int doingShadows);
    void drawLightMarker();
    void drawTrain(int doingShadows);
    void drawTrees(int doingShadows);
    void drawTrackSection(int doingShadows);  // from the kept display lists or arrays, made anew when stale

    // ---- input/: events, keys, editing, track files ----
    int handle(int event) override;  // 1 for push, release, drag and show; 0 otherwise
    void runKeyBlock1();
    void runKeyBlock2();
    void runKeyBlock3();
    void runEditTargets(int event);
    int dispatchEvent(int event);
    void clearAndReset();
    void printReport();
    void requestRedraw();  // damages the view unless the train is running (the tick redraws then)
    void placeTrain();     // puts the train at trainU on track 1 (trainU outside [0, 1) becomes 0)
    void addPointPair();
    void addTree();
    void selectNextPoint();
    void selectNextPoint2();
    void selectNextTree();
    void deselectAll();
    void moveCameraAlongSight(int direction);  // +1 closer ('A'), -1 away ('Z')
    void saveTrack();
    void loadTrack();
    // Makes the shown view FLTK's keyboard focus, so key releases reach it and latches re-arm.
    void takeKeyboardFocus();

    // ---- The state record ----
    SpeedSlider* speedSlider;  // the invisible slider beside the view; set by main, may be null
    // Free camera eye point and look-at point, moved together by 'A'/'Z'. Only camDistance
    // reaches the picture: the orbit view stands camDistance in front of the origin.
    double camEyeX;
    double camEyeY;
    double camDistance;  // also the z of the eye point
    double camTargetX;
    double camTargetY;
    double camTargetZ;
    double fieldOfView;  // vertical, degrees

    ControlPoint* points[kMaxPoints];     // track 1; entries below numPoints are set, others null
    CurveSegment* segments[kMaxPoints];   // one per track-1 point; filled by buildTrack
    ControlPoint* points2[kMaxPoints];    // guide ring: partner i sits above point i when added
    CurveSegment* segments2[kMaxPoints];  // filled by buildTrack2
    ControlPoint* trees[kMaxTrees];       // entries below numTrees are set, others null
    int numPoints;       // 0..100, the count of both rings
    int selectedPoint;   // index into points, -1 for none
    int numPoints2;      // always equal to numPoints
    int selectedPoint2;  // index into points2, -1 for none
    int numTrees;        // 0..50
    int selectedTree;    // index into trees, -1 for none
    // Window pixels of the mouse at the previous and the current event; updated only while an
    // edit target is active.
    int prevMouseX;
    int prevMouseY;
    int mouseX;
    int mouseY;

    // Key latches: 1 armed, 0 disarmed. A key acts once when it is down and its latch is armed
    // and is re-armed on the first event on which it is up.
    int addPointKeyLatch;    // 'M'
    int addTreeKeyLatch;     // 'N'
    int nextPointKeyLatch;   // 'Q'
    int nextPoint2KeyLatch;  // 'W'
    int nextTreeKeyLatch;    // 'E'
    int lightMoveKeyLatch;   // 'L'

    float trainPos[3];      // train's point on track 1; written by advanceTrain and placeTrain
    float trainUp[3];       // guide-ring point minus trainPos at the same parameter; not normalised
    float trainTangent[3];  // d/dt of track 1 at the train; not normalised
    float trainU;           // global parameter of the train, 0 <= trainU < 1
    int trainRunning;       // 1 while the train moves one step per redraw
    int cameraMode;         // 0 free view; 1..5 ride views (only while the train runs)
    float trackLength;      // sum of track 1's segment length values; drives sampling and ties
    float lightPos[3];      // light 0, world coordinates
    int useBSpline;         // 1: uniform cubic B-spline; anything else: Catmull-Rom
    int lightMoveMode;      // 1 while mouse drags move the light
    float trainSpeed;       // world units per 100 redraws; recomputed each step while physicsOn
    int loadKeyLatch;       // F1
    int saveKeyLatch;       // F2
    int showPoints;         // 1: control-point markers and the light marker are drawn
    int drawRails;          // 1: rails, ties and supports; anything else: a centre line
    int supportEvery;       // a support under every n-th tie, 1..50
    int cameraModeKeyLatch;  // '1' without a selected point
    int lightingOn;         // 1: lighting enabled in the frame
    int lightingKeyLatch;   // '4'
    int tieSpacing;         // ties every tieSpacing + 1 samples, 1..50
    float sampleX[kNumSamples];  // track 1 at u = k / 100; written by buildTrack
    float sampleY[kNumSamples];
    float sampleZ[kNumSamples];
    float sampleDist[kNumSamples];  // 100 x distance from sample k to k + 1; entry 99 closes the ring
    float beaconLevel;      // red of the train's roof lamp, 0..0.5
    int beaconFalling;      // 0 while the lamp brightens, 1 while it dims
    float totalEnergy;      // set by buildTrack, the energy keys and loading
    float gravity;          // acceleration along y, negative downwards
    float trainMass;
    float maxHeight;        // highest y of track 1 met by any build; never lowered
    int physicsOn;          // 1: speed from energy conservation; otherwise trainSpeed stays
    int physicsKeyLatch;    // F3
    int rebuildKeyLatch;    // F4
    int focusSelectedView;  // 1: the free view looks down at a selected point
    float focusViewOffset;  // height and +z distance of that view's eye above the point, 2..50
    int reservedSetting;    // kept in track files; nothing else reads it
    int focusViewKeyLatch;  // '1' with a selected point
    int basisKeyLatch;      // 'B'
    int trainRunKeyLatch;   // space
    int reportKeyLatch;     // F5
    int defaultsKeyLatch;   // 'D'
    ArcBall arcBall;        // the free view's rotation

    // Not part of the track's state: bumped by every buildTrack and buildTrack2, so what is
    // derived from the curves (the renderer's display lists) knows when to be made again.
    unsigned buildCount;
    TrackSectionCache trackSectionCache;  // the renderer's kept forms of the track; made by render/
};
