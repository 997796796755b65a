#include "tests/app/standin.h"

#include <algorithm>

#include <sys/wait.h>

#include "app/shell/canvas_view.h"
#include "app/program/main_loop.h"
#include "app/shell/shell_state.h"

StandInToolkit standin;

namespace {

bool in_panel = false;

StandInGadget* find(int id)
{
    if (id < 0 || id >= gadget_count) return nullptr;
    StandInGadget& g = standin.gadgets[static_cast<std::size_t>(id)];
    return g.kind == StandInKind::None ? nullptr : &g;
}

StandInGadget& make(GadgetId id, StandInKind kind, Rect rect, const std::string& text, const std::string& tooltip)
{
    StandInGadget& g = standin.gadgets[static_cast<std::size_t>(id)];
    g = StandInGadget{};
    g.kind = kind;
    g.rect = rect;
    g.text = text;
    g.tooltip = tooltip;
    g.in_panel = in_panel;
    return g;
}

void post_gadget(GadgetId id, GadgetEventType type)
{
    ProgramEvent event;
    event.kind = EventKind::Gadget;
    event.id = id;
    event.type = type;
    post_event(event);
}

}  // namespace

void standin_reset()
{
    watched_children_end();
    standin = StandInToolkit{};
    in_panel = false;
    clear_event_queue();
    set_main_window_blocked(false);
    reset_program_state();
}

ProgramStart start_program(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), "zandrel");
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    user_closes_window();
    ProgramStart start;
    start.status = main_entry(static_cast<int>(arguments.size()), argv.data());
    start.quit_requested = quit_requested;
    quit_requested = 0;
    return start;
}

namespace {
// No fit of a drive gives this zoom.
constexpr double unfitted_zoom = 0.123456789;
}  // namespace

void unfit_view()
{
    zoom = unfitted_zoom;
}

bool view_was_fitted()
{
    return zoom != unfitted_zoom;
}

int open_dialogs_shown()
{
    return static_cast<int>(std::count_if(standin.file_dialogs.begin(), standin.file_dialogs.end(),
                                          [](const StandInFileDialog& d) { return !d.save; }));
}

bool toolkit_start(int&, char**&)
{
    return true;
}

void toolkit_shutdown()
{
    standin.window_open = false;
}

bool measure_control_text(const std::string& text, int& width, int& height)
{
    if (standin.measuring_fails) return false;
    height = standin.text_height;
    auto named = standin.text_widths.find(text);
    width = named != standin.text_widths.end() ? named->second : standin.char_width * static_cast<int>(text.size());
    return true;
}

int monitor_height_at_origin()
{
    return standin.monitor_height;
}

bool open_main_window(int width, int height, const std::string& title)
{
    standin.window_open = true;
    standin.window_width = width;
    standin.window_height = height;
    standin.title = title;
    return true;
}

void show_main_window() {}

void set_window_title(const std::string& title)
{
    standin.title = title;
    ++standin.title_sets;
}

void set_window_min_size(int width, int height)
{
    standin.min_width = width;
    standin.min_height = height;
}

void window_inner_size(int& width, int& height)
{
    width = standin.window_width;
    height = standin.window_height;
}

void set_resize_handler(void (*handler)())
{
    standin.resize_handler = handler;
}

void bring_main_window_to_front()
{
    ++standin.front_requests;
}

void block_main_window(bool blocked)
{
    set_main_window_blocked(blocked);
    standin.main_window_blocked = blocked;
}

bool open_about_window(const AboutWindowContent& content)
{
    if (standin.about_window_fails) return false;
    standin.about_windows.push_back(content);
    standin.about_window_open = true;
    return true;
}

void run_about_window()
{
    if (standin.while_about_open) standin.while_about_open();
}

void close_about_window()
{
    standin.about_window_open = false;
}

void begin_panel(GadgetId id, Rect rect, int content_width, int content_height, int scroll_step)
{
    make(id, StandInKind::Panel, rect, "", "");
    standin.panel_content_width = content_width;
    standin.panel_content_height = content_height;
    standin.panel_scroll_step = scroll_step;
    in_panel = true;
}

