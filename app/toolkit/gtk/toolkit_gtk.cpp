// The toolkit layer on GTK 3. Nothing else in the program includes gtk.h.
//
// Signal handlers only queue program events; the main loop fetches them
// through wait_event / poll_event, built on gtk_main_iteration_do. GTK's
// setters emit their change signals synchronously, so every setter below runs
// inside a ProgramChange guard and the handlers stay silent while it is up:
// that is how a change the program makes raises no event, for every control.

#include <gtk/gtk.h>

#include <array>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>

#include "app/toolkit/toolkit.h"
#include "model/format.h"
#include "text/texts.h"

// From Xlib; its header is left out because its macros (None, Button1, ...)
// collide with ordinary names.
extern "C" int XInitThreads(void);

namespace {

enum class Kind { None, Panel, Button, TextField, Check, Combo, Slider, Label, Report, Canvas };

struct Gadget {
    Kind kind = Kind::None;
    GtkWidget* outer = nullptr;  // what sits in its parent layout
    GtkWidget* inner = nullptr;  // what holds the value
    GtkWidget* parent = nullptr;
    Rect rect;
};

std::array<Gadget, gadget_count> gadgets;
GtkWidget* main_window = nullptr;
GtkWidget* window_layout = nullptr;  // the window's own fixed layout
GtkWidget* panel_layout = nullptr;   // the content of the scroll panel
GtkWidget* current_parent = nullptr;
int panel_scroll_step = 0;
int inner_width = 0;
int inner_height = 0;
void (*resize_handler)() = nullptr;
GtkWidget* popup_menu = nullptr;
GtkAccelGroup* accel_group = nullptr;
GdkEvent* help_click_event = nullptr;
PangoFontDescription* canvas_font = nullptr;
std::map<int, guint> timers;
GdkCursor* canvas_cursor = nullptr;
cairo_surface_t* canvas_image = nullptr;
int program_change = 0;

struct ProgramChange {
    ProgramChange() { ++program_change; }
    ~ProgramChange() { --program_change; }
    ProgramChange(const ProgramChange&) = delete;
    ProgramChange& operator=(const ProgramChange&) = delete;
};

Gadget* find_gadget(int id)
{
    if (id < 0 || id >= gadget_count) return nullptr;
    Gadget& g = gadgets[static_cast<std::size_t>(id)];
    return g.kind == Kind::None ? nullptr : &g;
}

void post_gadget_event(int id, GadgetEventType type)
{
    if (program_change) return;
    ProgramEvent event;
    event.kind = EventKind::Gadget;
    event.id = id;
    event.type = type;
    post_event(event);
}

void on_clicked(GtkButton*, gpointer data)
{
    int id = GPOINTER_TO_INT(data);
    if (id == HelpMenuButton && !program_change) {
        // The menu opens later, from the dispatcher; it needs the click that
        // asked for it to place itself at the pointer.
        if (help_click_event) gdk_event_free(help_click_event);
        help_click_event = gtk_get_current_event();
    }
    post_gadget_event(id, GadgetEventType::Click);
}

void on_changed(GtkWidget*, gpointer data)
{
    post_gadget_event(GPOINTER_TO_INT(data), GadgetEventType::Change);
}

void on_toggled(GtkToggleButton*, gpointer data)
{
    post_gadget_event(GPOINTER_TO_INT(data), GadgetEventType::Toggle);
}

void on_value_changed(GtkRange*, gpointer data)
{
    post_gadget_event(GPOINTER_TO_INT(data), GadgetEventType::SliderMove);
}

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

void apply_panel_scroll_step()
{
    if (!panel_layout || panel_scroll_step <= 0) return;
    GtkAdjustment* adjustments[2] = {gtk_scrollable_get_hadjustment(GTK_SCROLLABLE(panel_layout)),
                                     gtk_scrollable_get_vadjustment(GTK_SCROLLABLE(panel_layout))};
    for (GtkAdjustment* a : adjustments)
        if (a && gtk_adjustment_get_step_increment(a) != panel_scroll_step)
            gtk_adjustment_set_step_increment(a, panel_scroll_step);
}

// GtkLayout resets the step of its adjustments at every allocation.
void on_panel_allocated(GtkWidget*, GdkRectangle*, gpointer)
{
    apply_panel_scroll_step();
}

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

void on_menu_item(GtkMenuItem*, gpointer data)
{
    ProgramEvent event;
    event.kind = EventKind::Menu;
    event.id = GPOINTER_TO_INT(data);
    post_event(event);
}

gboolean on_shortcut(GtkAccelGroup*, GObject*, guint, GdkModifierType, gpointer data)
{
    ProgramEvent event;
    event.kind = EventKind::Menu;
    event.id = GPOINTER_TO_INT(data);
    post_event(event);
    return TRUE;
}

gboolean on_timer(gpointer data)
{
    ProgramEvent event;
    event.kind = EventKind::Timer;
    event.id = GPOINTER_TO_INT(data);
    post_event(event);
    return G_SOURCE_CONTINUE;
}

void place(GadgetId id, Kind kind, GtkWidget* outer, GtkWidget* inner, Rect rect)
{
    Gadget& g = gadgets[static_cast<std::size_t>(id)];
    g.kind = kind;
    g.outer = outer;
    g.inner = inner;
    g.parent = current_parent;
    g.rect = rect;
    gtk_widget_set_size_request(outer, rect.width, rect.height);
    gtk_layout_put(GTK_LAYOUT(current_parent), outer, rect.x, rect.y);
}

void set_tooltip(GtkWidget* widget, const std::string& tooltip)
{
    if (!tooltip.empty()) gtk_widget_set_tooltip_text(widget, tooltip.c_str());
}

// Defined with the dialogs below; the title needs it too.
std::string valid_utf8(const std::string& text);

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

namespace {

struct AboutWindow {
    GtkWidget* window = nullptr;
    GdkPixbuf* picture = nullptr;
    PangoAttrList* font = nullptr;
    bool closed = false;
};
AboutWindow about_window;

// The About window's handlers end its loop directly: they raise no program
// event, since the main loop is not running while it is open.
gboolean on_about_delete(GtkWidget*, GdkEvent*, gpointer)
{
    about_window.closed = true;
    return TRUE;  // taken down by close_about_window, after the loop
}

gboolean on_about_key(GtkWidget*, GdkEventKey* e, gpointer)
{
    if (e->keyval != GDK_KEY_Escape && e->keyval != GDK_KEY_Return) return FALSE;
    about_window.closed = true;
    return TRUE;
}

void on_about_close_clicked(GtkButton*, gpointer)
{
    about_window.closed = true;
}

GdkPixbuf* about_pixbuf(const AboutWindowContent& content)
{
    const int w = content.picture_width;
    const int h = content.picture_height;
    if (w <= 0 || h <= 0 || content.picture_rgba.size() != static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4)
        return nullptr;
    // The pixbuf keeps its own copy: the decoded rows are freed by the caller.
    GBytes* bytes = g_bytes_new(content.picture_rgba.data(), content.picture_rgba.size());
    GdkPixbuf* pixbuf = gdk_pixbuf_new_from_bytes(bytes, GDK_COLORSPACE_RGB, TRUE, 8, w, h, w * 4);
    g_bytes_unref(bytes);
    return pixbuf;
}

void put_sized(GtkWidget* fixed, GtkWidget* widget, Rect rect)
{
    gtk_widget_set_size_request(widget, rect.width, rect.height);
    gtk_fixed_put(GTK_FIXED(fixed), widget, rect.x, rect.y);
}

}  // namespace

bool open_about_window(const AboutWindowContent& content)
{
    close_about_window();
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    if (!window) return false;
    about_window.window = window;
    gtk_window_set_title(GTK_WINDOW(window), content.window_title.c_str());
    gtk_window_set_default_size(GTK_WINDOW(window), 600, 300);
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    // A dialog's hint: window managers give it neither minimise nor maximise.
    gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_window_set_skip_taskbar_hint(GTK_WINDOW(window), TRUE);
    gtk_window_set_modal(GTK_WINDOW(window), TRUE);
    if (main_window) {
        gtk_window_set_transient_for(GTK_WINDOW(window), GTK_WINDOW(main_window));
        gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER_ON_PARENT);
    } else {
        gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    }
    g_signal_connect(window, "delete-event", G_CALLBACK(on_about_delete), nullptr);
    g_signal_connect(window, "key-press-event", G_CALLBACK(on_about_key), nullptr);

