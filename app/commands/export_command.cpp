#include "app/commands/export_command.h"

#include "app/shell/main_window.h"
#include "app/shell/preferences.h"
#include "app/shell/shell_state.h"
#include "export/export.h"
#include "files/path_name.h"
#include "model/drive.h"
#include "text/texts.h"

namespace {

const char* const export_folder_key = "exportmap";

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

}  // namespace

std::vector<FileFilter> file_filters_of(const std::string& filter_text)
{
    std::vector<FileFilter> filters;
    const std::vector<std::string> parts = split(filter_text, '|');
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        FileFilter filter;
        filter.name = parts[i];
        for (const std::string& pattern : split(parts[i + 1], ';'))
            if (!pattern.empty()) filter.patterns.push_back(pattern);
        if (!filter.patterns.empty()) filters.push_back(filter);
    }
    return filters;
}

void export_drive_to_file(std::int64_t kind)
{
    // What the fields show is what gets exported (scope, pitch circles, bores,
    // chord tolerance), even where typing did not recalculate the drive.
    gadgets_to_project();
    if (drive_solution.laid == 0) {
        show_message_box(text::message_box_title, text::export_no_valid_drive, MessageKind::Warning);
        return;
    }
    // The writer would refuse these bores only after the user had chosen a
    // file and answered the overwrite question for nothing. There is no
    // path yet to put below the reason.
    if (!check_export_bores(drive_solution, drive_options)) {
        show_message_box(text::message_box_title, export_error_text, MessageKind::Error);
        return;
    }

    // The folder goes to the dialog apart from the name, so that a folder
    // stored without its trailing "/" still opens where it should.
    FileDialog dialog;
    dialog.title = export_dialog_title(kind);
    dialog.filters = file_filters_of(export_dialog_filter(kind));
    dialog.folder = read_pref_folder(export_folder_key);
    dialog.file_name = propose_export_path(kind, "", project_path);
    const std::string chosen = show_save_dialog(dialog);
    if (chosen.empty()) return;

    const std::string path = with_export_extension(chosen, kind);
    if (export_target_exists(path) &&
        show_message_box(text::message_box_title, overwrite_question_text(path), MessageKind::QuestionYesNo) !=
            MessageAnswer::Yes)
        return;

    set_canvas_cursor(CanvasCursor::Busy);
    const std::int64_t count = write_export_file(kind, path, drive_input, drive_solution, drive_options);
    set_canvas_cursor(CanvasCursor::Default);

    if (count <= 0) {
        show_message_box(text::message_box_title, export_failure_message(path), MessageKind::Error);
        return;
    }
    write_pref_string(export_folder_key, folder_of(path));
    std::int64_t size_kb = export_file_size_kb(path);
    if (size_kb < 0) size_kb = 0;  // written a moment ago; only a race could hide it now
    show_message_box(text::message_box_title, export_result_message(kind, count, path, size_kb),
                     MessageKind::Information);
}
