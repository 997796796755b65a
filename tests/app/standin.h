#pragma once

// The in-memory toolkit the shell's tests run on: it records what the program
// sets and lets a test act as the user, who raises events.

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/toolkit/toolkit.h"

enum class StandInKind { None, Panel, Button, TextField, Check, Combo, Slider, Label, Report, Canvas };

struct StandInGadget {
    StandInKind kind = StandInKind::None;
    Rect rect;
    std::string text;
    std::string tooltip;
    std::vector<std::string> items;
    std::int64_t state = 0;
    int minimum = 0;
    int maximum = 0;
    bool in_panel = false;
};

struct StandInLabel {
    Rect rect;
    std::string text;
};

// A message box or file dialog as the program showed it.
struct StandInMessageBox {
    std::string title;
    std::string text;
    MessageKind kind = MessageKind::Information;
};
struct StandInFileDialog {
    bool save = false;
    FileDialog dialog;
};

struct StandInToolkit {
    std::array<StandInGadget, gadget_count> gadgets;
    std::vector<StandInLabel> labels;
    // Measurements the "font" gives: "Ag" is text_height high, a text is
    // char_width per character wide unless text_widths names it.
    int text_height = 15;
    int char_width = 5;
    std::map<std::string, int> text_widths;
    bool measuring_fails = false;
    int monitor_height = 1000;
    bool window_open = false;
    std::string title;
    int title_sets = 0;
    int window_width = 0;
    int window_height = 0;
    int min_width = 0;
    int min_height = 0;
    int panel_content_width = 0;
    int panel_content_height = 0;
    int panel_scroll_step = 0;
    void (*resize_handler)() = nullptr;
    std::vector<MenuItem> menu;
    std::vector<std::pair<ShortcutKey, MenuId>> shortcuts;
    int popup_shown = 0;
    int canvas_presented = 0;
    int front_requests = 0;
    bool main_window_blocked = false;
    bool timer_on = false;
    int timer_period = 0;
    // The children the program had watched that have not been reaped yet.
    std::vector<int> watched_children;
    CanvasCursor cursor = CanvasCursor::Default;
    std::vector<CanvasCursor> cursors_set;  // every cursor set, in order
    std::string canvas_font;
    // What the canvas is painted on. None, so that the suites never pay for
    // the drawing; a timing that wants it gives an image surface it owns.
    cairo_surface_t* canvas_surface = nullptr;

    // Dialogs: what was shown, in order, and the user's answers to come. A
    // box without a scripted answer is answered OK, or Cancel when it is a
    // question; a file dialog without a scripted path is cancelled.
    std::vector<StandInMessageBox> message_boxes;
    std::deque<MessageAnswer> answers;
    std::vector<StandInFileDialog> file_dialogs;
    std::deque<std::string> chosen_paths;
    // Runs while each box or dialog is open, as the user or the timer would.
    std::function<void()> while_dialog_open;

    // The About windows shown, in order; one that fails to open shows nothing.
    std::vector<AboutWindowContent> about_windows;
    bool about_window_fails = false;
    bool about_window_open = false;
    // Runs while the About window's loop runs, as the user or the timer would;
    // the window closes when it returns.
    std::function<void()> while_about_open;
};

extern StandInToolkit standin;

// A fresh toolkit, an empty event queue and a fresh shell state. The children
// still watched are waited for, so that none is left behind as a zombie.
void standin_reset();

// What the start-up gave back: main_entry's status, and the quit flag its main
// loop ended on (cleared again afterwards, for the caller's own passes).
struct ProgramStart {
    int status = 0;
    std::int64_t quit_requested = 0;
};

// Runs the real start-up on the stand-in, with `arguments` after the program's
// name. A close is queued first, so the main loop ends after its first pass (an
// unchanged project closes without a question); the caller then carries on
// with the window as the program left it.
ProgramStart start_program(std::vector<std::string> arguments = {});

// The user at work: each changes the control and queues the event the real
// toolkit would raise.
void user_types(GadgetId id, const std::string& text);
void user_selects(GadgetId id, int item);
void user_toggles(GadgetId id);
void user_moves_slider(GadgetId id, int position);
void user_clicks(GadgetId id);
void user_chooses_menu(MenuId id);
void user_closes_window();
void timer_ticks(int count);
// The window manager gives the window a new inner size.
void user_resizes_window(int width, int height);

// The watched children end as the toolkit would see it: each is waited for
// in turn, reaped, and its end queued. A child that does not end blocks here.
void watched_children_end();

// Dispatches everything queued, then the idle work: one pass of the main loop.
void run_one_pass();

// A fit cannot be seen in the window, but in the view it leaves: a test puts
// the view where no fit leaves it, acts, and asks whether it was fitted.
void unfit_view();
bool view_was_fitted();

// How many open (not save) file dialogs the program showed.
int open_dialogs_shown();
