#pragma once

#include <cstddef>

// The program's events as the dispatcher receives them.
// ChildEnded: a child that the toolkit watched has ended.
enum class EventKind : int { None = 0, Menu, CloseWindow, Gadget, Timer, ChildEnded };

enum class GadgetEventType : int {
    Change,  // text of a field or choice of a list
    Click,
    Toggle,
    SliderMove,
    PointerEnter,
    PointerMove,
    LeftDown,
    LeftUp,
    WheelTurn,
    LeftDoubleClick,
};

constexpr int main_window_number = 0;
// The window of events that belong to none, such as a child's end: they are
// neither dropped by a blocked main window nor discarded with its events.
constexpr int no_window = -1;
constexpr int animation_timer = 1;

struct ProgramEvent {
    EventKind kind = EventKind::None;
    int id = 0;  // GadgetId, MenuId, timer number or the child's process id
    GadgetEventType type = GadgetEventType::Change;
    int window = main_window_number;
    double x = 0.0;   // canvas events: pointer in toolkit pixels
    double y = 0.0;
    int notches = 0;  // wheel turn: +1 per notch away from the user
    // An ended child: a status other than 0, or a signal.
    bool failed = false;
};

// A pointer or wheel event of the canvas at (x, y) in toolkit pixels.
ProgramEvent canvas_event(GadgetEventType type, double x, double y, int notches = 0);

// The end of the watched child `pid`, from the status that waitpid gave.
ProgramEvent child_ended_event(int pid, int wait_status);

// Same kind, control/menu item/timer, window and event type. Positions do not
// count: handlers use the newest one.
bool same_event(const ProgramEvent& a, const ProgramEvent& b);

// First in, first out. An event equal to the last one waiting is not queued
// again; the waiting one takes the newer pointer position and the notches of
// both, so nothing the user did is lost. While the main window is blocked
// (the About window is open) its events are dropped. Returns 1 when queued.
int post_event(const ProgramEvent& event);
bool take_event(ProgramEvent& event);
std::size_t queued_event_count();
// Drops the main window's events behind the first `count`.
void discard_events_after(std::size_t count);
void drop_timer_events(int number);
void clear_event_queue();
void set_main_window_blocked(bool blocked);
bool main_window_blocked();
