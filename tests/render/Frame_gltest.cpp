// Frames read back from a real GL context: the reference scenes compared pixel for pixel with the
// pictures of the plain drawing (tests/render/reference/, made by scripts/make-reference-images.sh
// from the renderer that sends every primitive with its own glBegin), a view that kept its track
// forms across a change with a view that never drew the old state, and the viewport of a view of
// width 0.
#include <FL/Fl_PNG_Image.H>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

#include "input/TrackFile.h"
#include "tests/support/Desktop.h"
#include "tests/support/SceneCapture.h"

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
        loadScene(kept, scene);
        drawFrame(kept);
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

TEST(Frame, AViewOfWidthZeroStillSetsItsViewport) {  // only a height of 0 would divide by zero
    CapturedView view(64, 48);
    drawFrame(view);
    view.Fl_Widget::resize(0, 0, 0, 48);  // the record's size only; the window stays
    view.TrackView::draw();
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_TRUE(viewport[2] == 0 && viewport[3] == 48) << viewport[2] << " x " << viewport[3];
}

}  // namespace
