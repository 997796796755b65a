#include "app/project_dialogs.h"
#include "tests/app/shell_doubles.h"

// The project commands as the dispatch tests see them: recorded, not run. The
// suite of the dialogs links the real ones instead.

void open_project_dialog()
{
    ++doubles.open_dialogs;
}

std::int64_t save_project(std::int64_t save_as)
{
    doubles.saves.push_back(save_as);
    return 1;
}

std::int64_t confirm_discard_or_save()
{
    ++doubles.confirms;
    return doubles.confirm_answer;
}

void open_project_file(const std::string& path)
{
    doubles.opened_files.push_back(path);
}