    GtkWidget* fixed = gtk_fixed_new();
    gtk_widget_set_size_request(fixed, 600, 300);
    gtk_container_add(GTK_CONTAINER(window), fixed);

    about_window.picture = about_pixbuf(content);
    if (about_window.picture) put_sized(fixed, gtk_image_new_from_pixbuf(about_window.picture), {16, 16, 256, 256});

    GtkWidget* title = gtk_label_new(content.title_line.c_str());
    // Pango falls back to the default font by itself when "Sans" is missing.
    PangoFontDescription* bold = pango_font_description_from_string("Sans Bold 12");
    about_window.font = pango_attr_list_new();
    pango_attr_list_insert(about_window.font, pango_attr_font_desc_new(bold));
    pango_font_description_free(bold);
    gtk_label_set_attributes(GTK_LABEL(title), about_window.font);
    gtk_label_set_xalign(GTK_LABEL(title), 0.0f);
    gtk_label_set_yalign(GTK_LABEL(title), 0.0f);
    put_sized(fixed, title, {290, 24, 300, 46});

    GtkWidget* close = gtk_button_new_with_label(content.close_caption.c_str());
    g_signal_connect(close, "clicked", G_CALLBACK(on_about_close_clicked), nullptr);
    put_sized(fixed, close, {490, 256, 94, 28});

