#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/file_rights.h"

// A file being replaced, all or nothing. Its bytes go to a new file in the
// target's folder as they are made, every write checked; only when the last
// one, the flush to the disk and the close have succeeded is it renamed over
// the target. Until then it has no name where the file system allows (else a
// hidden one named after the target), so that a program killed meanwhile or
// a writer that gives up leaves nothing behind.
//
// The path is walked once, at the start, and its folder held from then on:
// every later step works in that folder, so that names changed meanwhile
// cannot send the file anywhere else. Links are followed and stay links,
// except one that another account planted in a sticky folder everyone may
// write, anywhere on the way (EACCES). A folder, a pipe or a device is
// refused, and so is, before anything is made, a file the rename could not
// replace or another account's file in such a sticky folder.
//
// The save replaces only the file that had the name at the start, or none:
// where another file has taken its place, or a name that was free is taken
// by the commit, that file stays and the save fails (ESTALE, EEXIST).
//
// The new file is private (0600) while it is written. At the commit it takes
// what the old file granted (group, extended attributes with the access list,
// permission bits; the owner only where the user may give files away, since
// a rename makes the saver the owner, and a former owner or group that
// cannot be kept keeps its rights by the access list), but never more than a
// write into the old file would leave: no setuid or setgid bit, no file
// capabilities. A new file gets the rights open() would give it.
struct OutputFile {
    SaveTarget target;      // where the new file goes
    std::string temporary;  // the new file's name in the target's folder, empty while it has none
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
