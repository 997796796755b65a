#include "export/export.h"

#include <sys/stat.h>

#include "export/dxf_writer.h"
#include "model/format.h"
#include "text/texts.h"

std::string export_error_text;

namespace {

std::string file_name_of(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The position of the name's extension dot, or npos when the name has none:
// a leading dot starts a hidden name, not an extension.
std::size_t extension_dot(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return std::string::npos;
    return dot;
}

}  // namespace

const char* export_extension(std::int64_t kind)
{
    switch (kind) {
    case Step2D:
    case Step3D: return "stp";
    case Stl: return "stl";
    default: return "dxf";
    }
}

std::string export_dialog_title(std::int64_t kind)
{
    std::string title = text::export_title_prefix;
    for (const char* c = export_extension(kind); *c != '\0'; ++c) title += static_cast<char>(*c - 'a' + 'A');
    return title;
}

std::string export_dialog_filter(std::int64_t kind)
{
    switch (kind) {
    case Step2D:
    case Step3D: return text::export_filter_step;
    case Stl: return text::export_filter_stl;
    default: return text::export_filter_dxf;
    }
}

std::string propose_export_path(std::int64_t kind, const std::string& folder, const std::string& project_path)
{
    std::string base = text::export_default_base_name;
    if (!project_path.empty()) {
        base = file_name_of(project_path);
        const std::size_t dot = extension_dot(base);
        if (dot != std::string::npos) base.erase(dot);
        if (base.empty()) base = text::export_default_base_name;
    }
    if (kind == Dxf3D || kind == Step3D) base += text::export_3d_suffix;
    return folder + base + "." + export_extension(kind);
}

std::string with_export_extension(const std::string& path, std::int64_t kind)
{
    const std::string name = file_name_of(path);
    const std::size_t dot = extension_dot(name);
    if (dot == std::string::npos || dot + 1 == name.size()) return path + "." + export_extension(kind);
    return path;
}

bool export_target_exists(const std::string& path)
{
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

std::string export_overwrite_question(const std::string& path)
{
    std::string question = "'";
    question += file_name_of(path);
    question += text::project_overwrite_question;
    return question;
}

std::string export_folder_of(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
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
    const char* unit = text::export_unit_curves;
    if (kind == Dxf3D || kind == Stl) unit = text::export_unit_triangles;
    if (kind == Step3D) unit = text::export_unit_solids;
    return format_integer(count) + unit + text::export_written_to + path + text::export_size_open +
           format_integer(size_kb) + text::export_size_close;
}

std::string export_failure_message(const std::string& path)
{
    return export_error_text + "\n" + path;
}

std::int64_t write_export_file(std::int64_t kind, const std::string& path, const DriveInput& input,
                               const DriveSolution& solution, const DriveOptions& options)
{
    if (kind == Dxf2D) return write_dxf_2d(path, input, solution, options);
    export_error_text = text::export_not_available;
    return 0;
}
