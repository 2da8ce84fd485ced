// The undo history and the view's side of it: measuring each event's commands against the track
// before them, the U and Y keys, and putting a step's track back.
#include "input/UndoHistory.h"

#include <FL/Fl.H>

#include <cstdio>
#include <string>
#include <utility>

#include "app/Messages.h"
#include "input/KeyCommands.h"
#include "input/KeyPoll.h"
#include "input/TrackFile.h"
#include "track/TrackView.h"

void UndoHistory::record(TrackImage before, Gesture gesture) {
    if (gesture != 0 && gesture == gesture_ && !undo_.empty()) return;  // the same action goes on
    redo_.clear();
    undo_.push_back(std::move(before));
    if (undo_.size() > kUndoSteps) undo_.pop_front();
    gesture_ = gesture;
}

// Moves one image from `from` to the current state and the current image onto `to`.
static bool stepBetween(std::deque<TrackImage>* from, std::deque<TrackImage>* to, TrackImage* image) {
    if (from->empty()) return false;
    to->push_back(std::move(*image));
    *image = std::move(from->back());
    from->pop_back();
    return true;
}

bool UndoHistory::undo(TrackImage* image) {
    gesture_ = 0;
    return stepBetween(&undo_, &redo_, image);
}

bool UndoHistory::redo(TrackImage* image) {
    gesture_ = 0;
    return stepBetween(&redo_, &undo_, image);
}

namespace {

// The keys that act on every event while held and change what a file stores; bit k + 1 of a
// gesture stands for entry k (bit 0 is the drag).
constexpr int kRepeatingEditKeys[] = {'-', '+', '[', ']', FL_Page_Up, FL_Page_Down, FL_Up,
                                      FL_Down, 'C', '2', '3', 'A', 'Z'};
constexpr unsigned kNumRepeatingEditKeys = sizeof kRepeatingEditKeys / sizeof kRepeatingEditKeys[0];

bool mouseHeld(int event) {
    // A key event in the middle of a drag (Shift pressed, say) still has the button down.
    return event == FL_PUSH || event == FL_DRAG || event == FL_RELEASE || Fl::event_buttons() != 0;
}

// Which of the inputs in `of` are down. Each key asked is a round trip to the X server, so an
// event asks only for the keys of a gesture still going on, and for all of them only when its
// commands changed the track.
Gesture heldGesture(int event, Gesture of = ~0u) {
    Gesture down = (of & kDragGesture) && mouseHeld(event) ? kDragGesture : 0;
    for (unsigned k = 0; k < kNumRepeatingEditKeys; ++k) {
        if ((of & (2u << k)) && keyPoll(kRepeatingEditKeys[k])) down |= 2u << k;
    }
    return down;
}

// Whether the track differs from the marked one. Frames drawn since the mark (a file prompt runs
// the event loop) may have moved the speed on; that is the train's doing, not the user's.
bool differsFrom(TrackView& view, const UndoMark& mark) {
    const float speedNow = view.trainSpeed;
    if (mark.speedMoves) view.trainSpeed = mark.speed;
    const bool differs = encodeTrack(view) != mark.before;
    view.trainSpeed = speedNow;
    return differs;
}

}  // namespace

UndoMark TrackView::markUndoStep(int event) {
    const Gesture going = undoHistory.gesture();
    if (going != 0 && heldGesture(event, going) != going) undoHistory.endGesture();
    fileMark.reset();  // a save or load of an earlier event, or of the command line, is past
    return trackMark();
}

UndoMark TrackView::trackMark() const { return {encodeTrack(*this), trainSpeed, physicsOn == 1 && trainRunning == 1}; }

void TrackView::recordUndoStep(UndoMark mark, int event) {
    const bool changed = differsFrom(*this, mark);
    // A save or load in this event holds what changed before it; only a change after it is unsaved.
    if (fileMark ? differsFrom(*this, *fileMark) : changed) keptTrack.changed(*this);
    if (changed) undoHistory.record(std::move(mark.before), heldGesture(event));
    if (event == FL_RELEASE) undoHistory.endGesture();  // the next drag is an action of its own
}

void TrackView::runUndoKeys() {
    // Never while a prompt holds the events.
    if (pressed('U', &undoKeyLatch, !Fl::modal())) stepHistory(true);
    if (pressed('Y', &redoKeyLatch, !Fl::modal())) stepHistory(false);
}

void TrackView::stepHistory(bool back) {
    const char* name = back ? "undo" : "redo";
    TrackImage image = encodeTrack(*this);
    if (!(back ? undoHistory.undo(&image) : undoHistory.redo(&image))) {
        printMessage("nothing to %s\n", name);
        return;
    }
    const int wasRunning = trainRunning;
    std::string reason;
    if (!loadTrackBytes(*this, image.data(), image.size(), &reason)) {
        printMessage("cannot %s: the track %s\n", name, reason.c_str());  // only when memory runs out
        back ? undoHistory.redo(&image) : undoHistory.undo(&image);     // the step stays where it was
        return;
    }
    // A load starts the train on three points; a step back or forth only keeps it running.
    trainRunning = wasRunning == 1 && numPoints >= kMinBuildPoints ? 1 : 0;
    keptTrack.changed(*this);
    requestRedraw();
    const std::size_t left = back ? undoHistory.undoSteps() : undoHistory.redoSteps();
    printMessage("%s: %d steps left\n", name, static_cast<int>(left));
}
