// TrackView: the OpenGL view and the one record that holds all of Kalvora's state.
// Its member functions live in the folder of the subsystem they belong to (see README.md).
#pragma once

#include <FL/Fl_Gl_Window.H>

#include <limits>
#include <optional>
#include <string>

#include "input/KeptTrack.h"
#include "input/UndoHistory.h"
#include "render/TrackSectionCache.h"
#include "sim/ArcBall.h"
#include "sim/ForceBands.h"
#include "sim/RideReport.h"
#include "track/ControlPoint.h"
#include "track/CurveSegment.h"

class SpeedSlider;

constexpr int kMaxPoints = 100;     // capacity of each point ring
constexpr int kMaxTrees = 50;       // capacity of the tree list
constexpr int kNumSamples = 100;    // entries of the sample table built with track 1
constexpr int kMinBuildPoints = 3;  // fewer points are never built and never ridden
// The ground spans these x and z, in world units (metres); an imported track is made to fit.
constexpr float kGroundMin = -15.0f;
constexpr float kGroundMax = 15.0f;

// Every field of the view's state, in record order, each with its start value: the view starts
// from these, and the clear key reads them back.
struct TrackState {
    SpeedSlider* speedSlider = nullptr;  // the invisible slider beside the view; set by main, may be null
    // Free camera eye point and look-at point, moved together by 'A'/'Z'. Only camDistance
    // reaches the picture: the orbit view stands camDistance in front of the origin.
    double camEyeX = 35.0;
    double camEyeY = 35.0;
    double camDistance = 35.0;  // also the z of the eye point
    double camTargetX = 0.0;
    double camTargetY = 0.0;
    double camTargetZ = 0.0;
    double fieldOfView = 45.0;  // vertical, degrees

    ControlPoint* points[kMaxPoints] = {};     // track 1; entries below numPoints are set, others null
    CurveSegment* segments[kMaxPoints] = {};   // one per track-1 point; filled by buildTrack
    ControlPoint* points2[kMaxPoints] = {};    // guide ring: partner i sits above point i when added
    CurveSegment* segments2[kMaxPoints] = {};  // filled by buildTrack2
    ControlPoint* trees[kMaxTrees] = {};       // entries below numTrees are set, others null
    int numPoints = 0;                         // 0..100, the count of both rings
    int selectedPoint = -1;                    // index into points, -1 for none
    int numPoints2 = 0;                        // always equal to numPoints
    int selectedPoint2 = -1;                   // index into points2, -1 for none
    int numTrees = 0;                          // 0..50
    int selectedTree = -1;                     // index into trees, -1 for none
    // Window pixels of the mouse at the previous and the current event; updated only while an
    // edit target is active.
    int prevMouseX = 0;
    int prevMouseY = 0;
    int mouseX = 0;
    int mouseY = 0;

    // Key latches: 1 armed, 0 disarmed. A key acts once when it is down and its latch is armed
    // and is re-armed on the first event on which it is up.
    int addPointKeyLatch = 1;    // 'M'
    int addTreeKeyLatch = 1;     // 'N'; armed, so the very first 'N' acts
    int nextPointKeyLatch = 1;   // 'Q'
    int nextPoint2KeyLatch = 1;  // 'W'
    int nextTreeKeyLatch = 1;    // 'E'
    int lightMoveKeyLatch = 1;   // 'L'

    float trainPos[3] = {};                   // train's point on track 1; written by advanceTrain and placeTrain
    float trainUp[3] = {};                    // guide-ring point minus trainPos at the same parameter; not normalised
    float trainTangent[3] = {};               // d/dt of track 1 at the train; not normalised
    float trainU = 0.0f;                      // global parameter of the train, 0 <= trainU < 1
    int trainRunning = 0;                     // 1 while the train moves one step per redraw
    int cameraMode = 0;                       // 0 free view; 1..5 ride views (only while the train runs)
    float trackLength = 0.0f;                 // sum of track 1's segment length values; drives sampling and ties
    float lightPos[3] = {0.0f, 13.0f, 0.0f};  // light 0, world coordinates
    int useBSpline = 1;                       // 1: uniform cubic B-spline; anything else: Catmull-Rom
    int lightMoveMode = 0;                    // 1 while mouse drags move the light
    float trainSpeed = 3.0f;                  // world units per 100 redraws; recomputed each step while physicsOn
    int loadKeyLatch = 1;                     // F1
    int saveKeyLatch = 1;                     // F2
    int showPoints = 1;                       // 1: control-point markers and the light marker are drawn
    int drawRails = 0;                        // 1: rails, ties and supports; anything else: a centre line
    int supportEvery = 1;                     // a support under every n-th tie, 1..50
    int cameraModeKeyLatch = 1;               // '1' without a selected point
    int lightingOn = 1;                       // 1: lighting enabled in the frame
    int lightingKeyLatch = 1;                 // '4'
    int tieSpacing = 5;                       // ties every tieSpacing + 1 samples, 1..50
    float sampleX[kNumSamples] = {};          // track 1 at u = k / 100; written by buildTrack
    float sampleY[kNumSamples] = {};
    float sampleZ[kNumSamples] = {};
    float sampleDist[kNumSamples] = {};  // 100 x distance from sample k to k + 1; entry 99 closes the ring
    float beaconLevel = 0.0f;            // red of the train's roof lamp, 0..0.5
    int beaconFalling = 0;               // 0 while the lamp brightens, 1 while it dims
    float totalEnergy = 0.0f;            // set by buildTrack, the energy keys and loading
    float gravity = -20.8f;              // acceleration along y, negative downwards
    float trainMass = 100.0f;
    // Highest y of track 1 met by any build, never lowered; starts below any height a track can
    // reach, so the first build takes the first height it meets.
    float maxHeight = std::numeric_limits<float>::lowest();
    int physicsOn = 1;              // 1: speed from energy conservation; otherwise trainSpeed stays
    int physicsKeyLatch = 1;        // F3
    int rebuildKeyLatch = 1;        // F4
    int focusSelectedView = 1;      // 1: the free view looks down at a selected point
    float focusViewOffset = 15.0f;  // height and +z distance of that view's eye above the point, 2..50
    int reservedSetting = 0;        // kept in track files; nothing else reads it
    int focusViewKeyLatch = 1;      // '1' with a selected point
    int basisKeyLatch = 1;          // 'B'
    int trainRunKeyLatch = 1;       // space
    int reportKeyLatch = 1;         // F5
    int defaultsKeyLatch = 1;       // 'D'
    ArcBall arcBall;                // the free view's rotation
};

