#pragma once

#include <string>

// Which file a save replaces, whether it may, and who may use the new file.
// A save renames a new file over the old one, so everything the old file
// granted must be put on the new file by hand, and the kernel's guards of
// shared sticky folders against planted links and files, which only watch
// opening, must be kept by hand too.

// The place a save writes to, held by descriptors from the moment the path
// is looked at: whatever becomes of the names on the way meanwhile, the save
// goes on in this folder and never looks the path up again.
struct SaveTarget {
    int folder = -1;   // the folder that holds the file (O_PATH)
    std::string name;  // the file's name in it
    int file = -1;     // the old file (O_PATH), -1 where there is none
};
void release_save_target(SaveTarget& target);

// The name through which calls that take a path reach the very file `fd`
// holds; empty where there is no /proc.
std::string held_file_name(int fd);

// Walks `path` a name at a time to the folder and the name of the file it
// saves to (the old file is then taken by take_current_file), every link on
// the way followed, so that the file a link points to is replaced and the
// link stays (also a link whose file does not exist yet); ".." goes up from
// where a link led, as in the kernel, and no length but a name's is imposed.
// A link of /proc's leads where the kernel leads it, never by its text. A
// link anywhere on the way that lies in a sticky folder everyone may write
// (/tmp) is followed only when it belongs to the user or to the folder's
// owner; the kernel, when asked to, guards only the last. false with errno
// set: EACCES for such a link, ELOOP for a loop, EISDIR for a folder, EINVAL
// for a file that is not a regular one or has no folder (an open file /proc
// names).
bool resolve_save_target(const std::string& path, SaveTarget& target);

// Holds as the old file whatever regular file has the name now (none where
// there is none), the file the user agreed to replace: the new file takes
// its rights, and replaces no other. Asked before anything is made, it says
// why it may not be replaced: the user may not write it (EACCES); it lies in
// a sticky folder and belongs to neither the user nor the folder's owner,
// so the rename would be refused (EPERM, root exempt); or, in such a folder
// that everyone may write, another account may have planted it (EACCES, for
// root too, as the kernel guards such folders); or its attribute list cannot
// be read to be copied (its errno). 0 when it may.
int take_current_file(SaveTarget& target);

// Gives the new file `fd`, which was made private (0600), the rights it ends
// with: those of the old file where there is one (owner, group, extended
// attributes with the access list, then the permission bits), else those a
// new file gets in the folder. Where the new file cannot keep the old one's
// owner, the saver gets what they could do; a former owner or group it
// cannot keep keeps what it had by named entries of the access list, where
// the file system keeps one, and nobody gets more. Never what a write would
// take away: no setuid or setgid bit and no file capabilities. 0, or the
// errno of an access list that could not be copied: the new file must then
// not take the old one's place.
int give_final_rights(int fd, const SaveTarget& target);

// Renames the finished new file, named `temporary` in the target's folder,
// over the file taken, or puts it under the name where there was none, in a
// way that never replaces a file that appeared meanwhile. 0, or an errno:
// EEXIST where the name now holds a file and held none, ESTALE where another
// file took the old one's place; that file then stays as it is.
int replace_taken_file(SaveTarget& target, const std::string& temporary);
