// Events, timers and menus on GTK 3: the pop-up menu and the shortcuts, the
// timers, the watched children, and the main loop's fetching of events.

#include <gtk/gtk.h>

#include <cstddef>
#include <string>
#include <vector>

#include "app/toolkit/gtk/gtk_private.h"

using namespace gtk_toolkit;

namespace gtk_toolkit {

GtkWidget* popup_menu = nullptr;
GdkEvent* help_click_event = nullptr;
std::map<int, guint> timers;

}  // namespace gtk_toolkit

namespace {

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

void on_child_ended(GPid pid, gint status, gpointer)
{
    g_spawn_close_pid(pid);
    post_event(child_ended_event(pid, status));
}

}  // namespace

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

void watch_child(int pid)
{
    g_child_watch_add(pid, on_child_ended, nullptr);
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
