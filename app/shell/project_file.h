#pragma once

#include <cstdint>
#include <string>

#include "files/key_value_file.h"
#include "model/drive.h"

// The project file (".zdr"): the drive input and options as groups of Dutch
// keys, the same in every language build so that a project travels between them.

// The reason of the last failed load or save, or the warning of a load that
// succeeded; emptied when a load or save starts.
extern std::string project_file_message;

// Puts the program's default drive (the records' own member values: 08B,
// Z1 17, Z2 34, 500 mm, idler 15 teeth halfway along the slack strand,
// outside the chain) into the records. Always 0.
int set_project_defaults(DriveInput& input, DriveOptions& options);

// Exactly 9 decimals with '.' as the point, in every locale.
std::string format_decimal9(double x);

// The key as a number from the selected group. A missing key, and one holding
// NaN or an infinity, gives `current` as its 9-decimal text reads.
double read_project_double(const KeyValueFile& file, const std::string& key, double current);

// 1 when written; 0 with the reason in project_file_message. A failed save
// leaves the file that was there untouched.
int write_project_file(const std::string& path, const DriveInput& input, const DriveOptions& options);

// Reads the file over the records (keys missing from it keep the records'
// values). 1 on success, possibly with a warning in project_file_message;
// 0 with the reason there, the records then possibly partly written.
int load_project_file(const std::string& path, DriveInput& input, DriveOptions& options);

// The same without the disk, for the reader's tests and fuzzing.
void project_to_key_values(KeyValueFile& file, const DriveInput& input, const DriveOptions& options);
int project_from_key_values(KeyValueFile& file, DriveInput& input, DriveOptions& options);

// What opening a project starts from: every key missing from the file takes
// the program's default, not the value of the project that is open.
int load_project_over_defaults(const std::string& path, DriveInput& input, DriveOptions& options);

// The name chosen in the save dialog with ".zdr" added when its file name has
// no extension (extension_dot).
std::string with_project_extension(const std::string& path);

// The path the save dialog proposes: the current project, else "zandrel.zdr"
// in the remembered project folder, else the bare name.
std::string proposed_project_path(const std::string& current_project_path);

// Whether saving to `path` must ask first: a file (not a folder) is there and
// it is not the current project's own file.
bool overwrite_question_needed(const std::string& path, const std::string& current_project_path);
