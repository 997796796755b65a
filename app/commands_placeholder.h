#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "app/project_dialogs.h"

// The commands behind the guide, About and export controls (the project
// commands are in project_dialogs.h, included here for the dispatcher). Their
// events are dispatched already; until each command lands it does nothing, and
// its own files replace the matching function here.

std::int64_t open_user_guide();
std::int64_t show_about_window(int parent_window, const std::string& title_line,
                               std::span<const unsigned char> picture, std::int64_t language);
void export_drive_to_file(std::int64_t kind);
