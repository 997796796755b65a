#include "app/commands/project_dialogs.h"

#include <filesystem>

#include "app/shell/main_window.h"
#include "app/shell/preferences.h"
#include "app/shell/project_file.h"
#include "app/shell/recalculation.h"
#include "app/shell/shell_state.h"
#include "app/toolkit/toolkit.h"
#include "export/export.h"
#include "files/path_name.h"
#include "model/drive.h"
#include "text/texts.h"

namespace {

const char* const project_pattern = "*.zdr";

void show_file_error(const std::string& path)
{
    show_message_box(text::message_box_title, project_file_message + "\n" + path, MessageKind::Error);
}

// A project named relative to the working folder (from the command line) is
// kept with its full path, so that the remembered folder means something to
// the next dialog as well. Its ".." stay for the kernel to resolve: after a
// link, "lnk/.." is where the link leads up from, not the working folder.
std::string full_path(const std::string& path)
{
    if (path.empty() || path.front() == '/') return path;
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? path : (folder / path).string();
}

// The project is now this file: remember its folder, show its name, drop the mark.
void project_is_now(const std::string& path)
{
    write_pref_string("projectmap", folder_of(path));
    project_path = path;
    project_modified = 0;
    update_window_title();
}

}  // namespace

void open_project_file(const std::string& named_path)
{
    const std::string path = full_path(named_path);
    DriveInput input;
    DriveOptions options;
    if (!load_project_over_defaults(path, input, options)) {
        show_file_error(path);
        return;
    }
    if (!project_file_message.empty())
        show_message_box(text::message_box_title, project_file_message, MessageKind::Warning);
    drive_input = input;
    drive_options = options;
    project_to_gadgets();
    recalculate_and_redraw(1);
    project_is_now(path);
}

void open_project_dialog()
{
    // Taken before the question: answering Yes may save the project under a new name.
    const std::string start_path = project_path;
    if (!confirm_discard_or_save()) return;

    FileDialog dialog;
    dialog.title = text::project_open_title;
    dialog.filters = {{text::project_filter, {project_pattern}}, {text::project_all_files_filter, {"*"}}};
    if (start_path.empty()) {
        dialog.folder = read_pref_folder("projectmap");
    } else {
        dialog.folder = folder_of(start_path);
        dialog.file_name = file_name_of(start_path);
    }
    std::string path = show_open_dialog(dialog);
    if (path.empty()) return;
    open_project_file(path);
}

std::int64_t save_project(std::int64_t save_as)
{
    std::string path = project_path;
    if (project_path.empty() || save_as != 0) {
        const std::string proposed = proposed_project_path(project_path);
        FileDialog dialog;
        dialog.title = text::project_save_title;
        dialog.filters = {{text::project_filter, {project_pattern}}};
        dialog.folder = folder_of(proposed);
        dialog.file_name = file_name_of(proposed);
        std::string chosen = show_save_dialog(dialog);
        if (chosen.empty()) return 0;
        path = with_project_extension(chosen);
        if (overwrite_question_needed(path, project_path) &&
            show_message_box(text::message_box_title, overwrite_question_text(path), MessageKind::QuestionYesNo) !=
                MessageAnswer::Yes)
            return 0;
    }
    gadgets_to_project();
    if (!write_project_file(path, drive_input, drive_options)) {
        show_file_error(path);
        return 0;
    }
    project_is_now(path);
    return 1;
}

std::int64_t confirm_discard_or_save()
{
    if (!project_modified) return 1;
    switch (show_message_box(text::message_box_title, text::project_changed_question,
                             MessageKind::QuestionYesNoCancel)) {
    case MessageAnswer::Yes:
        return save_project(0);
    case MessageAnswer::No:
        return 1;
    default:
        return 0;
    }
}
