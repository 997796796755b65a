#include "app/shell/canvas_window.h"

#include "app/shell/canvas_draw.h"
#include "app/shell/canvas_view.h"
#include "app/shell/shell_state.h"
#include "app/toolkit/toolkit.h"

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