    about_window.closed = false;
    gtk_widget_show_all(window);
    gtk_widget_grab_focus(close);
    return true;
}

void run_about_window()
{
    // Main-window events that GTK hands over meanwhile are dropped by the
    // blocked queue; the main window still paints its last picture.
    while (about_window.window && !about_window.closed) gtk_main_iteration_do(TRUE);
}

void close_about_window()
{
    if (about_window.window) gtk_widget_destroy(about_window.window);
    if (about_window.picture) g_object_unref(about_window.picture);
    if (about_window.font) pango_attr_list_unref(about_window.font);
    about_window = AboutWindow{};
}

void begin_panel(GadgetId id, Rect rect, int content_width, int content_height, int scroll_step)
{
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_AUTOMATIC, GTK_POLICY_AUTOMATIC);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroller), GTK_SHADOW_NONE);
    panel_layout = gtk_layout_new(nullptr, nullptr);
    gtk_layout_set_size(GTK_LAYOUT(panel_layout), static_cast<guint>(content_width),
                        static_cast<guint>(content_height));
    gtk_container_add(GTK_CONTAINER(scroller), panel_layout);
    panel_scroll_step = scroll_step;
    g_signal_connect_after(panel_layout, "size-allocate", G_CALLBACK(on_panel_allocated), nullptr);
    place(id, Kind::Panel, scroller, panel_layout, rect);
    apply_panel_scroll_step();
    current_parent = panel_layout;
}

void end_panel()
{
    current_parent = window_layout;
}

void set_panel_content_height(int height)
{
    if (!panel_layout) return;
    guint width = 0;
    gtk_layout_get_size(GTK_LAYOUT(panel_layout), &width, nullptr);
    gtk_layout_set_size(GTK_LAYOUT(panel_layout), width, static_cast<guint>(height));
}

void create_button(GadgetId id, Rect rect, const std::string& text, const std::string& tooltip)
{
    GtkWidget* button = gtk_button_new_with_label(text.c_str());
    // The layout's buttons are narrow ("Save as..." gets a quarter of the
    // panel): the theme's side padding alone would cut most captions short.
    static GtkCssProvider* narrow_padding = [] {
        GtkCssProvider* provider = gtk_css_provider_new();
        gtk_css_provider_load_from_data(provider, "button { padding-left: 0; padding-right: 0; }", -1, nullptr);
        return provider;
    }();
    gtk_style_context_add_provider(gtk_widget_get_style_context(button), GTK_STYLE_PROVIDER(narrow_padding),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    // A caption still wider than the button is cut short instead of pushing
    // the button over its neighbour.
    GtkWidget* caption = gtk_bin_get_child(GTK_BIN(button));
    if (GTK_IS_LABEL(caption)) gtk_label_set_ellipsize(GTK_LABEL(caption), PANGO_ELLIPSIZE_END);
    set_tooltip(button, tooltip);
    g_signal_connect(button, "clicked", G_CALLBACK(on_clicked), GINT_TO_POINTER(id));
    place(id, Kind::Button, button, button, rect);
}

void create_text_field(GadgetId id, Rect rect, const std::string& text, const std::string& tooltip)
{
    GtkWidget* entry = gtk_entry_new();
    // The layout gives the width; the entry must not ask for more.
    gtk_entry_set_width_chars(GTK_ENTRY(entry), 1);
    gtk_entry_set_text(GTK_ENTRY(entry), text.c_str());
    set_tooltip(entry, tooltip);
    g_signal_connect(entry, "changed", G_CALLBACK(on_changed), GINT_TO_POINTER(id));
    place(id, Kind::TextField, entry, entry, rect);
}

void create_check(GadgetId id, Rect rect, const std::string& text, bool ticked, const std::string& tooltip)
{
    GtkWidget* check = gtk_check_button_new_with_label(text.c_str());
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(check), ticked);
    set_tooltip(check, tooltip);
    g_signal_connect(check, "toggled", G_CALLBACK(on_toggled), GINT_TO_POINTER(id));
    place(id, Kind::Check, check, check, rect);
}

