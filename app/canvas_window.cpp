#include "app/canvas_window.h"

#include "app/canvas_draw.h"
#include "app/canvas_view.h"
#include "app/shell_state.h"
#include "app/toolkit.h"

void fit_view_to_drive()
{
    const Rect r = gadget_rect(Canvas);
    fit_view_to_drive(r.width, r.height);
}

void redraw_canvas()
{
    redraw_pending = 0;
    const Rect r = gadget_rect(Canvas);
    redraw_canvas(canvas_surface(), r.width, r.height, gadget_state(ShowPitchCirclesCheck));
    present_canvas();
}
