// The help window: what the keys have set now (with the force bands while the track is coloured),
// every key, and every message Kalvora has printed, beside the main window.
#pragma once

#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Text_Buffer.H>

#include <string>
#include <vector>

class Fl_Text_Display;
class NowPane;
class TrackView;

constexpr const char* kHelpTitle = "Kalvora - Help";

class HelpWindow : public Fl_Double_Window {
public:
    // Made hidden, holding the messages printed so far; from now on it takes every new one.
    explicit HelpWindow(TrackView* view);
    ~HelpWindow() override;
    int handle(int event) override;

    void open();   // shows it beside the main window, up to date, the newest message in view
    void close();  // hides it; the close button and Escape do the same
    void refresh();  // redraws the "Now" part if what it shows has changed
    void addMessage(const std::string& line);  // at the bottom, scrolled into view

    TrackView* view;  // not owned

private:
    NowPane* now_;
    Fl_Text_Display* messages_;
    Fl_Text_Buffer keysText_;
    Fl_Text_Buffer messageText_;
    std::size_t messageLines_ = 0;  // lines in messageText_
};
