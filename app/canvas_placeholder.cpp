#include "app/canvas_placeholder.h"

#include "app/shell.h"
#include "app/toolkit.h"

double zoom = 1.0;
double device_scale = 1.0;
Outline wheel1_display_outline;
Outline wheel2_display_outline;
Outline idler_display_outline;

void fit_view_to_drive()
{
    redraw_pending = 1;
}

void redraw_canvas()
{
    redraw_pending = 0;
    present_canvas();
}
