#include "app/export_command.h"
#include "tests/app/shell_doubles.h"

// The export command as the dispatch tests see it: recorded, not run. The
// suites of the export command link the real one instead.

void export_drive_to_file(std::int64_t kind)
{
    doubles.exports.push_back(kind);
}
