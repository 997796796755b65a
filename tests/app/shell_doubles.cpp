#include "tests/app/shell_doubles.h"

#include "app/canvas_view.h"
#include "app/canvas_window.h"
#include "app/commands.h"
#include "app/shell.h"
#include "app/toolkit.h"

ShellDoubles doubles;

// The view and the display outlines are the canvas library's own; only the
// window's side of the canvas is doubled. The fit is counted and done for real
// on the stand-in canvas's size, so that the canvas mouse can be followed.
void fit_view_to_drive()
{
    ++doubles.fits;
    const Rect r = gadget_rect(Canvas);
    fit_view_to_drive(r.width, r.height);
}

void redraw_canvas()
{
    ++doubles.redraws;
    redraw_pending = 0;
}

// The suites of the guide and About commands link the real ones.
#ifndef ZANDREL_REAL_HELP_COMMANDS
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
#endif
