#include "app/shell/shell_state.h"

#include "app/toolkit/toolkit.h"
#include "files/path_name.h"
#include "text/texts.h"

std::int64_t quit_requested = 0;
std::int64_t animation_ticks = 0;
std::int64_t redraw_pending = 0;
std::int64_t report_pending = 0;
std::int64_t loading_gadgets = 0;
std::int64_t project_modified = 0;
std::string project_path;

void mark_project_modified()
{
    if (loading_gadgets || project_modified) return;
    project_modified = 1;
    update_window_title();
}

std::string window_title_text()
{
    std::string title = text::title_prefix;
    title += project_path.empty() ? std::string(text::title_new_project) : file_name_of(project_path);
    if (project_modified) title += text::title_modified_mark;
    title += text::title_suffix;
    return title;
}

void update_window_title()
{
    set_window_title(window_title_text());
}

void reset_shell_state()
{
    quit_requested = 0;
    animation_ticks = 0;
    redraw_pending = 0;
    report_pending = 0;
    loading_gadgets = 0;
    project_modified = 0;
    project_path.clear();
}
