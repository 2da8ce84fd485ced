// MainWindow: the one top-level window; the view fills it.
#pragma once

#include <FL/Fl_Double_Window.H>

constexpr const char* kMainWindowTitle = "Kalvora - Build 53";

class MainWindow : public Fl_Double_Window {
public:
    MainWindow(int x, int y, int w, int h, const char* title) : Fl_Double_Window(x, y, w, h, title) {}
    ~MainWindow() override {}
};
