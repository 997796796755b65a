#pragma once

// The canvas under the mouse: the wheel zooms about the pointer, a left drag
// pans, a left double-click fits the drive, and the idler can be grabbed and
// dragged along the slack strand. Nothing here redraws at once: the handlers
// change the view or the drive and set redraw_pending (and report_pending),
// which the main loop serves once at the end of its pass.

#include <cstdint>

#include "app/toolkit/event_queue.h"

// Interaction state, one instance each for the whole run; all 0 at start-up.
extern std::int64_t panning;             // a pan with the left button is in progress
extern std::int64_t pan_start_mouse_x;   // canvas pixels: where the pan began
extern std::int64_t pan_start_mouse_y;
extern double pan_start_centre_x;        // mm: the view centre when the pan began
extern double pan_start_centre_y;
extern std::int64_t dragging_idler;      // the idler is being dragged

// The zoom stays within these after every wheel turn (canvas pixels per mm).
constexpr double min_wheel_zoom = 0.01;
constexpr double max_wheel_zoom = 100000.0;
// The zoom factor of one wheel notch.
constexpr double zoom_per_notch = 1.2;

// One event of the Canvas control: pointer enter, wheel turn, left button
// down and up, pointer move, left double-click.
void handle_canvas_event(const ProgramEvent& event);

// 1 when (x, y) mm lies strictly inside the idler's tip circle of a laid drive.
std::int64_t point_hits_idler(double x, double y);

// Moves the idler to the projection of (x, y) mm onto the slack strand, kept
// within 2 % and 98 % of it, and lays the chain there; a position where the
// chain cannot be laid is taken back. The slider and its percent label follow.
void drag_idler_to_point(double x, double y);

// Ends a pan or drag in progress (a fresh program; the tests).
void reset_canvas_mouse_state();
