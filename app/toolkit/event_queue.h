#pragma once

#include <cstddef>

// The program's events as the dispatcher receives them.
enum class EventKind : int { None = 0, Menu, CloseWindow, Gadget, Timer };

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
constexpr int animation_timer = 1;

struct ProgramEvent {
    EventKind kind = EventKind::None;
    int id = 0;  // GadgetId, MenuId or timer number
    GadgetEventType type = GadgetEventType::Change;
    int window = main_window_number;
    double x = 0.0;   // canvas events: pointer in toolkit pixels
    double y = 0.0;
    int notches = 0;  // wheel turn: +1 per notch away from the user
};

// A pointer or wheel event of the canvas at (x, y) in toolkit pixels.
ProgramEvent canvas_event(GadgetEventType type, double x, double y, int notches = 0);

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
void discard_events_after(std::size_t count);
void drop_timer_events(int number);
void clear_event_queue();
void set_main_window_blocked(bool blocked);
bool main_window_blocked();
