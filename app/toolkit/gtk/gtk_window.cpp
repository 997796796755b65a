// The main window on GTK 3: starting and stopping the toolkit, measuring
// texts, the window itself and its resizing.

#include <gtk/gtk.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/toolkit/gtk/gtk_private.h"
#include "text/texts.h"

// From Xlib; its header is left out because its macros (None, Button1, ...)
// collide with ordinary names.
extern "C" int XInitThreads(void);

using namespace gtk_toolkit;

namespace gtk_toolkit {

GtkWidget* main_window = nullptr;
GtkWidget* window_layout = nullptr;
GtkAccelGroup* accel_group = nullptr;

}  // namespace gtk_toolkit

namespace {

int inner_width = 0;
int inner_height = 0;
void (*resize_handler)() = nullptr;

gboolean on_delete(GtkWidget*, GdkEvent*, gpointer)
{
    ProgramEvent event;
    event.kind = EventKind::CloseWindow;
    post_event(event);
    return TRUE;  // the program decides whether the window closes
}

// Places a child of the window's layout at its position and requested size,
// as the layout itself does.
void allocate_layout_child(GtkWidget* child, gpointer)
{
    GtkRequisition size;
    gtk_widget_get_preferred_size(child, &size, nullptr);
    int x = 0;
    int y = 0;
    gtk_container_child_get(GTK_CONTAINER(window_layout), child, "x", &x, "y", &y, nullptr);
    GtkAllocation allocation{x, y, size.width, size.height};
    gtk_widget_size_allocate(child, &allocation);
}

void on_window_layout_allocated(GtkWidget*, GdkRectangle* allocation, gpointer)
{
    if (allocation->width == inner_width && allocation->height == inner_height) return;
    inner_width = allocation->width;
    inner_height = allocation->height;
    if (!resize_handler) return;
    resize_handler();
    // The layout has placed its children before this handler runs, and GTK
    // forgets the resizes queued during an allocation once it is over: the
    // sizes just set would wait for the next change of the window's size.
    // Placing the children again lays the window out now, for this size.
    gtk_container_foreach(GTK_CONTAINER(window_layout), allocate_layout_child, nullptr);
}

}  // namespace

bool toolkit_start(int& argc, char**& argv)
{
    setenv("GDK_BACKEND", "x11", 1);
    // GTK's own texts (the file dialogs' places and labels, a field's context
    // menu) in the program's language rather than the desktop's, wherever GTK
    // has that translation: one program, one language.
    setenv("LANGUAGE", text::build_language, 1);
    XInitThreads();
    bool started = gtk_init_check(&argc, &argv);
    // gtk_init takes the user's locale for every category again.
    std::setlocale(LC_NUMERIC, "C");
    // Under the plain C locale gettext passes LANGUAGE over.
    const char* messages = std::setlocale(LC_MESSAGES, nullptr);
    if (messages && (std::strcmp(messages, "C") == 0 || std::strcmp(messages, "POSIX") == 0))
        std::setlocale(LC_MESSAGES, "C.UTF-8");
    return started;
}

void toolkit_shutdown()
{
    for (auto& [number, source] : timers) g_source_remove(source);
    timers.clear();
    if (popup_menu) {
        gtk_widget_destroy(popup_menu);
        g_object_unref(popup_menu);  // the reference taken when it was made
    }
    popup_menu = nullptr;
    if (main_window) gtk_widget_destroy(main_window);
    main_window = nullptr;
    window_layout = nullptr;
    panel_layout = nullptr;
    gadgets = {};
    if (accel_group) g_object_unref(accel_group);
    accel_group = nullptr;
    if (help_click_event) gdk_event_free(help_click_event);
    help_click_event = nullptr;
    if (canvas_font) pango_font_description_free(canvas_font);
    canvas_font = nullptr;
    if (canvas_cursor) g_object_unref(canvas_cursor);
    canvas_cursor = nullptr;
    if (canvas_image) cairo_surface_destroy(canvas_image);
    canvas_image = nullptr;
    for (int i = 0; i < 1000 && gtk_events_pending(); ++i) gtk_main_iteration_do(FALSE);
    clear_event_queue();
}