void create_combo(GadgetId id, Rect rect, const std::vector<std::string>& items, int selected,
                  const std::string& tooltip)
{
    GtkWidget* combo = gtk_combo_box_text_new();
    for (const std::string& item : items) gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(combo), item.c_str());
    gtk_combo_box_set_active(GTK_COMBO_BOX(combo), selected);
    // Long items are cut short rather than widening the list past its place.
    GList* cells = gtk_cell_layout_get_cells(GTK_CELL_LAYOUT(combo));
    for (GList* c = cells; c; c = c->next) g_object_set(c->data, "ellipsize", PANGO_ELLIPSIZE_END, nullptr);
    g_list_free(cells);
    set_tooltip(combo, tooltip);
    g_signal_connect(combo, "changed", G_CALLBACK(on_changed), GINT_TO_POINTER(id));
    place(id, Kind::Combo, combo, combo, rect);
}

void create_slider(GadgetId id, Rect rect, int minimum, int maximum, int position, bool draw_value,
                   const std::string& tooltip)
{
    GtkWidget* scale = gtk_scale_new_with_range(GTK_ORIENTATION_HORIZONTAL, minimum, maximum, 1.0);
    gtk_scale_set_digits(GTK_SCALE(scale), 0);
    gtk_range_set_round_digits(GTK_RANGE(scale), 0);
    gtk_scale_set_draw_value(GTK_SCALE(scale), draw_value);
    // Beside the slider, so that the row keeps its height.
    gtk_scale_set_value_pos(GTK_SCALE(scale), GTK_POS_RIGHT);
    gtk_range_set_value(GTK_RANGE(scale), position);
    set_tooltip(scale, tooltip);
    g_signal_connect(scale, "value-changed", G_CALLBACK(on_value_changed), GINT_TO_POINTER(id));
    place(id, Kind::Slider, scale, scale, rect);
}

void create_label(int id, Rect rect, const std::string& text)
{
    GtkWidget* label = gtk_label_new(text.c_str());
    gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
    gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_END);
    if (find_gadget(id) == nullptr && id >= 0 && id < gadget_count) {
        place(static_cast<GadgetId>(id), Kind::Label, label, label, rect);
        return;
    }
    gtk_widget_set_size_request(label, rect.width, rect.height);
    gtk_layout_put(GTK_LAYOUT(current_parent), label, rect.x, rect.y);
}

void create_report_editor(GadgetId id, Rect rect, const std::string& font_family, int font_size)
{
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_AUTOMATIC, GTK_POLICY_AUTOMATIC);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroller), GTK_SHADOW_IN);
    GtkWidget* view = gtk_text_view_new();
    gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
    gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view), GTK_WRAP_NONE);
    gtk_text_view_set_monospace(GTK_TEXT_VIEW(view), TRUE);
    std::string css = "textview { font-family: \"" + font_family + "\"; font-size: " + format_integer(font_size) +
                      "pt; }";
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, css.c_str(), -1, nullptr);
    gtk_style_context_add_provider(gtk_widget_get_style_context(view), GTK_STYLE_PROVIDER(provider),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
    gtk_container_add(GTK_CONTAINER(scroller), view);
    place(id, Kind::Report, scroller, view, rect);
}

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

Rect gadget_rect(GadgetId id)
{
    Gadget* g = find_gadget(id);
    return g ? g->rect : Rect{};
}

