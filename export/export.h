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

// A writer: the file of its kind at `path` from the drive's records. Returns
// what it wrote (curves, triangles or solids), 0 on failure with the reason
// in export_error_text and no file left behind.
using ExportWriter = std::int64_t (*)(const std::string& path, const DriveInput& input,
                                      const DriveSolution& solution, const DriveOptions& options);

// One row of the table of export kinds.
struct ExportKindRow {
    const char* extension;  // "dxf", "stp" or "stl"
    const char* filter;     // the save dialog's one filter
    const char* unit;       // " curves", " triangles" or " solids" in the result
    bool three_d;           // the proposed name gets "_3d"
    ExportWriter writer;
};

// The row of the kind; a kind outside the table is treated as 2D DXF.
const ExportKindRow& export_kind_row(std::int64_t kind);

const char* export_extension(std::int64_t kind);

// The save dialog's title ("Export DXF") and its one filter
// ("DXF R12 (*.dxf)|*.dxf": display name, "|", patterns joined by ";").
std::string export_dialog_title(std::int64_t kind);
std::string export_dialog_filter(std::int64_t kind);

// The path the save dialog proposes: `folder` (the remembered export folder
// with its trailing "/", or "" for none), the project's base name (or
// "zandrel" without a project), "_3d" for the 3D DXF and 3D STEP files, "."
// and the kind's extension.
std::string propose_export_path(std::int64_t kind, const std::string& folder, const std::string& project_path);

// The path as chosen in the dialog, with "." + the kind's extension appended
// when its file name has no extension (extension_dot). Any other extension is
// kept as typed.
std::string with_export_extension(const std::string& path, std::int64_t kind);

// True when `path` names an existing file of any size (a folder does not
// count), the case in which the command asks before overwriting.
bool export_target_exists(const std::string& path);

// "'drive.dxf' already exists. Overwrite?": the question before a project or
// an export replaces a file.
std::string overwrite_question_text(const std::string& path);

// The size of the written file in whole KB (bytes / 1024, cut); -1 when the
// file cannot be looked at.
std::int64_t export_file_size_kb(const std::string& path);

// The result box of a successful export: "212 curves written to\n" + path +
// "\n(" + KB + " KB)"; triangles for the meshes, solids for 3D STEP.
std::string export_result_message(std::int64_t kind, std::int64_t count, const std::string& path,
                                  std::int64_t size_kb);

// The error box of a failed export: export_error_text, a line break, the path.
std::string export_failure_message(const std::string& path);

// 1 when every wheel of the export scope can be made with its bore: a bore
// that reaches the bottoms of the tooth gaps (bore >= d - 2 ri, a little under
// the root diameter) leaves no solid wheel, and one below smallest_bore is no
// hole. 0 with that wheel's "Bore of ... is too large for the wheel." or "...
// too small to be cut ..." in export_error_text.
std::int64_t check_export_bores(const DriveSolution& solution, const DriveOptions& options);

// Calls the writer of the kind with the path and the drive's records and
// returns its count: curves, triangles or solids, 0 on failure with the reason
// in export_error_text.
std::int64_t write_export_file(std::int64_t kind, const std::string& path, const DriveInput& input,
                               const DriveSolution& solution, const DriveOptions& options);
