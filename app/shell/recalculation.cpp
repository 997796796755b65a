#include "app/shell/recalculation.h"

#include "app/shell/canvas_draw.h"
#include "app/shell/canvas_window.h"
#include "app/shell/main_window.h"
#include "app/toolkit/toolkit.h"
#include "model/drive.h"
#include "model/report.h"

void recalculate_and_redraw(std::int64_t fit)
{
    gadgets_to_project();
    compute_drive(drive_input, drive_solution);
    update_display_outlines();
    if (fit == 1) fit_view_to_drive();
    update_report_text();
    redraw_canvas();
}

void update_report_text()
{
    set_gadget_text(ReportEditor, build_report_text(drive_input, drive_options, drive_solution));
}
