// The modal text prompt, answered with real keys and clicks through the X server.
#include <gtest/gtest.h>

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <cstring>
#include <string>
#include <thread>

#include "app/TextPrompt.h"
#include "tests/support/Desktop.h"

namespace {

// Once the prompt is up (inside promptText's own loop), runs the given xdotool commands on it
// from another thread, as a user would; commands are separated by ";".
class PromptDriver {
public:
    explicit PromptDriver(std::string actions) : actions_(std::move(actions)) {
        Fl::add_timeout(0.3, onShown, this);
    }
    ~PromptDriver() {
        if (worker_.joinable()) worker_.join();
    }
    int cancelX = -1, okX = -1;  // the dialog's buttons as shown

private:
    static void onShown(void* data) {
        auto* self = static_cast<PromptDriver*>(data);
        Fl_Window* dialog = Fl::first_window();
        const std::string id = std::to_string(fl_xid(dialog));
        self->cancelX = dialog->child(1)->x();
        self->okX = dialog->child(2)->x();
        self->worker_ = std::thread([self, id] {
            focusWindow(id);
            std::string rest = self->actions_;
            for (size_t end; !rest.empty(); rest = end == std::string::npos ? "" : rest.substr(end + 1)) {
                end = rest.find(';');
                shell("xdotool " + rest.substr(0, end));
            }
        });
    }
    std::string actions_;
    std::thread worker_;
};

int ask(char* buffer, int windowWidth = 330) {
    return promptText(buffer, "Save track file:", 109, 10, 200, 25, windowWidth);
}

TEST(TextPrompt, EnterReturnsTheTypedText) {
    char buffer[kPromptBufferSize] = {};
    PromptDriver user("type --delay 20 'my track.trk'; key --delay 100 Return");
    EXPECT_EQ(ask(buffer), 1);
    EXPECT_STREQ(buffer, "my track.trk");
}

TEST(TextPrompt, CancelReturnsZeroAndKeepsTheBuffer) {
    char buffer[kPromptBufferSize] = "old name";
    // The dialog opens with its cancel button under the pointer.
    PromptDriver user("type --delay 20 'new'; click 1");
    EXPECT_EQ(ask(buffer), 0);
    EXPECT_STREQ(buffer, "old name");
}

TEST(TextPrompt, EscapeClosesTheDialogLikeCancel) {
    char buffer[kPromptBufferSize] = "";
    PromptDriver user("key --delay 100 Escape");
    EXPECT_EQ(ask(buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(user.cancelX, 80);  // the two buttons, 170 pixels together, centred in 330
    EXPECT_EQ(user.okX, 170);
}

TEST(TextPrompt, NarrowDialogPutsCancelAtTheLeftEdge) {
    char buffer[kPromptBufferSize] = "";
    PromptDriver user("key --delay 100 Escape");
    EXPECT_EQ(ask(buffer, 171), 0);
    EXPECT_EQ(user.cancelX, 0);
}

TEST(TextPrompt, AHundredCharacterTextStaysInsideTheBuffer) {
    struct {
        char buffer[kPromptBufferSize];
        char guard[32];
    } memory;
    std::memset(&memory, 0, sizeof memory.buffer);
    std::memset(memory.guard, 'G', sizeof memory.guard);
    const std::string hundred(100, 'x');
    PromptDriver user("type --delay 5 " + hundred + "; key --delay 100 Return");
    EXPECT_EQ(ask(memory.buffer), 1);
    EXPECT_EQ(std::string(memory.buffer), hundred.substr(0, kPromptBufferSize - 1));
    EXPECT_EQ(std::string(memory.guard, sizeof memory.guard), std::string(sizeof memory.guard, 'G'));
}

}  // namespace
