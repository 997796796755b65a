#pragma once

#include <cstdint>

// The road of every change that needs a new drive: reads the controls,
// calculates the drive, thins the wheel outlines for the drawing, refits the
// view when fit is 1, rebuilds the report and redraws at once.
void recalculate_and_redraw(std::int64_t fit);

// Puts the model's report of the current drive into ReportEditor.
void update_report_text();
