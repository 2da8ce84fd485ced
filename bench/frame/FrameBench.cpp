// The frame benchmark: the real TrackView on a private Xvfb with Mesa, drawing N frames of a
// loaded track (each frame: the train's step, the whole draw and glFinish), for these scenes:
//   T   the figure-eight in rails mode (free view)
//   W   the largest track in rails mode, default tie spacing, train running, ride view 2
//   W1  W with ties at every other sample (tieSpacing 1)
//   L   W drawn as a centre line
//   WV, WL, LV, LL  W and L with the track coloured by vertical g (V) or lateral g (L)
// For each it prints the median and 95th percentile of the frame time, the main thread's CPU
// time per frame (llvmpipe rasterises on worker threads), and the floor: the same frame's
// geometry drawn from prebuilt vertex arrays, one draw per primitive type.
//   frame_bench [tracks folder] [frames] [scene]   (scene: one of the above; default all)
#include <FL/Fl.H>
#include <FL/gl.h>
#include <GL/glu.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "GlRecorder.h"
#include "input/TrackFile.h"
#include "track/TrackView.h"

#ifndef KALVORA_TRACKS
#define KALVORA_TRACKS "tracks"
#endif

namespace {

constexpr int kViewWidth = 800, kViewHeight = 600;
constexpr int kWarmUpFrames = 20;

struct Scene {
    const char* name;
    const char* file;
    int drawRails;
    int tieSpacing;
    int cameraMode;
    int colouring;
};

struct Timing {
    double median, p95, cpu;  // milliseconds per frame
};

double threadCpuMs() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double wallMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

template <typename Frame>
Timing measure(int frames, Frame frame) {
    for (int i = 0; i < kWarmUpFrames; ++i) frame();
    std::vector<double> wall, cpu;
    for (int i = 0; i < frames; ++i) {
        const double w0 = wallMs(), c0 = threadCpuMs();
        frame();
        glFinish();
        wall.push_back(wallMs() - w0);
        cpu.push_back(threadCpuMs() - c0);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], wall[wall.size() * 95 / 100], cpu[cpu.size() / 2]};
}

bool load(TrackView& view, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string reason;
    if (loadTrackBytes(view, bytes.data(), bytes.size(), &reason)) return true;
    std::fprintf(stderr, "%s: %s\n", path.c_str(), reason.c_str());
    return false;
}

// The floor frame: the frame's fixed steps (light, clear, projection, camera, shadow matrix,
// lighting) with the recorded geometry in place of the scene routine and the ground.
void drawFloor(TrackView& view, const RecordedPass& shadow, const RecordedPass& lit) {
    glClearColor(0.0f, 0.0f, 0.5f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glViewport(0, 0, view.w(), view.h());
    glLoadIdentity();
    gluPerspective(view.fieldOfView, static_cast<double>(view.w()) / view.h(), 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    view.placeCamera();
    static const GLdouble shadowMatrix[16] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0.01, 0, 1};
    glDisable(GL_LIGHTING);
    glPushMatrix();
    glMultMatrixd(shadowMatrix);
    glColor4f(0.0f, 0.0f, 0.0f, 0.0f);
    shadow.draw(false);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
    if (view.lightingOn == 1) glEnable(GL_LIGHTING);
    lit.draw(true);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : KALVORA_TRACKS;
    const int frames = argc > 2 ? std::atoi(argv[2]) : 300;
    const std::string only = argc > 3 ? argv[3] : "";
    // Always on a private Xvfb with Mesa's software renderer, never on the user's display.
    if (!std::getenv("KALVORA_FRAME_BENCH_XVFB")) {
        setenv("KALVORA_FRAME_BENCH_XVFB", "1", 1);
        std::vector<char*> command{const_cast<char*>("xvfb-run"), const_cast<char*>("-a"), const_cast<char*>("-s"),
                                   const_cast<char*>("-screen 0 1600x1200x24 -nolisten tcp -noreset")};
        command.insert(command.end(), argv, argv + argc + 1);
        execvp(command[0], command.data());
        return 1;
    }

    const Scene scenes[] = {{"T", "figure8.trk", 1, 5, 0, kPlainColours},
                            {"W", "largest.trk", 1, 5, 2, kPlainColours},
                            {"W1", "largest.trk", 1, 1, 2, kPlainColours},
                            {"L", "largest.trk", 0, 5, 2, kPlainColours},
                            {"WV", "largest.trk", 1, 5, 2, kVerticalGColours},
                            {"WL", "largest.trk", 1, 5, 2, kLateralGColours},
                            {"LV", "largest.trk", 0, 5, 2, kVerticalGColours},
                            {"LL", "largest.trk", 0, 5, 2, kLateralGColours}};
    std::printf("%d frames of %d x %d on %s\n", frames, kViewWidth, kViewHeight, std::getenv("DISPLAY"));
    std::printf("scene  median ms  p95 ms  main-thread CPU ms  | floor median ms  floor CPU ms  vertices | shipped/floor\n");
    for (const Scene& scene : scenes) {
        if (!only.empty() && only != scene.name) continue;
        TrackView view(0, 0, kViewWidth, kViewHeight);
        view.show();
        for (int i = 0; i < 50 && !view.valid(); ++i) Fl::wait(0.02);
        if (!load(view, folder + "/" + scene.file)) return 1;
        view.drawRails = scene.drawRails;
        view.tieSpacing = scene.tieSpacing;
        view.cameraMode = scene.cameraMode;
        view.trackColouring = scene.colouring;
        view.make_current();
        static bool first = true;
        if (first) std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
        first = false;

        const Timing shipped = measure(frames, [&] { view.draw(); });

        // The same frame's geometry, as the renderer sends it (rebuilding first, so that the
        // renderer sends the track again rather than replaying what it keeps).
        view.buildTrack();
        view.buildTrack2();
        RecordedPass shadow, lit;
        startRecording(&shadow);
        view.drawTrack(1);
        stopRecording();
        startRecording(&lit);
        view.drawGround();
        view.drawTrack(0);
        stopRecording();
        const Timing floor = measure(frames, [&] { drawFloor(view, shadow, lit); });

        std::printf("%-5s  %9.2f  %6.2f  %18.2f  | %15.2f  %12.2f  %8d | %13.2f\n", scene.name, shipped.median,
                    shipped.p95, shipped.cpu, floor.median, floor.cpu, shadow.vertexCount() + lit.vertexCount(),
                    shipped.median / floor.median);
        view.hide();
    }
    return 0;
}
