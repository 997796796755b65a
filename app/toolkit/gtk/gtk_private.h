#pragma once

// What the files of the GTK toolkit share among themselves; nothing outside
// this folder includes it. They are the only files of the program that
// include GTK. Signal handlers only queue program events; the main loop
// fetches them through wait_event / poll_event, built on gtk_main_iteration_do.
//
// Each name is defined in the file that makes what it holds. toolkit_shutdown
// releases them all, so that one place decides the order they go in.

#include <gtk/gtk.h>

#include <array>
#include <map>
#include <string>

#include "app/toolkit/toolkit.h"

namespace gtk_toolkit {

enum class Kind { None, Panel, Button, TextField, Check, Combo, Slider, Label, Report, Canvas };

struct Gadget {
    Kind kind = Kind::None;
    GtkWidget* outer = nullptr;  // what sits in its parent layout
    GtkWidget* inner = nullptr;  // what holds the value
    GtkWidget* parent = nullptr;
    Rect rect;
};

// gtk_window.cpp
extern GtkWidget* main_window;
extern GtkWidget* window_layout;  // the window's own fixed layout
extern GtkAccelGroup* accel_group;

// gtk_controls.cpp
extern std::array<Gadget, gadget_count> gadgets;
extern GtkWidget* panel_layout;  // the content of the scroll panel
extern GtkWidget* current_parent;
Gadget* find_gadget(int id);
// The canvas enters the table and its layout as every other control does.
void place(GadgetId id, Kind kind, GtkWidget* outer, GtkWidget* inner, Rect rect);

// gtk_events.cpp
extern GtkWidget* popup_menu;
// Taken by the help button's click, which the menu needs to place itself.
extern GdkEvent* help_click_event;
extern std::map<int, guint> timers;

// gtk_canvas.cpp
extern PangoFontDescription* canvas_font;
extern GdkCursor* canvas_cursor;
extern cairo_surface_t* canvas_image;

// gtk_dialogs.cpp; the window's title needs it too.
std::string valid_utf8(const std::string& text);

}  // namespace gtk_toolkit