void set_gadget_rect(GadgetId id, Rect rect)
{
    Gadget* g = find_gadget(id);
    if (!g) return;
    g->rect = rect;
    gtk_widget_set_size_request(g->outer, rect.width, rect.height);
    gtk_layout_move(GTK_LAYOUT(g->parent), g->outer, rect.x, rect.y);
}

void set_gadget_text(GadgetId id, const std::string& text)
{
    Gadget* g = find_gadget(id);
    if (!g) return;
    ProgramChange guard;
    switch (g->kind) {
    case Kind::TextField:
        gtk_entry_set_text(GTK_ENTRY(g->inner), text.c_str());
        break;
    case Kind::Label:
        gtk_label_set_text(GTK_LABEL(g->inner), text.c_str());
        break;
    case Kind::Button:
        gtk_button_set_label(GTK_BUTTON(g->inner), text.c_str());
        break;
    case Kind::Check:
        gtk_button_set_label(GTK_BUTTON(g->inner), text.c_str());
        break;
    case Kind::Report:
        gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(g->inner)), text.c_str(),
                                 static_cast<gint>(text.size()));
        break;
    default:
        break;
    }
}

std::string gadget_text(GadgetId id)
{
    Gadget* g = find_gadget(id);
    if (!g) return {};
    switch (g->kind) {
    case Kind::TextField:
        return gtk_entry_get_text(GTK_ENTRY(g->inner));
    case Kind::Label:
        return gtk_label_get_text(GTK_LABEL(g->inner));
    case Kind::Button:
    case Kind::Check: {
        const char* label = gtk_button_get_label(GTK_BUTTON(g->inner));
        return label ? label : "";
    }
    case Kind::Combo: {
        gchar* item = gtk_combo_box_text_get_active_text(GTK_COMBO_BOX_TEXT(g->inner));
        std::string result = item ? item : "";
        g_free(item);
        return result;
    }
    case Kind::Report: {
        GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(g->inner));
        GtkTextIter start;
        GtkTextIter end;
        gtk_text_buffer_get_bounds(buffer, &start, &end);
        gchar* all = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
        std::string result = all ? all : "";
        g_free(all);
        return result;
    }
    default:
        return {};
    }
}

void set_gadget_state(GadgetId id, std::int64_t state)
{
    Gadget* g = find_gadget(id);
    if (!g) return;
    ProgramChange guard;
    switch (g->kind) {
    case Kind::Check:
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(g->inner), state != 0);
        break;
    case Kind::Combo: {
        // An index the list does not have selects nothing.
        GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(g->inner));
        std::int64_t count = model ? gtk_tree_model_iter_n_children(model, nullptr) : 0;
        gtk_combo_box_set_active(GTK_COMBO_BOX(g->inner), state >= 0 && state < count ? static_cast<gint>(state) : -1);
        break;
    }
    case Kind::Slider:
        gtk_range_set_value(GTK_RANGE(g->inner), static_cast<double>(state));
        break;
    default:
        break;
    }
}

std::int64_t gadget_state(GadgetId id)
{
    Gadget* g = find_gadget(id);
    if (!g) return 0;
    switch (g->kind) {
    case Kind::Check:
        return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(g->inner)) ? 1 : 0;
    case Kind::Combo:
        return gtk_combo_box_get_active(GTK_COMBO_BOX(g->inner));
    case Kind::Slider:
        return static_cast<std::int64_t>(std::lround(gtk_range_get_value(GTK_RANGE(g->inner))));
    default:
        return 0;
    }
}

bool create_popup_menu(const std::vector<MenuItem>& items)
{
    popup_menu = gtk_menu_new();
    if (!popup_menu) return false;
    g_object_ref_sink(popup_menu);
    for (const MenuItem& item : items) {
        std::string label = item.text;
        std::string accelerator;
        std::size_t tab = label.find('\t');
        if (tab != std::string::npos) {
            accelerator = label.substr(tab + 1);
            label.erase(tab);
        }
        GtkWidget* entry = gtk_menu_item_new_with_label(label.c_str());
        if (!accelerator.empty()) {
            guint key = 0;
            GdkModifierType modifiers{};
            gtk_accelerator_parse(accelerator.c_str(), &key, &modifiers);
            GtkWidget* child = gtk_bin_get_child(GTK_BIN(entry));
            if (key != 0 && GTK_IS_ACCEL_LABEL(child)) gtk_accel_label_set_accel(GTK_ACCEL_LABEL(child), key, modifiers);
        }
        g_signal_connect(entry, "activate", G_CALLBACK(on_menu_item), GINT_TO_POINTER(item.id));
        gtk_menu_shell_append(GTK_MENU_SHELL(popup_menu), entry);
    }
    gtk_widget_show_all(popup_menu);
    if (main_window) gtk_menu_attach_to_widget(GTK_MENU(popup_menu), main_window, nullptr);
    return true;
}

