#pragma once

#include <cstdint>
#include <span>
#include <string>

// The commands behind the project, guide, About and export controls. Their
// events are dispatched already; until each command lands it does nothing, and
// its own files replace the matching function here.

void open_project_dialog();
// 1 saved, 0 not saved.
std::int64_t save_project(std::int64_t save_as);
// 1 when the program may go ahead (nothing unsaved, or the user allowed it).
std::int64_t confirm_discard_or_save();
void open_project_file(const std::string& path);
std::int64_t open_user_guide();
std::int64_t show_about_window(int parent_window, const std::string& title_line,
                               std::span<const unsigned char> picture, std::int64_t language);
void export_drive_to_file(std::int64_t kind);
