#pragma once

#include <string>

// The per-user preferences: top-level keys ("projectmap", "exportmap") in
// $HOME/.Zandrel/Zandrel.prefs, in the key-and-value form of the project file.
// Each call opens, uses and closes the file, so an edit by hand is seen by the
// next call. Failures are silent: a preference that cannot be stored is simply
// not remembered.

// The path of the preferences file; creates its folder (0700) when missing.
// "" when there is no home folder to put it in.
std::string prefs_file_path();

// The value of a top-level key, or `fallback` when the file or the key is missing.
std::string read_pref_string(const std::string& key, const std::string& fallback);

// Sets a top-level key and writes the file at once, replacing it whole. false
// when it was not stored: the file could not be written, or the value holds a
// line break and would spoil the file.
bool write_pref_string(const std::string& key, const std::string& value);

// The value of the key when it names an existing folder, else "".
std::string read_pref_folder(const std::string& key);
