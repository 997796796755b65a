#pragma once

#include <cstdint>
#include <string>

#include "app/event_queue.h"
#include "model/point.h"

// State of the shell, one instance each for the whole run.
extern std::int64_t quit_requested;    // ends the main loop
extern std::int64_t animation_ticks;   // timer ticks not yet turned into rotation
extern std::int64_t redraw_pending;    // the canvas is redrawn at the end of the pass
extern std::int64_t report_pending;    // the report is rebuilt at the end of the pass
extern std::int64_t loading_gadgets;   // the program is filling the controls itself
extern std::int64_t project_modified;  // " *" in the title
extern std::string project_path;       // empty for a new project

// Owned by the canvas, set at start-up and by the recalculation here.
extern double zoom;          // canvas pixels per mm
extern double device_scale;  // output pixels per canvas pixel
// The wheel outlines as drawn: the tooth outlines thinned to 0.001 mm.
extern Outline wheel1_display_outline;
extern Outline wheel2_display_outline;
extern Outline idler_display_outline;

// The program: start-up, the main loop, shutdown. 0 when the loop ends, 1 when
// there is no display to start on.
int main_entry(int argc, char** argv);

// One pass of the main loop: wait for an event, dispatch it and everything
// queued behind it, then the idle work.
void main_loop_pass();
// The end of a pass: animation step, report, redraw.
void do_idle_work();
// Turns wheel 1 by the pending ticks (at most 4) and lays the chain again.
void animation_step();

void handle_event(const ProgramEvent& event);
// Reads the controls, calculates the drive, refits the view when fit is 1,
// rebuilds the report and redraws.
void recalculate_and_redraw(std::int64_t fit);
void mark_project_modified();
void update_window_title();
// The title update_window_title sets, from the current state.
std::string window_title_text();
// Keeps wheel 1's angle in [0, 4 pi]: one step down, then one step up.
double normalise_rotation_angle(double angle);
// Puts the model's report into ReportEditor.
void update_report_text();

// Back to the state of a freshly started program (the tests start each case here).
void reset_shell_state();