class TrackView : public Fl_Gl_Window, public TrackState {
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
    // One step of a train whose state is passed in, on this track under these physics settings;
    // advanceTrain passes the real train, the ride report an off-screen copy.
    void stepTrain(float& trainU, float& trainSpeed, float trainPos[3], float trainTangent[3],
                   float trainUp[3]) const;
    // The square of the speed that energy conservation gives at height y; below 0 the train
    // lacks the energy to be there.
    float speedRadicand(float y) const;
    // Position, tangent and up hint of a train at global parameter u (needs numPoints >= 1).
    void placeOnTrack(float u, float pos[3], float tangent[3], float up[3]) const;
    // The ride report of the track as it is now: ridden again only when what it depends on changed.
    const KeptRideReport& currentRideReport();
    void placeCamera();                    // multiplies the view transform onto the modelview matrix
    void getMouseNDC(double* x, double* y);  // event position mapped to [-1, 1], y up

    // ---- render/: one frame ----
    void draw() override;
    void drawGround();
    void drawTrack(int doingShadows);  // 1: shadow pass (no colour calls), 0: normal pass
    void drawControlPointMarkers(int doingShadows);
    void drawLightMarker();
    void drawTrain(int doingShadows);
    void pulseBeacon();  // one step of the roof lamp's pulse, made by every call that draws the train
    void drawTrees(int doingShadows);
    void drawTrackSection(int doingShadows);  // from the kept display lists or arrays, made anew when stale

    // ---- input/: events, keys, editing, track files ----
    // 1 for push, release, drag and show, and for a key event that ran a file prompt; 0 otherwise.
    int handle(int event) override;
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
    void exportTrack();  // 'X': the track data (.csv) or the rail model (.obj and .mtl)
    // Asks for a file name with the file commands' prompt (label, e.g. "Save track file:") into a
    // buffer of kPromptBufferSize bytes; 1 when the user answered, 0 when they cancelled. A wide
    // prompt has room for a label longer than the load and save prompts'.
    int askFileName(char* name, const char* label, bool wide = false);
    // Makes the shown view FLTK's keyboard focus, so key releases reach it and latches re-arm.
    void takeKeyboardFocus();

    // ---- input/: undo and redo, unsaved changes, and a file opened from the command line ----
    UndoMark markUndoStep(int event);               // the track before an event's commands
    void recordUndoStep(UndoMark mark, int event);  // a change since the mark becomes a step
    UndoMark trackMark() const;                     // the track as it is now
    void trackMatchesFile(const std::string& name);  // after a successful save or load of it
    void runUndoKeys();                             // 'U' and 'Y'
    void stepHistory(bool back);                    // undo (back) or redo one step
    // Loads the named track file as F1 does after its prompt, with the same messages (a .csv name
    // imports track data).
    void loadTrackFile(const char* name);
    // Reads the named track file into the view, or says why not; the track is not marked saved.
    bool openTrackFile(const char* name);
    void openKeptTrack();  // 'K': the newest kept track of an earlier run, opened unsaved

    // ---- app/: the ride report and help windows ----
    void toggleRideReport();  // opens the ride report of this track, or closes it if open
    void toggleHelp();        // 'H': opens the help window, or closes it if open

    // Not part of the track's state: bumped by every buildTrack and buildTrack2, so what is
    // derived from the curves (the renderer's kept forms of the track) knows when to be made again.
    unsigned buildCount = 0;
    TrackSectionCache trackSectionCache;  // the renderer's kept forms of the track; made by render/
    KeptRideReport keptRideReport;        // the track's ride report; made by currentRideReport
    // What the track is coloured by (TrackColouring), cycled by 'V': a view setting that no track
    // file stores, back to plain with the clear key.
    int trackColouring = kPlainColours;

    // Keys and windows beyond the track's state record.
    int rideReportKeyLatch = 1;  // 'G'
    int colourKeyLatch = 1;      // 'V'
    int undoKeyLatch = 1;        // 'U'
    int redoKeyLatch = 1;        // 'Y'
    int exportKeyLatch = 1;      // 'X'
    int helpKeyLatch = 1;        // 'H'
    int keptKeyLatch = 1;        // 'K'
    // The ride report's window, made at the first 'G' and kept for reuse; null before. Owned.
    Fl_Window* rideReportWindow = nullptr;
    // The help window: made by main before the first event (so an error line can open it) or at
    // the first 'H'; null before. Owned.
    Fl_Window* helpWindow = nullptr;
    // The file the track was last saved to or loaded from, as named; "" for none, and after 'K' or
    // an import, whose track is no file's.
    std::string trackFileName;
    UndoHistory undoHistory;  // the steps U and Y move through
    // The track as a save or load of the current event left it; none when none ran in it. Set by
    // trackMatchesFile, cleared by markUndoStep: a change after it in the same event is unsaved.
    std::optional<UndoMark> fileMark;
    KeptTrack keptTrack;  // whether the track is unsaved, and its kept copy
};
