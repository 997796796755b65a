#include "app/commands_placeholder.h"

std::int64_t open_user_guide()
{
    return 0;
}

std::int64_t show_about_window(int, const std::string&, std::span<const unsigned char>, std::int64_t)
{
    return 0;
}

void export_drive_to_file(std::int64_t) {}