void end_panel()
{
    in_panel = false;
}

void set_panel_content_height(int height)
{
    standin.panel_content_height = height;
}

void create_button(GadgetId id, Rect rect, const std::string& text, const std::string& tooltip)
{
    make(id, StandInKind::Button, rect, text, tooltip);
}

void create_text_field(GadgetId id, Rect rect, const std::string& text, const std::string& tooltip)
{
    make(id, StandInKind::TextField, rect, text, tooltip);
}

void create_check(GadgetId id, Rect rect, const std::string& text, bool ticked, const std::string& tooltip)
{
    make(id, StandInKind::Check, rect, text, tooltip).state = ticked ? 1 : 0;
}

void create_combo(GadgetId id, Rect rect, const std::vector<std::string>& items, int selected,
                  const std::string& tooltip)
{
    StandInGadget& g = make(id, StandInKind::Combo, rect, "", tooltip);
    g.items = items;
    g.state = selected;
}

void create_slider(GadgetId id, Rect rect, int minimum, int maximum, int position, bool,
                   const std::string& tooltip)
{
    StandInGadget& g = make(id, StandInKind::Slider, rect, "", tooltip);
    g.minimum = minimum;
    g.maximum = maximum;
    g.state = position;
}

void create_label(int id, Rect rect, const std::string& text)
{
    if (id >= 0 && id < gadget_count) {
        make(static_cast<GadgetId>(id), StandInKind::Label, rect, text, "");
        return;
    }
    standin.labels.push_back({rect, text});
}

void create_report_editor(GadgetId id, Rect rect, const std::string&, int)
{
    make(id, StandInKind::Report, rect, "", "");
}

void create_canvas(GadgetId id, Rect rect)
{
    make(id, StandInKind::Canvas, rect, "", "");
}

void load_canvas_font(const std::string& family, int size)
{
    standin.canvas_font = family + " " + std::to_string(size);
}

Rect gadget_rect(GadgetId id)
{
    StandInGadget* g = find(id);
    return g ? g->rect : Rect{};
}

void set_gadget_rect(GadgetId id, Rect rect)
{
    if (StandInGadget* g = find(id)) g->rect = rect;
}

void set_gadget_text(GadgetId id, const std::string& text)
{
    if (StandInGadget* g = find(id)) g->text = text;
}

std::string gadget_text(GadgetId id)
{
    StandInGadget* g = find(id);
    if (!g) return {};
    if (g->kind == StandInKind::Combo)
        return g->state >= 0 && g->state < static_cast<std::int64_t>(g->items.size())
                   ? g->items[static_cast<std::size_t>(g->state)]
                   : std::string();
    return g->text;
}

void set_gadget_state(GadgetId id, std::int64_t state)
{
    StandInGadget* g = find(id);
    if (!g) return;
    if (g->kind == StandInKind::Slider) state = std::clamp<std::int64_t>(state, g->minimum, g->maximum);
    if (g->kind == StandInKind::Combo && (state < 0 || state >= static_cast<std::int64_t>(g->items.size())))
        state = -1;
    if (g->kind == StandInKind::Check) state = state != 0 ? 1 : 0;
    g->state = state;
}

std::int64_t gadget_state(GadgetId id)
{
    StandInGadget* g = find(id);
    return g ? g->state : 0;
}

bool create_popup_menu(const std::vector<MenuItem>& items)
{
    standin.menu = items;
    return true;
}

void show_popup_menu()
{
    ++standin.popup_shown;
}

void add_shortcut(ShortcutKey key, MenuId id)
{
    standin.shortcuts.emplace_back(key, id);
}

void start_timer(int number, int period_ms)
{
    if (number != animation_timer) return;
    standin.timer_on = true;
    standin.timer_period = period_ms;
}

void stop_timer(int number)
{
    if (number == animation_timer) standin.timer_on = false;
    drop_timer_events(number);
}

