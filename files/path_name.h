#pragma once

#include <cstddef>
#include <string>

// The parts of a path as the program names files: the project file, the
// proposed export names, the STEP product and the window title share them.

// The file name: everything after the last '/' (the whole path when it has none).
std::string file_name_of(const std::string& path);

// Everything up to and including the last '/', "" when there is none.
std::string folder_of(const std::string& path);

// Where the extension of a file name starts: its last '.', unless that is the
// name's first character (a hidden name), its last one, or a blank follows it
// ("my.drive 2" has no extension). npos when the name has none.
std::size_t extension_dot(const std::string& name);

// The file name without its extension.
std::string base_name_of(const std::string& path);
