#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Replaces the file at `path` with `text` so that the file is afterwards either
// the whole new text or exactly what it was before: the text goes to a new
// file in the same folder, every write, the flush to disk and the close are
// checked, and only then is the new file renamed over the old one. On any
// failure the new file is removed and the old one is left untouched.
//
// A symbolic link is followed, so the file it points to is replaced and the
// link stays. A path that names a folder or anything but a regular file is
// refused. An existing file keeps its permissions; a new one gets the usual
// ones for the user's umask.
//
// true on success; false with the errno of the failing step in
// file_output_error.
bool write_file_replacing(const std::string& path, std::string_view text);

extern int file_output_error;

// Reads a whole regular file of at most max_bytes bytes into `bytes`. false when
// the file is missing, unreadable, not a regular file (a folder, a pipe, a
// device) or larger than max_bytes; the errno of the reason is then in
// file_output_error (EFBIG when too large, EINVAL when not a regular file).
bool read_small_file(const std::string& path, std::size_t max_bytes, std::string& bytes);
