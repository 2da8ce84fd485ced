// The fixture of the input tests: a view whose handler is driven without a display, with keys
// held through the key poll, mouse events through FLTK's event state and file names answered
// through the file prompt.
#pragma once

#include <FL/Fl.H>
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

#include "app/TextPrompt.h"
#include "input/KeyPoll.h"
#include "tests/support/TrackFixtures.h"

inline Point3 at(const ControlPoint* point) { return {point->x, point->y, point->z}; }

class DrivenView : public testing::Test {
protected:
    static inline std::set<int> keys;  // the keys held down now
    // The prompt cancels while it has no answer, else answers OK with it, cut as the real prompt
    // cuts it; `prompts` counts its calls.
    static inline std::optional<std::string> answer;
    static inline int prompts = 0;
    TrackView view{0, 0, 800, 600};

    DrivenView() {
        keys.clear(), answer.reset(), prompts = 0;
        keyPoll = [](int key) { return static_cast<int>(keys.count(key)); };
        filePrompt = [](char* buffer, const char*, int, int, int, int, int) {
            ++prompts;
            if (answer) copyPromptText(buffer, answer->c_str());
            return answer ? 1 : 0;
        };
    }
    ~DrivenView() override { keyPoll = savedPoll_, filePrompt = savedPrompt_; }

    // Holds the key for `events` handler calls, then releases it for one more.
    void press(int key, int events = 1) {
        keys.insert(key);
        for (int i = 0; i < events; ++i) idle();
        keys.erase(key);
        idle();
    }
    // One event that is neither a key nor a button event: the mouse moving inside the view.
    int idle() { return send(FL_MOVE, Fl::e_x, Fl::e_y); }
    // button: 1 left, 3 right, 0 none (FLTK keeps the pushed button for the drags that follow).
    int send(int event, int x, int y, int button = 0) {
        Fl::e_x = x, Fl::e_y = y;
        if (button) Fl::e_keysym = FL_Button + button;
        return view.handle(event);
    }

private:
    KeyPoll savedPoll_ = keyPoll;
    PromptFunction savedPrompt_ = filePrompt;
};
