// The frame as the renderer draws it now, compared pixel for pixel with pictures drawn by the
// plain immediate-mode renderer (one glBegin/glEnd per primitive, every colour set before its
// glBegin, the track sampled on every pass of every frame) that the display lists replaced.
// The references in tests/render/reference/ were made with scripts/make-reference-images.sh.
#include <FL/Fl_PNG_Image.H>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "input/TrackFile.h"
#include "tests/support/SceneCapture.h"

#ifndef KALVORA_SOURCE_DIR
#define KALVORA_SOURCE_DIR "."
#endif

namespace {

constexpr int kWidth = 400, kHeight = 300;

struct Scene {
    const char* name;
    const char* track;
    int drawRails, tieSpacing, supportEvery, cameraMode;
};

const Scene kScenes[] = {
    {"largest-ride-view", "largest.trk", 1, 5, 1, 2},  // the largest track from behind the train
    {"largest-dense-ties", "largest.trk", 1, 1, 3, 0},
    {"loop-inverted", "loop.trk", 1, 5, 1, 0},         // no pillars under the top of the loop
    {"figure8-centre-line", "figure8.trk", 0, 5, 1, 4},
};

void loadTrack(TrackView& view, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string reason;
    ASSERT_TRUE(loadTrackBytes(view, bytes.data(), bytes.size(), &reason)) << path << ": " << reason;
}

// The third frame after loading (the first frame has no shadow; the second compiles what the
// renderer keeps, the third replays it), with the train three steps along.
void drawScene(CapturedView& view, const Scene& scene) {
    showView(view);
    loadTrack(view, std::string(KALVORA_SOURCE_DIR) + "/tracks/" + scene.track);
    view.drawRails = scene.drawRails;
    view.tieSpacing = scene.tieSpacing;
    view.supportEvery = scene.supportEvery;
    view.cameraMode = scene.cameraMode;
    for (int i = 0; i < 3; ++i) drawFrame(view);
}

std::string referencePath(const Scene& scene) {
    return std::string(KALVORA_SOURCE_DIR) + "/tests/render/reference/" + scene.name + ".png";
}

// Writes the last frame as a binary PPM (top row first).
void writePpm(const CapturedView& view, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << view.w() << " " << view.h() << "\n255\n";
    for (int y = 0; y < view.h(); ++y)
        for (int x = 0; x < view.w(); ++x) {
            const Rgb c = view.pixel(x, y);
            out.put(static_cast<char>(c.r)).put(static_cast<char>(c.g)).put(static_cast<char>(c.b));
        }
}

TEST(FrameSameness, EveryPixelMatchesTheImmediateModePicture) {
    // KALVORA_WRITE_REFERENCES=folder writes this build's pictures there instead (for the script).
    const char* writeTo = std::getenv("KALVORA_WRITE_REFERENCES");
    for (const Scene& scene : kScenes) {
        CapturedView view(kWidth, kHeight);
        drawScene(view, scene);
        if (writeTo) {
            writePpm(view, std::string(writeTo) + "/" + scene.name + ".ppm");
            continue;
        }
        Fl_PNG_Image reference(referencePath(scene).c_str());
        ASSERT_EQ(reference.w(), kWidth) << "missing or wrong reference " << referencePath(scene);
        ASSERT_EQ(reference.h(), kHeight);
        ASSERT_EQ(reference.d(), 3);
        const unsigned char* pixels = reinterpret_cast<const unsigned char*>(reference.data()[0]);
        int differing = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const unsigned char* p = pixels + (y * kWidth + x) * 3;
                differing += view.pixel(x, y) != Rgb{p[0], p[1], p[2]};
            }
        if (differing) writePpm(view, std::string("/tmp/kalvora-") + scene.name + ".ppm");
        EXPECT_EQ(differing, 0) << scene.name << ": the picture differs (written to /tmp/kalvora-" << scene.name
                                << ".ppm)";
        // A picture that is mostly sky or ground would prove little.
        EXPECT_GT(view.count(rgb(0.0, 0.0, 0.5)), 0) << scene.name;
    }
}

}  // namespace

namespace {

// The centre line is replayed from what the renderer kept; after the points move and the curves
// are rebuilt it must show the new track, exactly as a view that never drew the old one.
TEST(FrameSameness, AReplayedCentreLineFollowsEveryRebuild) {
    auto moveAndRebuild = [](TrackView& view) {
        for (int i = 0; i < view.numPoints; ++i) {
            float x, y, z;
            view.points[i]->getPosition(&x, &y, &z);
            view.points[i]->setPosition(x + 3.0f, y + 1.0f, z);
        }
        view.buildTrack();
        view.buildTrack2();
    };
    auto prepare = [](CapturedView& view) {
        showView(view);
        loadTrack(view, std::string(KALVORA_SOURCE_DIR) + "/tracks/oval.trk");
        view.drawRails = 0;
        view.trainRunning = 0;
        tiltFreeView(view, 50.0, 40.0);
    };
    CapturedView replayed(kWidth, kHeight), fresh(kWidth, kHeight);
    prepare(replayed);
    drawFrame(replayed);
    drawFrame(replayed);
    const std::vector<unsigned char> before = replayed.frame;
    moveAndRebuild(replayed);
    drawFrame(replayed);
    prepare(fresh);
    moveAndRebuild(fresh);
    drawFrame(fresh);
    drawFrame(fresh);
    EXPECT_NE(replayed.frame, before);  // the track did move in the picture
    EXPECT_EQ(replayed.frame, fresh.frame);
}

}  // namespace
