// The canvas on GTK 3: its drawing area and the pointer and wheel events it
// queues, its cursor, the off-screen picture the drawing paints and the
// drawing font.

#include <gtk/gtk.h>

#include <string>

#include "app/toolkit/gtk/gtk_private.h"

using namespace gtk_toolkit;

namespace gtk_toolkit {

PangoFontDescription* canvas_font = nullptr;
GdkCursor* canvas_cursor = nullptr;
cairo_surface_t* canvas_image = nullptr;

}  // namespace gtk_toolkit

namespace {

void post_canvas_event(GadgetEventType type, double x, double y, int notches)
{
    post_event(canvas_event(type, x, y, notches));
}

gboolean on_canvas_draw(GtkWidget* widget, cairo_t* cr, gpointer)
{
    cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
    cairo_paint(cr);
    if (canvas_image) {
        double scale = gtk_widget_get_scale_factor(widget);
        cairo_save(cr);
        cairo_scale(cr, 1.0 / scale, 1.0 / scale);
        cairo_set_source_surface(cr, canvas_image, 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
    }
    return TRUE;
}

gboolean on_canvas_enter(GtkWidget*, GdkEventCrossing* e, gpointer)
{
    post_canvas_event(GadgetEventType::PointerEnter, e->x, e->y, 0);
    return FALSE;
}

gboolean on_canvas_motion(GtkWidget*, GdkEventMotion* e, gpointer)
{
    post_canvas_event(GadgetEventType::PointerMove, e->x, e->y, 0);
    return TRUE;
}

gboolean on_canvas_press(GtkWidget*, GdkEventButton* e, gpointer)
{
    if (e->button != 1) return FALSE;
    if (e->type == GDK_BUTTON_PRESS) post_canvas_event(GadgetEventType::LeftDown, e->x, e->y, 0);
    if (e->type == GDK_2BUTTON_PRESS) post_canvas_event(GadgetEventType::LeftDoubleClick, e->x, e->y, 0);
    return TRUE;
}

gboolean on_canvas_release(GtkWidget*, GdkEventButton* e, gpointer)
{
    if (e->button != 1) return FALSE;
    post_canvas_event(GadgetEventType::LeftUp, e->x, e->y, 0);
    return TRUE;
}

gboolean on_canvas_scroll(GtkWidget*, GdkEventScroll* e, gpointer)
{
    int notches = 0;
    if (e->direction == GDK_SCROLL_UP) notches = 1;
    if (e->direction == GDK_SCROLL_DOWN) notches = -1;
    if (e->direction == GDK_SCROLL_SMOOTH && e->delta_y != 0.0) notches = e->delta_y < 0.0 ? 1 : -1;
    if (notches != 0) post_canvas_event(GadgetEventType::WheelTurn, e->x, e->y, notches);
    return TRUE;
}

void on_canvas_realize(GtkWidget* widget, gpointer)
{
    gdk_window_set_cursor(gtk_widget_get_window(widget), canvas_cursor);
}

}  // namespace

void create_canvas(GadgetId id, Rect rect)
{
    GtkWidget* area = gtk_drawing_area_new();
    gtk_widget_set_can_focus(area, TRUE);
    gtk_widget_add_events(area, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                    GDK_SCROLL_MASK | GDK_ENTER_NOTIFY_MASK);
    g_signal_connect(area, "draw", G_CALLBACK(on_canvas_draw), nullptr);
    g_signal_connect(area, "enter-notify-event", G_CALLBACK(on_canvas_enter), nullptr);
    g_signal_connect(area, "motion-notify-event", G_CALLBACK(on_canvas_motion), nullptr);
    g_signal_connect(area, "button-press-event", G_CALLBACK(on_canvas_press), nullptr);
    g_signal_connect(area, "button-release-event", G_CALLBACK(on_canvas_release), nullptr);
    g_signal_connect(area, "scroll-event", G_CALLBACK(on_canvas_scroll), nullptr);
    g_signal_connect(area, "realize", G_CALLBACK(on_canvas_realize), nullptr);
    place(id, Kind::Canvas, area, area, rect);
}

void load_canvas_font(const std::string& family, int size)
{
    if (canvas_font) pango_font_description_free(canvas_font);
    canvas_font = pango_font_description_new();
    pango_font_description_set_family(canvas_font, family.c_str());
    pango_font_description_set_size(canvas_font, size * PANGO_SCALE);
}

void set_canvas_cursor(CanvasCursor cursor)
{
    // Every pointer move asks for a cursor; only a change needs a new one.
    static CanvasCursor shown = CanvasCursor::Default;
    static bool shown_valid = false;
    Gadget* canvas = find_gadget(Canvas);
    if (!canvas) return;
    if (shown_valid && cursor == shown && gtk_widget_get_window(canvas->inner)) return;
    if (canvas_cursor) g_object_unref(canvas_cursor);
    canvas_cursor = nullptr;
    GdkDisplay* display = gtk_widget_get_display(canvas->inner);
    if (cursor == CanvasCursor::Hand) canvas_cursor = gdk_cursor_new_for_display(display, GDK_HAND1);
    if (cursor == CanvasCursor::Busy) canvas_cursor = gdk_cursor_new_for_display(display, GDK_WATCH);
    if (GdkWindow* window = gtk_widget_get_window(canvas->inner)) {
        gdk_window_set_cursor(window, canvas_cursor);
        gdk_display_flush(display);
        shown = cursor;
        shown_valid = true;
    }
}

cairo_surface_t* canvas_surface()
{
    Gadget* canvas = find_gadget(Canvas);
    if (!canvas) return nullptr;
    int scale = gtk_widget_get_scale_factor(canvas->inner);
    int width = canvas->rect.width * scale;
    int height = canvas->rect.height * scale;
    if (canvas_image && (cairo_image_surface_get_width(canvas_image) != width ||
                         cairo_image_surface_get_height(canvas_image) != height)) {
        cairo_surface_destroy(canvas_image);
        canvas_image = nullptr;
    }
    if (!canvas_image && width > 0 && height > 0) {
        canvas_image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
        if (cairo_surface_status(canvas_image) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(canvas_image);
            canvas_image = nullptr;
        }
    }
    return canvas_image;
}

void present_canvas()
{
    if (Gadget* canvas = find_gadget(Canvas)) gtk_widget_queue_draw(canvas->inner);
}
