// Dialogs and the About window on GTK 3: the About window with its own loop,
// the message boxes and the file dialogs.

#include <gtk/gtk.h>

#include <cstddef>
#include <string>

#include "app/toolkit/gtk/gtk_private.h"
#include "text/texts.h"

using namespace gtk_toolkit;

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

namespace gtk_toolkit {

// A path or a message that is not valid UTF-8 would show as nothing at all.
std::string valid_utf8(const std::string& text)
{
    gchar* valid = g_utf8_make_valid(text.c_str(), static_cast<gssize>(text.size()));
    std::string result = valid ? valid : "";
    g_free(valid);
    return result;
}

}  // namespace gtk_toolkit

namespace {

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
