#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/toolkit/gadget_id.h"

// Pixel metrics of the panel, measured once from the control font and used
// again by the resize handler.
struct LayoutMetrics {
    int text_height = 0;
    int row_height = 0;
    int row_step = 0;
    int label_width = 0;
    int input_width = 0;
    int half_input_width = 0;
    int panel_width = 0;
    int scroll_width = 0;
    int wide_width = 0;
    int report_top = 0;
};

extern LayoutMetrics layout_metrics;

// The metrics that follow from a measured "Ag" height and the widest row label
// (report_top is left 0; the window's rows decide it).
LayoutMetrics layout_metrics_from(int text_height, int widest_label);
// Measures the five row labels in the control font and sets layout_metrics.
void measure_layout_metrics(const std::vector<std::string>& labels);
// 860, or the monitor's height - 80 when that is smaller.
int main_window_height(int monitor_height);

void build_main_window();
void add_row_label(int y, const std::string& text);
void on_main_window_resized();

// Controls <-> drive_input and drive_options.
void gadgets_to_project();
void project_to_gadgets();

// The number typed into a text field; while the field still shows the text
// project_to_gadgets put there, the value it showed, to the last decimal.
double read_gadget_decimal(GadgetId gadget);
std::int64_t read_gadget_integer(GadgetId gadget);
void update_idler_percent_label();

// b, unless b < a, then a.
double max_of_two(double a, double b);
