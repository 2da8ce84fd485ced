// The start-up window-size dialog and its remembered answer in res.cfg (working directory).
// The file handling is kept apart from the widgets so it can be used without a display.
#pragma once

#include <cstdio>

constexpr const char* kWindowSizeFile = "res.cfg";
constexpr int kSizeTextSize = 5;  // at most 4 digits and the terminating zero
constexpr int kMinWindowWidth = 320, kMaxWindowWidth = 1600;
constexpr int kMinWindowHeight = 240, kMaxWindowHeight = 1200;
constexpr int kFallbackWidth = 800, kFallbackHeight = 600;

// Reads the width and then the height text from an open res.cfg. Each number is read as far as
// its leading digits, at most 4; the character that ends it (a line break, anything else, or
// the fifth character of a longer number) is consumed. End of file leaves an empty text.
void readSizeTexts(std::FILE* file, char bufferX[kSizeTextSize], char bufferY[kSizeTextSize]);

// "800" and "600", then whatever a readable file at path holds.
void loadSizeTexts(const char* path, char bufferX[kSizeTextSize], char bufferY[kSizeTextSize]);

// The OK step of the dialog: copies the first 4 characters of the typed texts into the buffers,
// parses them with strtol and stores the size. A width outside 320..1600 or a height outside
// 240..1200 makes the pair 800 x 600, in the buffers too.
void acceptSizeTexts(const char* typedWidth, const char* typedHeight, char bufferX[kSizeTextSize],
                     char bufferY[kSizeTextSize], int* width, int* height);

// Rewrites the file with bufferX, "\n", bufferY. A file that cannot be written is skipped
// silently: the accepted size is used all the same.
void saveSizeTexts(const char* path, const char* bufferX, const char* bufferY);

// Runs the modal dialog. On OK writes the accepted size through width and height and rewrites
// res.cfg; on Cancel or when the dialog is closed sets *quit to 1 and leaves the sizes alone.
void askWindowSize(int* width, int* height, int* quit);
