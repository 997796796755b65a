#pragma once

#include <cstdint>
#include <string>

// The state of the shell that every part of the window shares, one instance
// each for the whole run, and the window title that shows it.
extern std::int64_t quit_requested;    // ends the main loop
extern std::int64_t animation_ticks;   // timer ticks not yet turned into rotation
extern std::int64_t redraw_pending;    // the canvas is redrawn at the end of the pass
extern std::int64_t report_pending;    // the report is rebuilt at the end of the pass
extern std::int64_t loading_gadgets;   // the program is filling the controls itself
extern std::int64_t project_modified;  // " *" in the title
extern std::string project_path;       // empty for a new project

// Marks the project changed and shows it in the title; nothing while the
// program fills the controls or when the mark is already there.
void mark_project_modified();
void update_window_title();
// The title update_window_title sets, from the current state.
std::string window_title_text();

// The flags and the project path as a freshly started program has them.
void reset_shell_state();
