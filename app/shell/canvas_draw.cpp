#include "app/shell/canvas_draw.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "app/shell/canvas_view.h"
#include "model/chain_size.h"
#include "model/format.h"
#include "model/geometry.h"
#include "model/outline.h"
#include "text/texts.h"

Outline wheel1_display_outline;
Outline wheel2_display_outline;
Outline idler_display_outline;
std::int64_t last_draw_ms = 0;

namespace {

std::int64_t now_ms()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void set_colour(cairo_t* cr, CanvasColour c)
{
    if (c.a == 255)
        cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0);
    else
        cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, c.a / 255.0);
}

void solid_stroke(cairo_t* cr, CanvasColour colour, double width)
{
    set_colour(cr, colour);
    cairo_set_line_width(cr, width);
    cairo_set_dash(cr, nullptr, 0, 0.0);
    cairo_stroke(cr);
}

// Fills the bands that stand in for solid strokes (build_outline_ring_path).
void fill_rings(cairo_t* cr, CanvasColour colour)
{
    set_colour(cr, colour);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_fill(cr);
}

void dashed_stroke(cairo_t* cr, CanvasColour colour, double width, double dash)
{
    set_colour(cr, colour);
    cairo_set_line_width(cr, width);
    cairo_set_dash(cr, &dash, 1, 0.0);
    cairo_stroke(cr);
}

// The tooth outlines the display outlines were last thinned from.
Outline wheel1_thinned_from;
Outline wheel2_thinned_from;
Outline idler_thinned_from;

bool same_outline(const Outline& a, const Outline& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](Point2D p, Point2D q) { return p.x == q.x && p.y == q.y; });
}

// Most keystrokes leave a wheel as it was (another field, the other wheel):
// comparing its outline takes microseconds, thinning one of 250 teeth again
// milliseconds. A display outline found empty (a fresh start) is made anew.
void thin_when_changed(const Outline& outline, Outline& thinned_from, Outline& display)
{
    if (same_outline(outline, thinned_from) && (!display.empty() || outline.empty())) return;
    simplify_closed_outline(outline, 0.001, display);
    thinned_from = outline;
}

}  // namespace

void update_display_outlines()
{
    thin_when_changed(drive_solution.wheel1_geometry.outline, wheel1_thinned_from, wheel1_display_outline);
    thin_when_changed(drive_solution.wheel2_geometry.outline, wheel2_thinned_from, wheel2_display_outline);
    thin_when_changed(drive_solution.idler_geometry.outline, idler_thinned_from, idler_display_outline);
}

std::string strand_note_text(std::int64_t links)
{
    return text::fill(text::canvas_strand_note, {format_integer(links)});
}

std::string status_line_text(double zoom_px_per_mm, std::int64_t draw_ms)
{
    return text::fill(text::canvas_status_line, {format_fixed(zoom_px_per_mm, 2), format_integer(draw_ms)});
}

void draw_canvas_text(cairo_t* cr, double x, double y, const std::string& text, int size_px, CanvasColour colour)
{
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* font = pango_font_description_new();
    pango_font_description_set_family(font, "Sans");
    // An absolute size is in user units, which the redraw made canvas pixels.
    pango_font_description_set_absolute_size(font, size_px * PANGO_SCALE);
    pango_layout_set_font_description(layout, font);
    pango_font_description_free(font);
    pango_layout_set_text(layout, text.c_str(), static_cast<int>(text.size()));
    set_colour(cr, colour);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout);
    cairo_new_path(cr);
    g_object_unref(layout);
}

