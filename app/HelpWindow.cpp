// The help window: its parts, opening and closing it with 'H', keeping its "Now" part current by
// a timer, and taking every message line, an error line opening the window.
#include "app/HelpWindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Text_Display.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cstdio>

#include "app/BandColour.h"
#include "app/Messages.h"
#include "app/NowLines.h"
#include "app/SideWindow.h"
#include "input/KeyList.h"
#include "sim/ForceBands.h"
#include "track/TrackView.h"

namespace {

// The window's size at first; it opens as tall as the main window, if that is taller, and only the
// messages grow.
constexpr int kWidth = 600, kHeight = 600;
constexpr int kMargin = 8;
constexpr int kHeading = 20;                // height of a part's heading
constexpr int kLine = 15;                   // text line height in the "Now" part
constexpr int kNowHeight = 8 * kLine + 30;  // its lines and the legend under them
constexpr int kKeysHeight = 200;
constexpr int kTextSize = 12;
constexpr double kRefreshSeconds = 0.1;  // what the keys set shows within this of a change

HelpWindow* listeningWindow = nullptr;  // the window the message log feeds

// The range of band k, e.g. "below 0", "0 to 3", "5 and above".
std::string bandRange(const ForceBandTable& table, int k) {
    char text[48];
    if (k == 0) std::snprintf(text, sizeof text, "below %g", table.bands[1].from);
    else if (k == table.count - 1) std::snprintf(text, sizeof text, "%g and above", table.bands[k].from);
    else std::snprintf(text, sizeof text, "%g to %g", table.bands[k].from, table.bands[k + 1].from);
    return text;
}

void heading(int y, const char* title) {
    Fl_Box* box = new Fl_Box(kMargin, y, kWidth - 2 * kMargin, kHeading, title);
    box->labelfont(FL_HELVETICA_BOLD);
    box->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
}

Fl_Text_Display* textPane(int y, int h, Fl_Text_Buffer* text) {
    Fl_Text_Display* pane = new Fl_Text_Display(kMargin, y, kWidth - 2 * kMargin, h);
    pane->buffer(text);
    pane->textfont(FL_COURIER);
    pane->textsize(kTextSize);
    pane->wrap_mode(Fl_Text_Display::WRAP_AT_BOUNDS, 0);  // no line hides past the right edge
    return pane;
}

void keepRefreshing(void* data) {
    HelpWindow* window = static_cast<HelpWindow*>(data);
    // The main window has closed: the help goes too, so that the program can end.
    if (!window->view->shown()) return window->close();
    window->refresh();
    Fl::repeat_timeout(kRefreshSeconds, keepRefreshing, data);
}

void messageArrived(const std::string& line) {
    if (!listeningWindow) return;
    listeningWindow->addMessage(line);
    const bool error = line.compare(0, 5, "Error") == 0;
    if (error && !listeningWindow->visible() && listeningWindow->view->shown()) listeningWindow->open();
}

}  // namespace

// The "Now" lines, drawn as plain text, and under them the legend of the force bands while the
// track is coloured.
class NowPane : public Fl_Widget {
public:
    NowPane(int x, int y, int w, int h) : Fl_Widget(x, y, w, h) { box(FL_DOWN_BOX), color(FL_BACKGROUND2_COLOR); }

    void draw() override {
        draw_box();
        fl_push_clip(x() + 2, y() + 2, w() - 4, h() - 4);
        fl_font(FL_HELVETICA, kTextSize);
        fl_color(FL_FOREGROUND_COLOR);
        int baseline = y() + kLine;
        for (const std::string& line : lines) fl_draw(line.c_str(), x() + 6, baseline), baseline += kLine;
        if (colouring != kPlainColours) drawLegend(baseline + 6);
        fl_pop_clip();
    }