void show_popup_menu()
{
    if (popup_menu) gtk_menu_popup_at_pointer(GTK_MENU(popup_menu), help_click_event);
}

void add_shortcut(ShortcutKey key, MenuId id)
{
    if (!accel_group) return;
    guint keyval = GDK_KEY_F1;
    GdkModifierType modifiers{};
    if (key == ShortcutKey::CtrlO) keyval = GDK_KEY_o, modifiers = GDK_CONTROL_MASK;
    if (key == ShortcutKey::CtrlS) keyval = GDK_KEY_s, modifiers = GDK_CONTROL_MASK;
    GClosure* closure = g_cclosure_new(G_CALLBACK(on_shortcut), GINT_TO_POINTER(id), nullptr);
    gtk_accel_group_connect(accel_group, keyval, modifiers, GTK_ACCEL_VISIBLE, closure);
}

void start_timer(int number, int period_ms)
{
    stop_timer(number);
    timers[number] = g_timeout_add(static_cast<guint>(period_ms), on_timer, GINT_TO_POINTER(number));
}

void stop_timer(int number)
{
    auto found = timers.find(number);
    if (found != timers.end()) {
        g_source_remove(found->second);
        timers.erase(found);
    }
    drop_timer_events(number);
}

bool timer_running(int number)
{
    return timers.count(number) != 0;
}

bool wait_event(ProgramEvent& event)
{
    if (take_event(event)) return true;
    gtk_main_iteration_do(TRUE);
    return take_event(event);
}

