#pragma once

#include "app/toolkit/event_queue.h"

// The top of the program: start-up, the main loop, and the dispatcher that
// hands each event to its command. Nothing below calls up into here.

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

// Back to the state of a freshly started program: the shell's flags, the
// view, the canvas mouse and the drawn outlines (the tests start each case here).
void reset_program_state();
