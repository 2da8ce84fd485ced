// The undo history: the track-file images of the steps that can be undone and redone, and the
// held inputs whose further changes still belong to the newest step.
#pragma once

#include <cstddef>
#include <deque>
#include <vector>

// Everything a step restores: the bytes a track file of that moment would hold.
using TrackImage = std::vector<unsigned char>;

// Steps kept for undo; the oldest goes when a newer one would exceed it. An undo or redo only
// moves a step from one list to the other, so both together hold at most this many images of
// at most kMaxTrackFileBytes each (under 350 KB).
constexpr std::size_t kUndoSteps = 100;

// What a user holds during one action: the mouse button of a drag, and the repeating keys that
// change what a file stores (one bit each). 0: nothing held, an action of one event.
using Gesture = unsigned;
constexpr Gesture kDragGesture = 1u;

class UndoHistory {
public:
    // A change has just been made while `gesture` was held; `before` is the image from before
    // it. It extends the newest step when that step was made by the same gesture, held without
    // a break since; otherwise it becomes a new step and the steps that could be redone go.
    void record(TrackImage before, Gesture gesture);
    // What made the newest step while it is still held (0 none). Once an input of it is let go,
    // the caller ends it, as at a drag's release: the newest step then takes no more changes.
    Gesture gesture() const { return gesture_; }
    void endGesture() { gesture_ = 0; }

    // Steps back (undo) or forth (redo): *image holds the current image on entry and the image
    // to restore on return. False, with *image untouched, when there is no such step.
    bool undo(TrackImage* image);
    bool redo(TrackImage* image);
    std::size_t undoSteps() const { return undo_.size(); }
    std::size_t redoSteps() const { return redo_.size(); }

private:
    std::deque<TrackImage> undo_;  // images before each step, oldest first
    std::deque<TrackImage> redo_;  // images after each undone step, the next to redo last
    Gesture gesture_ = 0;          // what made the newest step, while still held; 0 none
};

// What an event's commands are measured against: the image before them, and the train speed
// then, which physics rewrites every frame while the train runs.
struct UndoMark {
    TrackImage before;
    float speed;
    bool speedMoves;  // physics was driving the running train
};
