// The view's event handler: the order of one pass (keys, edit targets, keys, undo, dispatch), the
// final dispatch of the event itself, and keeping the keyboard focus on the view.
#include <FL/Fl.H>

#include <utility>

#include "track/TrackView.h"

int TrackView::handle(int event) {
    // A view without the focus is sent key presses as shortcuts but never the releases, and a
    // latch only re-arms on an event with its key up: with the mouse at rest a second press
    // would be lost. So the view takes the focus whenever the user reaches it.
    if (event == FL_ENTER || event == FL_MOVE || event == FL_PUSH || event == FL_SHORTCUT) takeKeyboardFocus();

    const int key = Fl::event_key();
    UndoMark mark = markUndoStep(event);
    runKeyBlock1();
    // The file, clear, speed, camera, display, basis and train keys wait while a point is
    // selected; a selected tree or the light-move mode does not hold them back.
    if (selectedPoint == -1 && selectedPoint2 == -1) runKeyBlock2();
    runEditTargets(event);
    runKeyBlock3();
    recordUndoStep(std::move(mark), event);
    runUndoKeys();
    // A file prompt runs its own events inside this pass, so FLTK's event state now describes
    // the prompt's last event. Handed back unused, this key event would be taken for that one:
    // the Escape that cancelled the prompt would close the main window as well.
    if ((event == FL_KEYBOARD || event == FL_SHORTCUT) && Fl::event_key() != key) return 1;
    return dispatchEvent(event);
}

// The right button turns the free view only when nothing else would take the drag.
static bool arcballTakesMouse(const TrackView& view) {
    return Fl::event_button() == FL_RIGHT_MOUSE && view.cameraMode == 0 && view.selectedTree == -1 &&
           view.selectedPoint == -1 && view.selectedPoint2 == -1 && view.lightMoveMode == 0;
}

int TrackView::dispatchEvent(int event) {
    double x, y;
    switch (event) {
        case FL_PUSH:
            if (arcballTakesMouse(*this)) {
                getMouseNDC(&x, &y);
                arcBall.beginDrag(static_cast<float>(x), static_cast<float>(y));
            }
            requestRedraw();
            return 1;
        case FL_RELEASE:
            requestRedraw();
            return 1;
        case FL_DRAG:
            if (arcballTakesMouse(*this)) {
                getMouseNDC(&x, &y);
                arcBall.dragTo(static_cast<float>(x), static_cast<float>(y));
                requestRedraw();
            }
            return 1;
        case FL_SHOW:
            show();
            takeKeyboardFocus();
            return 1;
        case FL_FOCUS:
        case FL_UNFOCUS:
            // Accepting the focus is what brings the key releases here; keyboard events
            // themselves still return 0, so Escape and other shortcuts reach the window.
            return 1;
        default:
            return 0;
    }
}

void TrackView::takeKeyboardFocus() {
    // A hidden view cannot hold the focus, and an open prompt keeps it until it closes.
    if (!shown() || Fl::focus() == this || Fl::modal()) return;
    Fl::focus(this);
}
