// The start-up window-size dialog and res.cfg.
#include "app/WindowSize.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>

#include <cstdlib>
#include <cstring>

#include "app/TextPrompt.h"

static void readSizeText(std::FILE* file, char buffer[kSizeTextSize]) {
    for (int i = 0;; ++i) {
        const int c = std::fgetc(file);
        if (c < '0' || c > '9' || i == kSizeTextSize - 1) {
            buffer[i] = '\0';
            return;
        }
        buffer[i] = static_cast<char>(c);
    }
}

void readSizeTexts(std::FILE* file, char bufferX[kSizeTextSize], char bufferY[kSizeTextSize]) {
    readSizeText(file, bufferX);
    readSizeText(file, bufferY);
}

void loadSizeTexts(const char* path, char bufferX[kSizeTextSize], char bufferY[kSizeTextSize]) {
    std::strcpy(bufferX, "800");
    std::strcpy(bufferY, "600");
    std::FILE* file = std::fopen(path, "r");
    if (!file) return;
    readSizeTexts(file, bufferX, bufferY);
    std::fclose(file);
}

static void copySizeText(char buffer[kSizeTextSize], const char* typed) {
    for (int i = 0; i < kSizeTextSize - 1; ++i) {
        buffer[i] = typed[i];
        if (typed[i] == '\0') return;
    }
    buffer[kSizeTextSize - 1] = '\0';
}

void acceptSizeTexts(const char* typedWidth, const char* typedHeight, char bufferX[kSizeTextSize],
                     char bufferY[kSizeTextSize], int* width, int* height) {
    copySizeText(bufferX, typedWidth);
    copySizeText(bufferY, typedHeight);
    *width = static_cast<int>(std::strtol(bufferX, nullptr, 10));
    *height = static_cast<int>(std::strtol(bufferY, nullptr, 10));
    if (*width < kMinWindowWidth || *width > kMaxWindowWidth || *height < kMinWindowHeight ||
        *height > kMaxWindowHeight) {
        *width = kFallbackWidth;
        *height = kFallbackHeight;
        std::strcpy(bufferX, "800");
        std::strcpy(bufferY, "600");
    }
}

void saveSizeTexts(const char* path, const char* bufferX, const char* bufferY) {
    std::FILE* file = std::fopen(path, "w");
    if (!file) return;
    std::fputs(bufferX, file);
    std::fputs("\n", file);
    std::fputs(bufferY, file);
    std::fclose(file);
}

void askWindowSize(int* width, int* height, int* quit) {
    char bufferX[kSizeTextSize], bufferY[kSizeTextSize];
    loadSizeTexts(kWindowSizeFile, bufferX, bufferY);

    Fl_Window window(265, 75, "Kalvora");
    Fl_Input input(140, 5, 40, 25);
    Fl_Input input2(192, 5, 40, 25, "x");
    Fl_Box box(33, 7, 100, 20, "Set window size:");
    input.value(bufferX);
    input2.value(bufferY);
    Fl_Button cancel(43, 40, 80, 25, "Cancel");
    Fl_Return_Button ok(143, 40, 80, 25, "OK");
    window.hotspot(&cancel);
    window.end();
    window.set_modal();
    window.show();

    if (waitForAnswer(&ok, &cancel, &window) != &ok) {
        *quit = 1;
        return;
    }
    acceptSizeTexts(input.value(), input2.value(), bufferX, bufferY, width, height);
    saveSizeTexts(kWindowSizeFile, bufferX, bufferY);
}
