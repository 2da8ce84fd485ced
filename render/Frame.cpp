// Placeholder frame until the renderer lands.
#include <FL/gl.h>

#include "track/TrackView.h"

void TrackView::draw() {
    glClearColor(0.0f, 0.0f, 0.5f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