    std::vector<std::string> lines;  // as nowLines gives them
    int colouring = kPlainColours;   // the track's colouring, whose bands the legend shows

private:
    // One swatch and range after the other on a line, after the figure the colours stand for.
    void drawLegend(int baseline) {
        constexpr int kSwatch = 14, kSpace = 6;  // a swatch's side; the room after a swatch or a text
        const ForceBandTable table = forceBands(colouring);
        const std::string title = std::string(colouringName(colouring)) + (table.bySize ? ", to either side:" : ":");
        int at = x() + 6;
        fl_draw(title.c_str(), at, baseline);
        at += static_cast<int>(fl_width(title.c_str())) + 2 * kSpace;
        for (int k = 0; k < table.count; ++k) {
            const int top = baseline - fl_height() + fl_descent() - 1;
            fl_color(fltkColour(table.bands[k].colour));
            fl_rectf(at, top, kSwatch, kSwatch);
            fl_color(FL_FOREGROUND_COLOR);
            fl_rect(at, top, kSwatch, kSwatch);
            const std::string range = bandRange(table, k);
            fl_draw(range.c_str(), at + kSwatch + kSpace, baseline);
            at += kSwatch + kSpace + static_cast<int>(fl_width(range.c_str())) + 3 * kSpace;
        }
    }
};

HelpWindow::HelpWindow(TrackView* view_) : Fl_Double_Window(kWidth, kHeight, kHelpTitle), view(view_) {
    const int nowY = 4 + kHeading, keysY = nowY + kNowHeight + 4 + kHeading;
    const int messagesY = keysY + kKeysHeight + 4 + kHeading;
    heading(nowY - kHeading, "Now");
    now_ = new NowPane(kMargin, nowY, kWidth - 2 * kMargin, kNowHeight);
    heading(keysY - kHeading, "Keys");
    keysText_.text(keyListText().c_str());
    textPane(keysY, kKeysHeight, &keysText_);
    heading(messagesY - kHeading, "Messages");
    messages_ = textPane(messagesY, kHeight - messagesY - kMargin, &messageText_);
    end();
    resizable(messages_);
    callback([](Fl_Widget* window, void*) { static_cast<HelpWindow*>(window)->close(); });
    for (const std::string& line : messageLog()) addMessage(line);
    listeningWindow = this;
    setMessageListener(messageArrived);
}

HelpWindow::~HelpWindow() {
    Fl::remove_timeout(keepRefreshing, this);
    if (listeningWindow == this) setMessageListener(nullptr), listeningWindow = nullptr;
    clear();  // the text panes go before the buffers they show
}

int HelpWindow::handle(int event) {
    if (Fl_Double_Window::handle(event)) return 1;
    // H closes the window when it has the keyboard, as it would in the view; the view's latch
    // waits for the key to come up. (A key the view had is offered here too, as a shortcut.)
    if (event != FL_SHORTCUT || Fl::event_key() != 'h' || Fl::event_state(FL_CTRL | FL_ALT | FL_META) ||
        !contains(Fl::focus()))
        return 0;
    view->helpKeyLatch = 0;
    close();
    return 1;
}

void HelpWindow::open() {
    const Fl_Window* main = view->top_window();
    size(w(), std::max(kHeight, main->h()));
    placeBeside(this, main);
    refresh();
    show();
    messages_->insert_position(messageText_.length());
    messages_->show_insert_position();
    Fl::remove_timeout(keepRefreshing, this);  // one timer, however often it is opened
    Fl::add_timeout(kRefreshSeconds, keepRefreshing, this);
}

void HelpWindow::close() {
    Fl::remove_timeout(keepRefreshing, this);
    hide();
}

void HelpWindow::refresh() {
    std::vector<std::string> lines = nowLines(*view);
    if (lines == now_->lines && view->trackColouring == now_->colouring) return;
    now_->lines = std::move(lines);
    now_->colouring = view->trackColouring;
    now_->redraw();
}

void HelpWindow::addMessage(const std::string& line) {
    messageText_.append((line + "\n").c_str());
    if (++messageLines_ > kMessageLogLines) {  // the oldest line goes
        messageText_.remove(0, messageText_.line_end(0) + 1);
        --messageLines_;
    }
    messages_->insert_position(messageText_.length());
    messages_->show_insert_position();
}

void TrackView::toggleHelp() {
    if (!helpWindow) helpWindow = new HelpWindow(this);
    HelpWindow* window = static_cast<HelpWindow*>(helpWindow);
    if (window->visible()) {
        window->close();
    } else {
        window->open();
    }
}
