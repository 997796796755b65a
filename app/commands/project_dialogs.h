#pragma once

#include <cstdint>
#include <string>

// The commands around project files: Open, Save, Save as, the question about
// unsaved changes that guards Open and closing the window, and opening a
// project into the running program (also from the command line).

// The Open command: asks about unsaved changes, then for a file.
void open_project_dialog();
// The Save (save_as 0) and Save as (save_as 1) commands. 1 when the project was
// written; 0 when the user cancelled or the file could not be written (the
// path and the modified mark then stay as they were).
std::int64_t save_project(std::int64_t save_as);
// 1 when the program may go ahead: nothing unsaved, the user dropped the
// changes, or saved them. 0 to stop.
std::int64_t confirm_discard_or_save();
// Loads the file into the window, or shows why it cannot; a failed load
// leaves the open project as it was.
void open_project_file(const std::string& path);
