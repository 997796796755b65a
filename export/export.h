#pragma once

#include <cstdint>
#include <string>

#include "model/drive.h"

// The five export buttons; the value is what the dispatcher passes on.
enum ExportKind : std::int64_t { Dxf2D = 0, Step2D = 1, Dxf3D = 2, Step3D = 3, Stl = 4 };

// What DriveOptions.export_scope selects.
enum ExportScope : std::int64_t {
    ExportEverything = 0,
    ExportChainOnly = 1,
    ExportWheel1Only = 2,
    ExportWheel2Only = 3,
    ExportIdlerOnly = 4,
};

// The reason of the last failed export: set by the list builders and the
// writers, shown by the export command with the path below it.
extern std::string export_error_text;

// "dxf", "stp" or "stl"; a kind outside the table is treated as 2D DXF.
const char* export_extension(std::int64_t kind);

// The save dialog's title ("Export DXF") and its one filter
// ("DXF R12 (*.dxf)|*.dxf": display name, "|", patterns joined by ";").
std::string export_dialog_title(std::int64_t kind);
std::string export_dialog_filter(std::int64_t kind);

// The path the save dialog proposes: `folder` (the remembered export folder
// with its trailing "/", or "" for none), the project's file name without
// folder and extension (or "zandrel" without a project), "_3d" for the 3D DXF
// and 3D STEP files, "." and the kind's extension.
std::string propose_export_path(std::int64_t kind, const std::string& folder, const std::string& project_path);

// The path as chosen in the dialog, with "." + the kind's extension appended
// when its file name has none: no "." after the name's first character, or
// nothing after its last ".". Any other extension is kept as typed.
std::string with_export_extension(const std::string& path, std::int64_t kind);

// True when `path` names an existing file of any size (a folder does not
// count), the case in which the command asks before overwriting.
bool export_target_exists(const std::string& path);

// "'drive.dxf' already exists. Overwrite?": the question before overwriting.
std::string export_overwrite_question(const std::string& path);

// Everything up to and including the path's last "/": the folder remembered
// after a successful export ("" when the path has no folder).
std::string export_folder_of(const std::string& path);

// The size of the written file in whole KB (bytes / 1024, cut); -1 when the
// file cannot be looked at.
std::int64_t export_file_size_kb(const std::string& path);

// The result box of a successful export: "212 curves written to\n" + path +
// "\n(" + KB + " KB)"; triangles for the meshes, solids for 3D STEP.
std::string export_result_message(std::int64_t kind, std::int64_t count, const std::string& path,
                                  std::int64_t size_kb);

// The error box of a failed export: export_error_text, a line break, the path.
std::string export_failure_message(const std::string& path);

// Calls the writer of the kind with the path and the drive's records and
// returns its count: curves, triangles or solids, 0 on failure with the reason
// in export_error_text. A kind whose writer is not built yet fails that way.
std::int64_t write_export_file(std::int64_t kind, const std::string& path, const DriveInput& input,
                               const DriveSolution& solution, const DriveOptions& options);
