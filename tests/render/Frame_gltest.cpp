// Frames read back from a real GL context: the reference scenes compared pixel for pixel with the
// pictures of the plain drawing (tests/render/reference/, made by scripts/make-reference-images.sh
// from the renderer that sends every primitive with its own glBegin), a view that kept its track
// forms across a change with a view that never drew the old state, and the track coloured by its
// riders' forces.
#include <FL/Fl_PNG_Image.H>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>

#include "input/TrackFile.h"
#include "render/Palette.h"
#include "tests/support/Desktop.h"
#include "tests/support/SceneCapture.h"
#include "tests/support/TrackFixtures.h"

namespace {

constexpr int kWidth = 400, kHeight = 300;

struct Scene {
    const char* name;
    const char* track;
    int drawRails, tieSpacing, supportEvery, cameraMode, selectedPoint, showPoints, trainRunning;
};

const Scene kScenes[] = {
    {"largest-ride-view", "largest.trk", 1, 5, 1, 2, -1, 1, 1},  // the largest track from behind the train
    {"largest-dense-ties", "largest.trk", 1, 1, 3, 0, -1, 1, 1},
    {"loop-inverted", "loop.trk", 1, 5, 1, 0, -1, 1, 1},         // no pillars under the top of the loop
    {"figure8-centre-line", "figure8.trk", 0, 5, 1, 4, -1, 0, 1},
    {"figure8-rails", "figure8.trk", 1, 1, 1, 0, -1, 1, 1},      // pillars through the strand below
    {"oval-selected", "oval.trk", 1, 5, 1, 0, 2, 1, 1},          // looking down at a yellow marker
    {"loop-ride-view-1", "loop.trk", 1, 5, 1, 1, -1, 1, 1},      // from the front seat
    {"loop-ride-view-3", "loop.trk", 1, 5, 1, 3, -1, 1, 1},      // from ahead, looking back at the train
    {"oval-ride-view-5", "oval.trk", 1, 5, 1, 5, -1, 1, 1},      // from the tower at (0, 5, 0)
    {"oval-centre-line", "oval.trk", 0, 5, 1, 0, -1, 0, 0},      // the train stopped: the closing line shows
};

// The scene's track and settings in a shown view (a running train three steps along after
// three frames; the first frame has no shadow, the second makes the kept forms, the third reuses them).
void loadScene(CapturedView& view, const Scene& scene, int frames = 3) {
    drawFrame(view);
    const std::string bytes = readFile(std::string(KALVORA_SOURCE_DIR) + "/tracks/" + scene.track);
    std::string reason;
    ASSERT_TRUE(loadTrackBytes(view, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &reason));
    view.drawRails = scene.drawRails, view.tieSpacing = scene.tieSpacing;
    view.supportEvery = scene.supportEvery, view.cameraMode = scene.cameraMode;
    view.selectedPoint = scene.selectedPoint, view.showPoints = scene.showPoints, view.trainRunning = scene.trainRunning;
    for (int i = 0; i < frames; ++i) drawFrame(view);
}

TEST(FrameSameness, EveryPixelMatchesThePlainDrawing) {
    // KALVORA_WRITE_REFERENCES=folder writes this build's pictures there instead (for the script).
    const char* writeTo = std::getenv("KALVORA_WRITE_REFERENCES");
    for (const Scene& scene : kScenes) {
        CapturedView view(kWidth, kHeight);
        loadScene(view, scene);
        std::vector<unsigned char> picture;  // top row first, as PNG and PPM store it
        for (int y = kHeight - 1; y >= 0; --y)
            picture.insert(picture.end(), &view.frame[y * kWidth * 3], &view.frame[(y + 1) * kWidth * 3]);
        if (writeTo) {
            std::ofstream(std::string(writeTo) + "/" + scene.name + ".ppm", std::ios::binary)
                << "P6\n" << kWidth << " " << kHeight << "\n255\n" << std::string(picture.begin(), picture.end());
            continue;
        }
        const std::string path = std::string(KALVORA_SOURCE_DIR) + "/tests/render/reference/" + scene.name + ".png";
        Fl_PNG_Image reference(path.c_str());
        ASSERT_TRUE(reference.w() == kWidth && reference.h() == kHeight && reference.d() == 3) << path;
        const auto* expected = reinterpret_cast<const unsigned char*>(reference.data()[0]);
        EXPECT_TRUE(std::equal(picture.begin(), picture.end(), expected)) << scene.name << " differs";
    }
}

TEST(FrameSameness, KeptTrackFormsFollowEveryChange) {
    const auto moveAndRebuild = [](CapturedView& v) { v.points[0]->setPosition(-6, 3, 2), v.buildTrack(), v.buildTrack2(); };
    const struct { const char* what; int drawRails; void (*change)(CapturedView&); bool shows; } cases[] = {
        {"rebuild, rails", 1, moveAndRebuild, true},
        {"rebuild, centre line", 0, moveAndRebuild, true},
        {"tie spacing", 1, [](CapturedView& v) { v.tieSpacing = 2; }, true},
        {"pillar interval", 1, [](CapturedView& v) { v.supportEvery = 4; }, true},
        {"new context, then centre line", 0, [](CapturedView& v) {
             v.drawRails = 1, drawFrame(v), v.hide(), drawFrame(v), v.drawRails = 0;  // drawn in a new context
         }, false},
    };
    for (const auto& c : cases) {
        const Scene scene = {"", "oval.trk", c.drawRails, 5, 1, 0, -1, 1, 0};  // the same picture on every frame
        CapturedView kept(kWidth, kHeight), fresh(kWidth, kHeight);
        loadScene(kept, scene, 4);
        const auto before = kept.frame;
        c.change(kept);
        drawFrame(kept);
        loadScene(fresh, scene, 0);
        c.change(fresh);
        drawFrame(fresh);
        drawFrame(fresh);
        EXPECT_TRUE(!c.shows || kept.frame != before) << c.what << ": the change shows";
        EXPECT_TRUE(kept.frame == fresh.frame) << c.what;
    }
}

// Pixels of rows [from, to) (bottom first) within a rounding of the colour: these scenes are drawn
// without lighting, so the colour sent is the colour seen.
int pixelsOf(const CapturedView& view, const float colour[3], int from = 0, int to = kHeight) {
    int n = 0;
    for (size_t i = 3 * from * kWidth; i < 3u * to * kWidth; i += 3)
        n += std::abs(view.frame[i] - 255 * colour[0]) < 1 && std::abs(view.frame[i + 1] - 255 * colour[1]) < 1 &&
             std::abs(view.frame[i + 2] - 255 * colour[2]) < 1;
    return n;
}

// A level ring of radius 8 ridden at a constant speed v presses its riders 1 g into the seat and
// v^2 / (8 |g|) sideways: 0.15 g at 5, 0.87 g at 12, 5.4 g at 30. One view draws every step, so
// its kept forms must follow each change of colouring and of the report; the shadow never changes.
// Then the same view loads tracks/loop.trk, whose riders float over the top of its loop, the
// highest thing in the scene: seen from the front, the topmost rows drawn show blue.
TEST(ForceColours, ALevelRingIsGreenUntilItsSpeedThrowsTheRidersSidewaysAndTheLoopIsBlueAtItsCrest) {
    constexpr int kTrackPixels = 1000;  // of the ring's 1,300 or more
    constexpr float kBlack[3] = {0, 0, 0}, kSky[3] = {0, 0, 0.5f};
    const int P = kPlainColours, V = kVerticalGColours, L = kLateralGColours;
    const struct { int colouring; float speed; bool rebuild; const float* seen; const float* unseen[2]; } steps[] = {
        {P, 5, false, kRailGrey, {kForceGreen, kForceRed}}, {V, 5, false, kForceGreen, {kRailGrey, kTieBrown}},
        {L, 5, false, kForceGreen, {kRailGrey, kTieBrown}}, {V, 12, false, kForceGreen, {kRailGrey, kForceYellow}},
        {L, 12, false, kForceYellow, {kRailGrey, kForceGreen}}, {L, 30, false, kForceRed, {kForceYellow, kRailGrey}},
        {L, 30, true, kForceRed, {kForceYellow, kRailGrey}}};  // rebuilt: both passes made again
    for (int rails : {0, 1}) {
        CapturedView view(kWidth, kHeight);
        drawFrame(view);
        buildRing(view, circle(12, 8.0f, 2.0f));
        view.physicsOn = 0, view.lightingOn = 0, view.showPoints = 0, view.drawRails = rails;
        view.selectedPoint = 0;  // seen from above and beside it
        int shadow = -1;
        for (const auto& s : steps) {
            view.trackColouring = s.colouring, view.trainSpeed = s.speed;
            if (s.rebuild) view.buildTrack();
            drawFrame(view);
            shadow = shadow < 0 ? pixelsOf(view, kBlack) : shadow;
            EXPECT_TRUE(pixelsOf(view, s.seen) > kTrackPixels && pixelsOf(view, kBlack) == shadow &&
                        pixelsOf(view, s.unseen[0]) + pixelsOf(view, s.unseen[1]) == 0)
                << "rails " << rails << ", colouring " << s.colouring << ", speed " << s.speed;
        }
        loadScene(view, {"", "loop.trk", rails, 5, 1, 0, -1, 0, 0}, 0);
        view.lightingOn = 0, view.trackColouring = V;
        drawFrame(view);
        int top = kHeight - 1;
        while (top > 0 && pixelsOf(view, kSky, top, top + 1) == kWidth) --top;
        EXPECT_GT(pixelsOf(view, kAirtimeBlue, top - 2, top + 1), 0) << "rails " << rails << ", row " << top;
    }
}

}  // namespace
