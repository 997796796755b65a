#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A file being replaced. Its bytes go to a new file in the same folder as
// they are made, every write is checked, and only when the last one, the
// flush to the disk and the close have succeeded is the new file renamed over
// the target: afterwards the target is either the whole new file or exactly
// what it was before, and a file that is given up (or whose writer returns
// early) leaves nothing behind. The new file has no name until the commit, so
// that a program killed while writing leaves nothing either; where the file
// system cannot make such a file, it is a hidden file named after the target.
//
// A symbolic link is followed, so the file it points to is replaced and the
// link stays; but a link that lies in a sticky folder everyone may write
// (/tmp) and belongs to neither the user nor the folder's owner is refused
// (EACCES), whatever the machine's own setting for such links. A path that
// names a folder or anything but a regular file is refused.
//
// The new file is private (0600) while it is written. At the commit it takes
// the old file's group, extended attributes with the access list, and mode;
// an access list that cannot be copied fails the save. It keeps the old
// owner only where the user may give a file away (root): otherwise the user
// who saves becomes the owner, since a rename cannot do otherwise, and
// writing into the old file instead would give up all-or-nothing. A new file
// gets the rights open() would give it: the folder's default access list, or
// the usual ones for the user's umask.
struct OutputFile {
    std::string target;     // the file that is replaced, links followed
    std::string temporary;  // the new file's name, empty while it has none
    int fd = -1;
    int error = 0;          // errno of the first failed write; later writes are skipped
    std::uint64_t size = 0; // bytes written so far

    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();  // gives up a file that was not committed
};

// Starts the new file for `path`. false with the errno in file_output_error.
bool output_open(OutputFile& file, const std::string& path);
// Appends the bytes; false once any write has failed.
bool output_write(OutputFile& file, std::string_view bytes);
// Overwrites bytes already written at `offset` (a count known only at the end).
bool output_patch(OutputFile& file, std::uint64_t offset, std::string_view bytes);
// Puts the new file in the target's place. false, with the errno of the
// failing step in file_output_error and the new file removed, when anything
// went wrong since output_open.
bool output_commit(OutputFile& file);
// Removes the new file; the target stays as it was.
void output_discard(OutputFile& file);

// Replaces the file at `path` with `text` in one go, as above. true on
// success; false with the errno of the failing step in file_output_error.
bool write_file_replacing(const std::string& path, std::string_view text);

extern int file_output_error;
// Whether new files start without a name where the file system allows (true);
// false takes the named way everywhere, as on a file system that cannot.
extern bool file_output_unnamed;

// Reads a whole regular file of at most max_bytes bytes into `bytes`. false when
// the file is missing, unreadable, not a regular file (a folder, a pipe, a
// device) or larger than max_bytes; the errno of the reason is then in
// file_output_error (EFBIG when too large, EINVAL when not a regular file).
bool read_small_file(const std::string& path, std::size_t max_bytes, std::string& bytes);
