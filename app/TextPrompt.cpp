// The modal text prompt used to ask for track file names.
#include "app/TextPrompt.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>

#include <cstring>

#include "app/Ending.h"

PromptFunction filePrompt = promptText;

Fl_Widget* waitForAnswer(Fl_Widget* ok, Fl_Widget* cancel, Fl_Widget* window) {
    for (;;) {
        Fl::wait();
        if (endRequested()) return window;  // closed with every other window
        while (Fl_Widget* widget = Fl::readqueue()) {
            if (widget == ok || widget == cancel || widget == window) return widget;
        }
    }
}

void copyPromptText(char* buffer, const char* text) {
    size_t length = std::strlen(text);
    if (length > kPromptBufferSize - 1) {
        length = kPromptBufferSize - 1;
        // Step back over continuation bytes (10xxxxxx) so no character is cut in half.
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
    }
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
}

int promptText(char* buffer, const char* label, int x, int y, int w, int h, int windowWidth) {
    Fl_Window window(windowWidth, 75);
    Fl_Input input(x, y, w, h, label);
    input.maximum_size(kPromptBufferSize - 1);  // the field itself stops where the buffer ends
    input.value(buffer);
    const int cancelX = (windowWidth - 170) / 2;
    Fl_Button cancel(cancelX, 40, 80, 25, "cancel");
    Fl_Return_Button ok(cancelX + 90, 40, 80, 25, "OK");
    window.hotspot(&cancel);
    window.end();
    window.set_modal();
    window.show();

    if (waitForAnswer(&ok, &cancel, &window) != &ok) return 0;
    copyPromptText(buffer, input.value());
    return 1;
}
