#pragma once

// Recording doubles for the canvas and the commands that the dispatcher calls,
// so that a test sees which of them an event reached.

#include <cstdint>
#include <string>
#include <vector>

struct ShellDoubles {
    int fits = 0;
    int redraws = 0;
    std::int64_t confirm_answer = 1;
    int confirms = 0;
    int open_dialogs = 0;
    std::vector<std::int64_t> saves;    // save_as of each call
    std::vector<std::int64_t> exports;  // kind of each call
    int guides = 0;
    int abouts = 0;
    std::string about_title;
    std::int64_t about_language = -1;
    std::vector<std::string> opened_files;
};

extern ShellDoubles doubles;