void draw_wheel(cairo_t* cr, const SprocketGeometry& geometry, const Outline& outline, const PitchCircle& circle,
                CanvasColour fill_colour, const std::string& label, double bore, std::int64_t show_pitch_circles)
{
    const double cx = circle.x;
    const double cy = circle.y;
    const double reach = geometry.tip_diameter / 2.0 + geometry.pitch;
    if (circle_offscreen(cx, cy, reach)) return;

    const WheelPlacement place = wheel_placement(circle);
    ScreenList list;
    list.reserve(outline.size());
    for (const Point2D& q : outline) {
        const Point2D placed = place(q);
        append_screen_point(list, placed.x, placed.y, 0);
    }
    build_polygon_path(cr, list);
    if (bore > 0.0) build_circle_path(cr, cx, cy, bore / 2.0);
    set_colour(cr, fill_colour);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr);
    // The tooth outline, a stroke of width 1.1, as the band it covers (see
    // draw_chain); the bore's one circle is stroked.
    build_outline_ring_path(cr, list, 0.55);
    fill_rings(cr, wheel_outline_colour);
    if (bore > 0.0) {
        build_circle_path(cr, cx, cy, bore / 2.0);
        solid_stroke(cr, wheel_outline_colour, 1.1);
    }

    if (show_pitch_circles) {
        build_circle_outline_path(cr, cx, cy, circle.radius);
        dashed_stroke(cr, pitch_circle_colour, 1.0, 8.0);
    }

    // The centre lines stay level and upright while the wheel turns.
    build_segment_path_mm(cr, cx - reach, cy, cx + reach, cy);
    build_segment_path_mm(cr, cx, cy - reach, cx, cy + reach);
    dashed_stroke(cr, centre_line_colour, 1.0, 10.0);

    const Point2D at = world_to_screen(cx, cy);
    draw_canvas_text(cr, at.x + 6.0, at.y + 4.0, label, 14, wheel_label_colour);
}

void draw_chain(cairo_t* cr)
{
    const std::size_t n = drive_solution.rollers.size();
    const std::int64_t k = drive_input.size_index;
    // An index past the table would read beyond it just as a negative one would.
    if (n < 2 || k < 0 || k >= chain_size_count) return;
    load_chain_size_table();
    const ChainSize& row = chain_sizes[static_cast<std::size_t>(k)];
    const double p = row.pitch;
    const double h = row.plate_height;
    const double plate_reach = (p + h) / 2.0;

    std::vector<double> X(n + 1);
    std::vector<double> Y(n + 1);
    for (std::size_t i = 0; i < n; ++i) {
        X[i] = drive_solution.rollers[i].x;
        Y[i] = drive_solution.rollers[i].y;
    }
    X[n] = X[0];
    Y[n] = Y[0];

    // About 0.7 pixel between template points: finer is not seen, coarser shows corners.
    double step = 0.7 / zoom;
    if (step < p / 400.0) step = p / 400.0;
    if (step > p / 10.0) step = p / 10.0;
    Outline plate;
    link_plate_outline(0.0, 0.0, p, 0.0, h, plate, step);

    ScreenList work;
    work.reserve(plate.size());
    // The plates of one pass as they went to cairo (clipped), end to end, for their outlines.
    ScreenList drawn;
    std::vector<std::size_t> drawn_ends;
    const std::int64_t parity = drive_solution.link_parity;
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    // The inner plates first, the outer plates over them.
    for (std::size_t pass = 0; pass < 2; ++pass) {
        drawn.clear();
        drawn_ends.clear();
        const std::size_t first = link_is_inner(parity, 0) == (pass == 0) ? 0 : 1;
        for (std::size_t i = first; i < n; i += 2) {
            if (circle_offscreen((X[i] + X[i + 1]) / 2.0, (Y[i] + Y[i + 1]) / 2.0, plate_reach)) continue;
            const double L = std::hypot(X[i + 1] - X[i], Y[i + 1] - Y[i]);
            if (L == 0.0) continue;
            const double ux = (X[i + 1] - X[i]) / L;
            const double uy = (Y[i + 1] - Y[i]) / L;
            work.clear();
            for (const Point2D& q : plate)
                append_screen_point(work, X[i] + q.x * ux - q.y * uy, Y[i] + q.x * uy + q.y * ux, 0);
            build_polygon_path(cr, work);
            if (work.size() < 3) continue;  // nothing of it in view
            drawn.insert(drawn.end(), work.begin(), work.end());
            drawn_ends.push_back(drawn.size());
        }
        set_colour(cr, pass == 0 ? inner_plate_colour : outer_plate_colour);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        cairo_fill(cr);
        // The outlines, a stroke of width 1, painted as the bands such a stroke
        // covers: cairo's stroker spends more time on the thousands of short
        // plate segments than on all the rest of the picture, a fill of the
        // bands a fraction of it, and the picture stays the same but for a
        // sample here and there on the inside of a corner.
        std::size_t start = 0;
        for (std::size_t end : drawn_ends) {
            build_outline_ring_path(cr, std::span<const Point2D>(drawn).subspan(start, end - start), 0.5);
            start = end;
        }
        fill_rings(cr, plate_outline_colour);
    }

    const double rb = chain_bush_diameter(k) / 2.0;
    for (std::size_t i = 0; i < n; ++i)
        if (!circle_offscreen(X[i], Y[i], rb)) build_circle_path(cr, X[i], Y[i], rb);
    set_colour(cr, bush_colour);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr);

    const double rp = row.pin_diameter / 2.0;
    for (std::size_t i = 0; i < n; ++i)
        if (!circle_offscreen(X[i], Y[i], rb)) build_circle_path(cr, X[i], Y[i], rp);
    set_colour(cr, pin_colour);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill_preserve(cr);
    solid_stroke(cr, pin_outline_colour, 0.8);
}

