#include "tests/app/shell_doubles.h"

#include "app/canvas_window.h"
#include "app/commands_placeholder.h"
#include "app/shell.h"

ShellDoubles doubles;

// The canvas's globals, which the double stands in for as well.
double zoom = 1.0;
double device_scale = 1.0;
Outline wheel1_display_outline;
Outline wheel2_display_outline;
Outline idler_display_outline;

void fit_view_to_drive()
{
    ++doubles.fits;
}

void redraw_canvas()
{
    ++doubles.redraws;
    redraw_pending = 0;
}

std::int64_t open_user_guide()
{
    ++doubles.guides;
    return 0;
}

std::int64_t show_about_window(int, const std::string& title_line, std::span<const unsigned char>,
                               std::int64_t language)
{
    ++doubles.abouts;
    doubles.about_title = title_line;
    doubles.about_language = language;
    return 0;
}

void export_drive_to_file(std::int64_t kind)
{
    doubles.exports.push_back(kind);
}
