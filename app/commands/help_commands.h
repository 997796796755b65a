#pragma once

#include <cstdint>
#include <span>
#include <string>

// The two commands of the Help menu. Neither reads nor changes the drive.

// Writes the user guide of this build into this run's private folder under
// the temporary folder and hands its path to the desktop's browser
// (xdg-open, started detached; whether it exists is not looked at). Returns 0;
// when the guide cannot be written, an error box titled after the guide says
// why, and the result is 1, the OK that closed it.
std::int64_t open_user_guide();

// Shows the About window modally over the main window and returns 0 when it is
// closed. `picture` is a PNG (none when empty or when it does not decode);
// `language` 0 gives English captions, any other value Dutch ones. The main
// window takes no input meanwhile and its events, the animation's ticks among
// them, are dropped: the drive stands still and does not catch up afterwards.
// There is one main window, so `parent_window` only names it.
std::int64_t show_about_window(int parent_window, const std::string& title_line,
                               std::span<const unsigned char> picture, std::int64_t language);