void redraw_canvas(cairo_surface_t* surface, int width, int height, std::int64_t show_pitch_circles)
{
    const std::int64_t started = now_ms();
    canvas_width = width;
    canvas_height = height;

    if (surface && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        // A surface that already carries a device scale scales every context
        // made on it; only the rest is left for us to apply.
        double preset_x = 1.0;
        double preset_y = 1.0;
        cairo_surface_get_device_scale(surface, &preset_x, &preset_y);
        if (width > 0) {
            if (cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_IMAGE)
                device_scale = static_cast<double>(cairo_image_surface_get_width(surface)) / width;
            else
                device_scale = preset_x;
            if (!(device_scale > 0.0)) device_scale = 1.0;
        }
        cairo_t* cr = cairo_create(surface);
        cairo_scale(cr, device_scale / preset_x, device_scale / preset_y);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
        // 4 x 4 samples per pixel instead of cairo's finer default: the picture
        // looks the same, and the chain's thousands of outline segments are
        // rasterised in half the time, which the animation tick needs.
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_FAST);
        set_clip_rect_from_canvas(width, height);

        set_colour(cr, background_colour);
        cairo_paint(cr);

        const DriveSolution& s = drive_solution;
        if (s.valid) {
            draw_wheel(cr, s.wheel1_geometry, wheel1_display_outline, s.circles[Wheel1], wheel1_colour,
                       std::string(text::canvas_label_z1) + format_integer(drive_input.z1), drive_options.bore1,
                       show_pitch_circles);
            draw_wheel(cr, s.wheel2_geometry, wheel2_display_outline, s.circles[Wheel2], wheel2_colour,
                       std::string(text::canvas_label_z2) + format_integer(drive_input.z2), drive_options.bore2,
                       show_pitch_circles);
            if (s.laid) {
                draw_wheel(cr, s.idler_geometry, idler_display_outline, s.circles[Idler], idler_colour,
                           text::canvas_label_idler, drive_options.idler_bore, show_pitch_circles);
                draw_chain(cr);
            }
        }

        if (!s.error_text.empty())
            draw_canvas_text(cr, 14.0, 14.0, s.error_text, 14, error_text_colour);
        else if (s.laid)
            draw_canvas_text(cr, 14.0, 14.0, strand_note_text(s.chosen_links), 14, strand_note_colour);

        draw_canvas_text(cr, 10.0, height - 24.0, status_line_text(zoom, last_draw_ms), 13, status_line_colour);

        cairo_destroy(cr);
        cairo_surface_flush(surface);
    }

    last_draw_ms = now_ms() - started;
}
