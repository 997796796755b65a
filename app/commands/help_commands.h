#pragma once

#include <cstdint>
#include <span>
#include <string>

// The two commands of the Help menu, and what the guide's opener's end tells
// the user. None reads or changes the drive.

// Writes the user guide of this build into this run's private folder under
// the temporary folder and hands its path to the desktop's browser through
// xdg-open, started in a session of its own and never waited for. When there
// is no xdg-open, a warning titled after the guide asks whether it is
// installed and gives the path; when it ends later with a failure,
// guide_opener_ended says that the browser could not be started and gives
// it. Returns 0; when the guide cannot be written, an error box titled after
// the guide says why, and the result is 1, the OK that closed it.
std::int64_t open_user_guide();
// The end of a child the toolkit watched (ChildEnded). When it is an opener of
// the guide that failed (a status other than 0, or a signal), the warning
// names the guide that F1 wrote, once. Any other child is not ours to judge.
void guide_opener_ended(int pid, bool failed);

// Shows the About window modally over the main window and returns 0 when it is
// closed. `picture` is a PNG (none when empty or when it does not decode);
// `language` 0 gives English captions, any other value Dutch ones. The main
// window takes no input meanwhile and its events, the animation's ticks among
// them, are dropped: the drive stands still and does not catch up afterwards.
// There is one main window, so `parent_window` only names it.
std::int64_t show_about_window(int parent_window, const std::string& title_line,
                               std::span<const unsigned char> picture, std::int64_t language);