bool poll_event(ProgramEvent& event)
{
    if (take_event(event)) return true;
    if (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    return take_event(event);
}

bool events_pending()
{
    return queued_event_count() > 0 || gtk_events_pending();
}

void settle_and_discard_events()
{
    std::size_t waiting = queued_event_count();
    for (int i = 0; i < 1000 && gtk_events_pending(); ++i) gtk_main_iteration_do(FALSE);
    discard_events_after(waiting);
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

namespace {

// A path or a message that is not valid UTF-8 would show as nothing at all.
std::string valid_utf8(const std::string& text)
{
    gchar* valid = g_utf8_make_valid(text.c_str(), static_cast<gssize>(text.size()));
    std::string result = valid ? valid : "";
    g_free(valid);
    return result;
}

// Runs a modal dialog to its answer. Its nested loop keeps the timer and the
// redraws going; the program events they raise only queue up, and the grab of
// the modal dialog keeps the user's input away from the main window.
gint run_dialog(GtkWidget* dialog)
{
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    return gtk_dialog_run(GTK_DIALOG(dialog));
}

// GTK 3 no longer draws the icon of a message box's type by itself: put it
// beside the text. Questions have none.
void add_message_icon(GtkWidget* dialog, MessageKind kind)
{
    const char* icon = nullptr;
    if (kind == MessageKind::Error) icon = "dialog-error";
    if (kind == MessageKind::Warning) icon = "dialog-warning";
    if (kind == MessageKind::Information) icon = "dialog-information";
    if (!icon) return;
    GtkWidget* image = gtk_image_new_from_icon_name(icon, GTK_ICON_SIZE_DIALOG);
    gtk_widget_set_valign(image, GTK_ALIGN_START);
    GtkWidget* text_area = gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(dialog));
    GtkWidget* row = gtk_widget_get_parent(text_area);
    GtkWidget* box = GTK_IS_BOX(row) && gtk_orientable_get_orientation(GTK_ORIENTABLE(row)) ==
                                            GTK_ORIENTATION_HORIZONTAL
                         ? row
                         : text_area;
    gtk_box_pack_start(GTK_BOX(box), image, FALSE, FALSE, 0);
    gtk_box_reorder_child(GTK_BOX(box), image, 0);
    gtk_widget_show(image);
}

std::string run_file_dialog(const FileDialog& d, GtkFileChooserAction action, const char* accept_word)
{
    // The buttons speak the program's language, not GTK's stock words in the desktop's.
    GtkWidget* dialog = gtk_file_chooser_dialog_new(valid_utf8(d.title).c_str(), nullptr, action, nullptr, nullptr);
    gtk_dialog_add_button(GTK_DIALOG(dialog), text::dialog_button_cancel, GTK_RESPONSE_CANCEL);
    gtk_dialog_add_button(GTK_DIALOG(dialog), accept_word, GTK_RESPONSE_ACCEPT);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
    // The program asks its own question before overwriting.
    gtk_file_chooser_set_do_overwrite_confirmation(chooser, FALSE);
    gtk_file_chooser_set_local_only(chooser, TRUE);
    GtkFileFilter* first = nullptr;
    for (const FileFilter& f : d.filters) {
        GtkFileFilter* filter = gtk_file_filter_new();
        gtk_file_filter_set_name(filter, valid_utf8(f.name).c_str());
        for (const std::string& pattern : f.patterns) gtk_file_filter_add_pattern(filter, pattern.c_str());
        gtk_file_chooser_add_filter(chooser, filter);  // takes the floating reference
        if (!first) first = filter;
    }
    if (first) gtk_file_chooser_set_filter(chooser, first);
    if (!d.folder.empty()) gtk_file_chooser_set_current_folder(chooser, d.folder.c_str());
    if (!d.file_name.empty()) {
        if (action == GTK_FILE_CHOOSER_ACTION_SAVE) {
            gtk_file_chooser_set_current_name(chooser, valid_utf8(d.file_name).c_str());
        } else {
            std::string folder = d.folder.empty() ? "." : d.folder;
            if (folder.back() != '/') folder += '/';
            gchar* full = g_canonicalize_filename((folder + d.file_name).c_str(), nullptr);
            gtk_file_chooser_select_filename(chooser, full);
            g_free(full);
        }
    }
    std::string chosen;
    if (run_dialog(dialog) == GTK_RESPONSE_ACCEPT) {
        gchar* name = gtk_file_chooser_get_filename(chooser);
        if (name) chosen = name;
        g_free(name);
    }
    gtk_widget_destroy(dialog);
    return chosen;
}

}  // namespace

MessageAnswer show_message_box(const std::string& title, const std::string& text, MessageKind kind)
{
    GtkMessageType type = GTK_MESSAGE_OTHER;  // questions carry no icon
    if (kind == MessageKind::Error) type = GTK_MESSAGE_ERROR;
    if (kind == MessageKind::Warning) type = GTK_MESSAGE_WARNING;
    if (kind == MessageKind::Information) type = GTK_MESSAGE_INFO;
    GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, type, GTK_BUTTONS_NONE, "%s",
                                               valid_utf8(text).c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), valid_utf8(title).c_str());
    add_message_icon(dialog, kind);
    switch (kind) {
    case MessageKind::QuestionYesNoCancel:
        gtk_dialog_add_button(GTK_DIALOG(dialog), text::dialog_button_cancel, GTK_RESPONSE_CANCEL);
        [[fallthrough]];
    case MessageKind::QuestionYesNo:
        gtk_dialog_add_button(GTK_DIALOG(dialog), text::dialog_button_no, GTK_RESPONSE_NO);
        gtk_dialog_add_button(GTK_DIALOG(dialog), text::dialog_button_yes, GTK_RESPONSE_YES);
        break;
    default:
        gtk_dialog_add_button(GTK_DIALOG(dialog), text::dialog_button_ok, GTK_RESPONSE_OK);
        gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
        break;
    }
    gint response = run_dialog(dialog);
    gtk_widget_destroy(dialog);
    switch (response) {
    case GTK_RESPONSE_OK:
        return MessageAnswer::Ok;
    case GTK_RESPONSE_YES:
        return MessageAnswer::Yes;
    case GTK_RESPONSE_NO:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Cancel;
    }
}

std::string show_save_dialog(const FileDialog& dialog)
{
    return run_file_dialog(dialog, GTK_FILE_CHOOSER_ACTION_SAVE, text::dialog_button_save);
}

std::string show_open_dialog(const FileDialog& dialog)
{
    return run_file_dialog(dialog, GTK_FILE_CHOOSER_ACTION_OPEN, text::dialog_button_open);
}
