#pragma once

// The drive drawing: wheels, idler, chain, the top line and the status line,
// painted from the current drive through the view of canvas_view.h.

#include <cairo.h>

#include <cstdint>
#include <string>

#include "model/point.h"
#include "model/drive.h"

// The wheel outlines as drawn: the tooth outlines thinned to 0.001 mm after
// every recalculation (the animation only lays the chain, so they stay).
extern Outline wheel1_display_outline;
extern Outline wheel2_display_outline;
extern Outline idler_display_outline;

// Milliseconds the previous redraw took; 0 until one has finished.
extern std::int64_t last_draw_ms;

struct CanvasColour {
    int r = 0;
    int g = 0;
    int b = 0;
    int a = 255;
};

constexpr CanvasColour background_colour{250, 250, 252, 255};
constexpr CanvasColour wheel1_colour{140, 175, 220, 255};
constexpr CanvasColour wheel2_colour{235, 185, 110, 255};
constexpr CanvasColour idler_colour{150, 205, 150, 255};
constexpr CanvasColour wheel_outline_colour{30, 30, 40, 255};
constexpr CanvasColour pitch_circle_colour{0, 60, 200, 200};
constexpr CanvasColour centre_line_colour{200, 0, 0, 150};
constexpr CanvasColour wheel_label_colour{20, 20, 30, 255};
constexpr CanvasColour inner_plate_colour{150, 150, 155, 255};
constexpr CanvasColour outer_plate_colour{222, 190, 80, 255};
constexpr CanvasColour plate_outline_colour{50, 50, 55, 255};
constexpr CanvasColour bush_colour{120, 120, 125, 255};
constexpr CanvasColour pin_colour{60, 60, 65, 255};
constexpr CanvasColour pin_outline_colour{25, 25, 30, 255};
constexpr CanvasColour error_text_colour{190, 0, 0, 255};
constexpr CanvasColour strand_note_colour{60, 60, 70, 255};
constexpr CanvasColour status_line_colour{90, 90, 100, 255};

// Thins the three tooth outlines of drive_solution into the display outlines;
// called after every compute_drive. A wheel whose outline is the one its
// display outline was thinned from keeps it.
void update_display_outlines();

// Paints the whole canvas of width x height canvas pixels onto surface, its
// output surface (an image surface, whose pixel width gives device_scale).
// Reads drive_solution, drive_input, drive_options' bores and the view;
// show_pitch_circles is the state of the check box at this moment. Sets
// device_scale, the canvas size of the view and last_draw_ms. A null or
// broken surface draws nothing, but the time is still taken.
void redraw_canvas(cairo_surface_t* surface, int width, int height, std::int64_t show_pitch_circles);

// One wheel: its outline turned by the circle's phase, the bore as a hole,
// the pitch circle when asked, the centre lines and the label.
void draw_wheel(cairo_t* cr, const SprocketGeometry& geometry, const Outline& outline, const PitchCircle& circle,
                CanvasColour fill_colour, const std::string& label, double bore, std::int64_t show_pitch_circles);

// The chain on drive_solution.rollers: inner plates, outer plates over them,
// bushes and pins. Nothing for fewer than 2 rollers or a chain size index
// outside the table.
void draw_chain(cairo_t* cr);

// The line at the top of a laid drive, and the status line at the bottom.
std::string strand_note_text(std::int64_t links);
std::string status_line_text(double zoom_px_per_mm, std::int64_t draw_ms);

// Text in "Sans" of size_px canvas pixels with its top-left corner at (x, y).
void draw_canvas_text(cairo_t* cr, double x, double y, const std::string& text, int size_px, CanvasColour colour);
