#pragma once

#include <string>
#include <string_view>

#include "text/texts.h"

// The folder that holds the written guide: made inside the temporary folder
// with a name nobody can guess, readable by us alone, and taken up again by
// later runs while it is there and still ours alone. Empty until the first
// write.
struct GuideFolder {
    std::string path;
};

// The reason of the last failed write, as the error box shows it: the text
// "Cannot write the user guide to the temporary folder:", a line break and
// the path.
extern std::string user_guide_error_text;

// The temporary folder: $TMPDIR when it names an absolute folder, else /tmp.
std::string temporary_folder();

// Writes `document` as `file_name` into `folder`, finding the folder inside
// `temp_root` (or making it) on the first call and again whenever it is gone
// or no longer ours alone. An existing file of that name is replaced; a link planted there
// is removed, never followed. Returns the path written; on failure an empty
// text, with the reason in user_guide_error_text.
std::string write_guide_file(GuideFolder& folder, const std::string& temp_root, std::string_view file_name,
                             std::string_view document);

// The guide of this build, written into this run's folder under the guide's
// file name. Writing it twice writes the same path twice.
std::string write_user_guide();

// Starts `program`, found through PATH, with `argument` as its only
// parameter, without a shell, in a session of its own, so that it and what it
// starts keep running after we end. Returns its process id, 0 when it was not
// found or could not be started. It is our child and nothing here waits for
// it: the caller has it reaped (the toolkit's watch_child).
int start_detached(const std::string& program, const std::string& argument);
