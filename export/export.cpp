#include "export/export.h"

#include <sys/stat.h>

#include <iterator>

#include "export/dxf_writer.h"
#include "export/mesh_writers.h"
#include "files/path_name.h"
#include "export/step_2d.h"
#include "export/step_solids.h"
#include "model/format.h"
#include "text/texts.h"

std::string export_error_text;

const ExportKindRow& export_kind_row(std::int64_t kind)
{
    // Built on first use: the texts come from the table of the linked language.
    static const ExportKindRow rows[] = {
        {"dxf", text::export_filter_dxf, text::export_unit_curves, false, write_dxf_2d},         // Dxf2D
        {"stp", text::export_filter_step, text::export_unit_curves, false, write_step_2d},       // Step2D
        {"dxf", text::export_filter_dxf, text::export_unit_triangles, true, write_dxf_3d},       // Dxf3D
        {"stp", text::export_filter_step, text::export_unit_solids, true, write_step_3d},        // Step3D
        {"stl", text::export_filter_stl, text::export_unit_triangles, false, write_stl_binary},  // Stl
    };
    if (kind < 0 || kind >= static_cast<std::int64_t>(std::size(rows))) return rows[Dxf2D];
    return rows[kind];
}

const char* export_extension(std::int64_t kind)
{
    return export_kind_row(kind).extension;
}

std::string export_dialog_title(std::int64_t kind)
{
    std::string title = text::export_title_prefix;
    for (const char* c = export_extension(kind); *c != '\0'; ++c) title += static_cast<char>(*c - 'a' + 'A');
    return title;
}

std::string export_dialog_filter(std::int64_t kind)
{
    return export_kind_row(kind).filter;
}

std::string propose_export_path(std::int64_t kind, const std::string& folder, const std::string& project_path)
{
    std::string base = base_name_of(project_path);
    if (base.empty()) base = text::export_default_base_name;
    if (export_kind_row(kind).three_d) base += text::export_3d_suffix;
    return folder + base + "." + export_extension(kind);
}

std::string with_export_extension(const std::string& path, std::int64_t kind)
{
    if (extension_dot(file_name_of(path)) == std::string::npos) return path + "." + export_extension(kind);
    return path;
}

bool export_target_exists(const std::string& path)
{
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

std::string overwrite_question_text(const std::string& path)
{
    std::string question = "'";
    question += file_name_of(path);
    question += text::project_overwrite_question;
    return question;
}

std::int64_t export_file_size_kb(const std::string& path)
{
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return -1;
    return static_cast<std::int64_t>(status.st_size) / 1024;
}

std::string export_result_message(std::int64_t kind, std::int64_t count, const std::string& path,
                                  std::int64_t size_kb)
{
    return format_integer(count) + export_kind_row(kind).unit + text::export_written_to + path + text::export_size_open +
           format_integer(size_kb) + text::export_size_close;
}

std::string export_failure_message(const std::string& path)
{
    return export_error_text + "\n" + path;
}

std::int64_t check_export_bores(const DriveSolution& solution, const DriveOptions& options)
{
    struct Wheel {
        ExportScope alone;
        const SprocketGeometry& geometry;
        double bore;
        const char* too_large;
        const char* too_small;
    };
    const Wheel wheels[] = {
        {ExportWheel1Only, solution.wheel1_geometry, options.bore1, text::report_bore1_too_large,
         text::report_bore1_too_small},
        {ExportWheel2Only, solution.wheel2_geometry, options.bore2, text::report_bore2_too_large,
         text::report_bore2_too_small},
        {ExportIdlerOnly, solution.idler_geometry, options.idler_bore, text::report_idler_bore_too_large,
         text::report_idler_bore_too_small},
    };
    for (const Wheel& w : wheels) {
        if (options.export_scope != ExportEverything && options.export_scope != w.alone) continue;
        const bool too_large = w.bore >= w.geometry.pitch_diameter - 2.0 * w.geometry.seating_radius;
        if (!too_large && !bore_too_small(w.bore)) continue;
        // The report's note, without its line end: here it is the one line of an error box.
        export_error_text = too_large ? w.too_large : w.too_small;
        while (!export_error_text.empty() && export_error_text.back() == '\n') export_error_text.pop_back();
        return 0;
    }
    return 1;
}

std::int64_t write_export_file(std::int64_t kind, const std::string& path, const DriveInput& input,
                               const DriveSolution& solution, const DriveOptions& options)
{
    return export_kind_row(kind).writer(path, input, solution, options);
}
