#include "app/commands_placeholder.h"

void open_project_dialog() {}

std::int64_t save_project(std::int64_t)
{
    return 0;
}

// Nothing can be saved yet, so there is nothing to ask about.
std::int64_t confirm_discard_or_save()
{
    return 1;
}

void open_project_file(const std::string&) {}

std::int64_t open_user_guide()
{
    return 0;
}

std::int64_t show_about_window(int, const std::string&, std::span<const unsigned char>, std::int64_t)
{
    return 0;
}

void export_drive_to_file(std::int64_t) {}
