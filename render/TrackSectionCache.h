// What the renderer keeps of the track section between frames, owned by the view through this
// pointer so that the track model compiles without GL headers (its contents: render/TrackSection.h).
#pragma once

#include <memory>

class TrackView;
struct TrackSection;
struct TrackSectionDeleter {
    void operator()(TrackSection* section) const;
};
using TrackSectionCache = std::unique_ptr<TrackSection, TrackSectionDeleter>;

// Forgets the display lists made in an earlier GL context (the view hidden and shown again gets a
// new one without them); draw calls it before a frame's passes whenever the context is new.
void forgetTrackSectionLists(TrackView& view);