bool timer_running(int number)
{
    return number == animation_timer && standin.timer_on;
}

void watch_child(int pid)
{
    standin.watched_children.push_back(pid);
}

void watched_children_end()
{
    for (int pid : standin.watched_children) {
        int status = 0;
        if (waitpid(pid, &status, 0) != pid) continue;
        post_event(child_ended_event(pid, status));
    }
    standin.watched_children.clear();
}

bool wait_event(ProgramEvent& event)
{
    return take_event(event);
}

bool poll_event(ProgramEvent& event)
{
    return take_event(event);
}

bool events_pending()
{
    return queued_event_count() > 0;
}

void settle_and_discard_events()
{
    discard_events_after(queued_event_count());
}

void set_canvas_cursor(CanvasCursor cursor)
{
    standin.cursor = cursor;
    standin.cursors_set.push_back(cursor);
}

cairo_surface_t* canvas_surface()
{
    return standin.canvas_surface;
}

void present_canvas()
{
    ++standin.canvas_presented;
}

void user_types(GadgetId id, const std::string& text)
{
    if (StandInGadget* g = find(id)) g->text = text;
    post_gadget(id, GadgetEventType::Change);
}

void user_selects(GadgetId id, int item)
{
    if (StandInGadget* g = find(id)) g->state = item;
    post_gadget(id, GadgetEventType::Change);
}

void user_toggles(GadgetId id)
{
    if (StandInGadget* g = find(id)) g->state = g->state ? 0 : 1;
    post_gadget(id, GadgetEventType::Toggle);
}

void user_moves_slider(GadgetId id, int position)
{
    if (StandInGadget* g = find(id)) g->state = std::clamp(position, g->minimum, g->maximum);
    post_gadget(id, GadgetEventType::SliderMove);
}

void user_clicks(GadgetId id)
{
    post_gadget(id, GadgetEventType::Click);
}

void user_chooses_menu(MenuId id)
{
    ProgramEvent event;
    event.kind = EventKind::Menu;
    event.id = id;
    post_event(event);
}

void user_closes_window()
{
    ProgramEvent event;
    event.kind = EventKind::CloseWindow;
    post_event(event);
}

void timer_ticks(int count)
{
    if (!standin.timer_on) return;
    ProgramEvent event;
    event.kind = EventKind::Timer;
    event.id = animation_timer;
    ProgramEvent other;  // something in between, so that the ticks are not duplicates
    other.kind = EventKind::Gadget;
    other.id = IdlerPercentLabel;
    other.type = GadgetEventType::Click;
    for (int i = 0; i < count; ++i) {
        post_event(event);
        if (i + 1 < count) post_event(other);
    }
}

void user_resizes_window(int width, int height)
{
    standin.window_width = width;
    standin.window_height = height;
    if (standin.resize_handler) standin.resize_handler();
}

void run_one_pass()
{
    main_loop_pass();
}

namespace {

void dialog_is_open()
{
    if (standin.while_dialog_open) standin.while_dialog_open();
}

std::string take_chosen_path()
{
    dialog_is_open();
    if (standin.chosen_paths.empty()) return {};
    std::string path = standin.chosen_paths.front();
    standin.chosen_paths.pop_front();
    return path;
}

}  // namespace

MessageAnswer show_message_box(const std::string& title, const std::string& text, MessageKind kind)
{
    standin.message_boxes.push_back({title, text, kind});
    dialog_is_open();
    bool question = kind == MessageKind::QuestionYesNo || kind == MessageKind::QuestionYesNoCancel;
    if (standin.answers.empty()) return question ? MessageAnswer::Cancel : MessageAnswer::Ok;
    MessageAnswer answer = standin.answers.front();
    standin.answers.pop_front();
    return answer;
}

std::string show_save_dialog(const FileDialog& dialog)
{
    standin.file_dialogs.push_back({true, dialog});
    return take_chosen_path();
}

std::string show_open_dialog(const FileDialog& dialog)
{
    standin.file_dialogs.push_back({false, dialog});
    return take_chosen_path();
}
