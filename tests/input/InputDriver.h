// Drives the view's handler without a display: keys held through the key poll, mouse events
// through FLTK's event state, and file names answered through the file prompt.
#pragma once

#include <FL/Fl.H>

#include <set>
#include <string>

#include "app/TextPrompt.h"
#include "input/KeyPoll.h"
#include "track/TrackView.h"

class InputDriver {
public:
    explicit InputDriver(TrackView& view) : view_(view), savedPoll_(keyPoll), savedPrompt_(filePrompt) {
        keys().clear();
        keyPoll = [](int key) { return static_cast<int>(keys().count(key)); };
        filePrompt = [](char* buffer, const char*, int, int, int, int, int) {
            ++prompts();
            if (cancelled()) return 0;
            copyPromptText(buffer, answer().c_str());
            return 1;
        };
        prompts() = 0;
        cancelled() = true;
    }
    ~InputDriver() {
        keyPoll = savedPoll_;
        filePrompt = savedPrompt_;
    }

    void hold(int key) { keys().insert(key); }
    void release(int key) { keys().erase(key); }
    void releaseAll() { keys().clear(); }
    // Holds the key for `events` handler calls, then releases it for one more.
    void press(int key, int events = 1) {
        hold(key);
        for (int i = 0; i < events; ++i) idle();
        release(key);
        idle();
    }
    // One event that is neither a key nor a button event: the mouse moving inside the view.
    int idle() { return send(FL_MOVE, Fl::e_x, Fl::e_y); }
    // button: 1 left, 3 right, 0 none (FLTK keeps the pushed button for the drags that follow).
    int send(int event, int x, int y, int button = 0) {
        Fl::e_x = x;
        Fl::e_y = y;
        if (button) Fl::e_keysym = FL_Button + button;
        return view_.handle(event);
    }
    // The prompt answers OK with this name from now on (cut as the real prompt cuts it), or
    // cancels; it cancels until told otherwise, and counts its calls.
    void answerPrompt(const std::string& name) {
        answer() = name;
        cancelled() = false;
    }
    void cancelPrompt() { cancelled() = true; }
    int promptCalls() const { return prompts(); }

private:
    static std::set<int>& keys() {
        static std::set<int> held;
        return held;
    }
    static std::string& answer() {
        static std::string name;
        return name;
    }
    static bool& cancelled() {
        static bool cancel;
        return cancel;
    }
    static int& prompts() {
        static int calls;
        return calls;
    }
    TrackView& view_;
    KeyPoll savedPoll_;
    PromptFunction savedPrompt_;
};
