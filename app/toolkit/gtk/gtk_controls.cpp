// The controls on GTK 3: the scroll panel, buttons, fields, lists, sliders,
// labels and the report, and the table that finds them by GadgetId.
//
// GTK's setters emit their change signals synchronously, so every setter
// below runs inside a ProgramChange guard and the handlers stay silent while
// it is up: that is how a change the program makes raises no event, for every
// control.

#include <gtk/gtk.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "app/toolkit/gtk/gtk_private.h"
#include "model/format.h"

using namespace gtk_toolkit;

namespace gtk_toolkit {

std::array<Gadget, gadget_count> gadgets;
GtkWidget* panel_layout = nullptr;
GtkWidget* current_parent = nullptr;

Gadget* find_gadget(int id)
{
    if (id < 0 || id >= gadget_count) return nullptr;
    Gadget& g = gadgets[static_cast<std::size_t>(id)];
    return g.kind == Kind::None ? nullptr : &g;
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

}  // namespace gtk_toolkit

namespace {

int panel_scroll_step = 0;
int program_change = 0;

struct ProgramChange {
    ProgramChange() { ++program_change; }
    ~ProgramChange() { --program_change; }
    ProgramChange(const ProgramChange&) = delete;
    ProgramChange& operator=(const ProgramChange&) = delete;
};

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

// GTK lets a list or a slider take the wheel and step its value: a user who
// only scrolls the panel would change the drive whenever one passed under the
// pointer. Stopping the emission keeps the widget's own handler out, and
// returning FALSE sends the scroll on up to the panel, which scrolls.
gboolean pass_wheel_to_panel(GtkWidget* widget, GdkEvent*, gpointer)
{
    g_signal_stop_emission_by_name(widget, "scroll-event");
    return FALSE;
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

void set_tooltip(GtkWidget* widget, const std::string& tooltip)
{
    if (!tooltip.empty()) gtk_widget_set_tooltip_text(widget, tooltip.c_str());
}

}  // namespace

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
    g_signal_connect(combo, "scroll-event", G_CALLBACK(pass_wheel_to_panel), nullptr);
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
    g_signal_connect(scale, "scroll-event", G_CALLBACK(pass_wheel_to_panel), nullptr);
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
