// A TrackView shown on the test display that keeps the picture of every frame it draws (read
// from the back buffer before the swap). Header only; display tests include it.
#pragma once

#include <FL/Fl.H>
#include <FL/gl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "track/TrackView.h"

class CapturedView : public TrackView {
public:
    CapturedView(int w, int h) : TrackView(0, 0, w, h) {}

    void draw() override {
        TrackView::draw();
        glFinish();
        frame.assign(static_cast<size_t>(w()) * h() * 3, 0);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, w(), h(), GL_RGB, GL_UNSIGNED_BYTE, frame.data());
        ++framesDrawn;
    }

    std::vector<unsigned char> frame;  // RGB rows, bottom row first, as GL reads them
    int framesDrawn = 0;
};

// Has the toolkit draw the view once more, as the animation tick does (the first time: shows
// it as a top-level window), and waits up to ten seconds for the frame.
inline void drawFrame(CapturedView& view) {
    const int before = view.framesDrawn;
    if (view.shown()) view.redraw(); else view.show();
    Fl::flush();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (view.framesDrawn == before && std::chrono::steady_clock::now() < deadline) Fl::wait(0.02);
    ASSERT_GT(view.framesDrawn, before) << "the view did not draw";
}