bool measure_control_text(const std::string& text, int& width, int& height)
{
    GtkWidget* label = gtk_label_new(nullptr);
    g_object_ref_sink(label);
    PangoLayout* layout = gtk_widget_create_pango_layout(label, text.c_str());
    bool ok = layout != nullptr;
    if (ok) {
        PangoRectangle logical;
        pango_layout_get_extents(layout, nullptr, &logical);
        width = logical.width / PANGO_SCALE;
        height = logical.height / PANGO_SCALE;
        g_object_unref(layout);
    }
    g_object_unref(label);
    return ok;
}

int monitor_height_at_origin()
{
    GdkDisplay* display = gdk_display_get_default();
    if (!display) return 0;
    GdkMonitor* monitor = gdk_display_get_monitor_at_point(display, 0, 0);
    if (!monitor) return 0;
    GdkRectangle geometry;
    gdk_monitor_get_geometry(monitor, &geometry);
    return geometry.height;
}

bool open_main_window(int width, int height, const std::string& title)
{
    main_window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    if (!main_window) return false;
    gtk_window_set_title(GTK_WINDOW(main_window), title.c_str());
    gtk_window_set_default_size(GTK_WINDOW(main_window), width, height);
    gtk_window_set_position(GTK_WINDOW(main_window), GTK_WIN_POS_CENTER);
    gtk_window_set_resizable(GTK_WINDOW(main_window), TRUE);
    g_signal_connect(main_window, "delete-event", G_CALLBACK(on_delete), nullptr);

    // A GtkLayout rather than a GtkFixed: its own size does not grow with its
    // children, so the window can still be made smaller than it was.
    window_layout = gtk_layout_new(nullptr, nullptr);
    gtk_container_add(GTK_CONTAINER(main_window), window_layout);
    g_signal_connect(window_layout, "size-allocate", G_CALLBACK(on_window_layout_allocated), nullptr);
    current_parent = window_layout;
    inner_width = width;
    inner_height = height;

    accel_group = gtk_accel_group_new();
    gtk_window_add_accel_group(GTK_WINDOW(main_window), accel_group);
    return true;
}

void show_main_window()
{
    if (main_window) gtk_widget_show_all(main_window);
}

void set_window_title(const std::string& title)
{
    // A project's file name need not be UTF-8; the title would then show nothing.
    if (main_window) gtk_window_set_title(GTK_WINDOW(main_window), valid_utf8(title).c_str());
}

void set_window_min_size(int width, int height)
{
    if (!main_window) return;
    GdkGeometry geometry{};
    geometry.min_width = width;
    geometry.min_height = height;
    gtk_window_set_geometry_hints(GTK_WINDOW(main_window), nullptr, &geometry, GDK_HINT_MIN_SIZE);
}

void window_inner_size(int& width, int& height)
{
    width = inner_width;
    height = inner_height;
}

void set_resize_handler(void (*handler)())
{
    resize_handler = handler;
}

void bring_main_window_to_front()
{
    if (!main_window || !gtk_widget_get_visible(main_window)) return;
    gtk_window_present(GTK_WINDOW(main_window));
    // The wheel reaches the canvas without the focus. A field being typed in
    // (or the report, whose text is selected and copied with the keys) keeps
    // it, or the keys typed while the pointer rests on the drawing would be lost.
    GtkWidget* focused = gtk_window_get_focus(GTK_WINDOW(main_window));
    if (focused && (GTK_IS_EDITABLE(focused) || GTK_IS_TEXT_VIEW(focused))) return;
    if (Gadget* canvas = find_gadget(Canvas)) gtk_widget_grab_focus(canvas->inner);
}

void block_main_window(bool blocked)
{
    set_main_window_blocked(blocked);
    if (main_window) gtk_widget_set_sensitive(main_window, !blocked);
}
