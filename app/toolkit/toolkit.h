#pragma once

// The one door between the program and the GUI toolkit. The shell speaks in
// its own words here: controls by GadgetId, menu items by MenuId, program
// events, the animation timer. The files in gtk/ implement it on GTK 3; the
// tests bring an in-memory stand-in, so the dispatch runs without a display.
//
// Rules every implementation keeps:
// - Values, states and texts set through this header raise no event.
// - Toolkit callbacks only queue events (post_event); the program handles them
//   one at a time from its main loop. The only direct call into the program
//   is the resize handler.

#include <cstdint>
#include <string>
#include <vector>

#include "app/toolkit/event_queue.h"
#include "app/toolkit/gadget_id.h"

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Sets GDK_BACKEND=x11, initialises Xlib for threads and starts the toolkit.
// The numeric locale is "C" again afterwards. false when there is no display.
bool toolkit_start(int& argc, char**& argv);
// Destroys the windows and lets the toolkit release what it holds.
void toolkit_shutdown();

// Logical size of a text in the default control font (the font of a plain
// label), whole pixels. false when it cannot be measured.
bool measure_control_text(const std::string& text, int& width, int& height);
// Height of the monitor at the screen's origin, 0 when unknown.
int monitor_height_at_origin();

// The main window: centred, resizable; its close button raises CloseWindow.
bool open_main_window(int width, int height, const std::string& title);
void show_main_window();
void set_window_title(const std::string& title);
void set_window_min_size(int width, int height);
// Inner size as the program last knew it: before the window is mapped, the
// size it was opened with.
void window_inner_size(int& width, int& height);
// Called directly by the toolkit whenever the inner size changes.
void set_resize_handler(void (*handler)());
// Raises and activates the main window; the canvas takes the keyboard focus,
// unless a text field or the report has it.
void bring_main_window_to_front();
// While the About window is open the main window is insensitive and its
// events are dropped, not queued (message boxes and file dialogs instead let
// them wait in the queue).
void block_main_window(bool blocked);

// The About window: small, modal over the main window, not resizable, with no
// minimise or maximise button; the picture at the top left, the title line in
// bold beside it and a close button at the bottom right. Escape and Return
// close it, as do its close button and the window's own close button.
struct AboutWindowContent {
    std::string window_title;
    std::string title_line;
    std::string close_caption;
    // Straight (not premultiplied) RGBA rows without padding; no picture when
    // either side is 0.
    int picture_width = 0;
    int picture_height = 0;
    std::vector<unsigned char> picture_rgba;
};
// Opens it centred on the main window; false when it cannot be opened.
bool open_about_window(const AboutWindowContent& content);
// The About window's own loop: returns when the user has closed it. Only the
// About window's input is handled meanwhile; block the main window first, so
// that the main window's events (the timer's too) are dropped, not queued.
void run_about_window();
// Takes the About window down and releases its picture and font.
void close_about_window();

// Controls. Everything created between begin_panel and end_panel goes into the
// scrollable panel, with positions relative to its content.
void begin_panel(GadgetId id, Rect rect, int content_width, int content_height, int scroll_step);
void end_panel();
void set_panel_content_height(int height);
void create_button(GadgetId id, Rect rect, const std::string& text, const std::string& tooltip);
void create_text_field(GadgetId id, Rect rect, const std::string& text, const std::string& tooltip);
void create_check(GadgetId id, Rect rect, const std::string& text, bool ticked, const std::string& tooltip);
void create_combo(GadgetId id, Rect rect, const std::vector<std::string>& items, int selected,
                  const std::string& tooltip);
void create_slider(GadgetId id, Rect rect, int minimum, int maximum, int position, bool draw_value,
                   const std::string& tooltip);
// A row label has no GadgetId: pass -1. IdlerPercentLabel passes its id.
void create_label(int id, Rect rect, const std::string& text);
void create_report_editor(GadgetId id, Rect rect, const std::string& font_family, int font_size);
void create_canvas(GadgetId id, Rect rect);
// The drawing font, kept for the whole run.
void load_canvas_font(const std::string& family, int size);

// The rectangle the program gave the control (the canvas's size comes from
// here, not from the toolkit's allocation, which is 1 x 1 before mapping).
Rect gadget_rect(GadgetId id);
void set_gadget_rect(GadgetId id, Rect rect);
void set_gadget_text(GadgetId id, const std::string& text);
std::string gadget_text(GadgetId id);
// Check box 0/1, list item (-1 none), slider position.
void set_gadget_state(GadgetId id, std::int64_t state);
std::int64_t gadget_state(GadgetId id);

// The pop-up menu and the shortcuts.
struct MenuItem {
    MenuId id;
    std::string text;  // a '\t' separates the accelerator text
};
bool create_popup_menu(const std::vector<MenuItem>& items);
void show_popup_menu();
enum class ShortcutKey { CtrlO, CtrlS, F1 };
void add_shortcut(ShortcutKey key, MenuId id);

// Timer `number` raises Timer events every period. Stopping drops the ticks
// still waiting in the queue.
void start_timer(int number, int period_ms);
void stop_timer(int number);
bool timer_running(int number);

// A program we started and do not wait for: the toolkit watches the child
// `pid` from its main loop, reaps it when it ends and queues a ChildEnded
// event, which a blocked main window does not drop. One that never ends is
// never waited for, not even at shutdown.
void watch_child(int pid);

// Fetching events for the main loop. wait_event blocks until the toolkit has
// something to do; both return false when that produced no program event.
bool wait_event(ProgramEvent& event);
bool poll_event(ProgramEvent& event);
bool events_pending();
// Lets the toolkit finish its pending work and drops the main window's events
// that this produced.
void settle_and_discard_events();

// The canvas.
enum class CanvasCursor { Default, Hand, Busy };
void set_canvas_cursor(CanvasCursor cursor);
// The canvas's off-screen picture, which the drawing paints: an image surface
// of the canvas's size (from gadget_rect) times the screen's scale factor,
// made again when that size changes. Null when there is none (no canvas, or
// the stand-in of the tests).
typedef struct _cairo_surface cairo_surface_t;
cairo_surface_t* canvas_surface();
// Shows the canvas's picture again.
void present_canvas();

// Message boxes and file dialogs. All are modal and have no parent window;
// they return only when answered. Meanwhile the main window takes no input,
// and program events raised meanwhile (timer ticks) wait in the queue to be
// dispatched afterwards.
enum class MessageKind {
    Error,                // error icon, OK
    Warning,              // warning icon, OK
    Information,          // information icon, OK
    QuestionYesNo,        // no icon, Yes and No
    QuestionYesNoCancel,  // no icon, Yes, No and Cancel
};
// A box closed by the window manager answers Cancel, whatever its buttons.
enum class MessageAnswer { Ok, Yes, No, Cancel };
MessageAnswer show_message_box(const std::string& title, const std::string& text, MessageKind kind);

// One entry of a file dialog's filter list: its display name and the patterns
// it shows ("*.zdr"; "*" for every file).
struct FileFilter {
    std::string name;
    std::vector<std::string> patterns;
};
struct FileDialog {
    std::string title;
    std::vector<FileFilter> filters;  // the first is selected at first
    std::string folder;               // where it starts; "" for the toolkit's default
    std::string file_name;            // save: the name filled in; open: the file selected in `folder`
};
// The chosen path, "" when the user cancels. The save dialog asks nothing
// about existing files and adds no extension: that is the caller's business.
std::string show_save_dialog(const FileDialog& dialog);
std::string show_open_dialog(const FileDialog& dialog);
