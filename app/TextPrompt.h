// The modal one-line text prompt, and the nested event loop the two dialogs share.
#pragma once

class Fl_Widget;

// Size of the callers' buffers: 63 characters and the terminating zero.
constexpr int kPromptBufferSize = 64;

// Shows a modal dialog with an input field (the caller's label and geometry, starting with the
// buffer's text) in a window windowWidth pixels wide, with "cancel" and "OK" centred below it.
// Returns 1 on OK or Enter, with the field's text in buffer (cut to kPromptBufferSize - 1 bytes
// at a character boundary); 0 on cancel or when the dialog is closed, with buffer unchanged.
int promptText(char* buffer, const char* label, int x, int y, int w, int h, int windowWidth);

// Copies text into a kPromptBufferSize buffer, cutting a longer text at the last whole UTF-8
// character that fits.
void copyPromptText(char* buffer, const char* text);

// The prompt the track-file commands call; tests replace it to answer without a display.
using PromptFunction = int (*)(char* buffer, const char* label, int x, int y, int w, int h, int windowWidth);
extern PromptFunction filePrompt;

// Runs the toolkit until ok, cancel or window comes out of the read queue (the dialogs' widgets
// have no callbacks of their own) and returns that widget; any other queued widget is skipped.
// Returns window once a signal asking Kalvora to end has closed the windows.
Fl_Widget* waitForAnswer(Fl_Widget* ok, Fl_Widget* cancel, Fl_Widget* window);
