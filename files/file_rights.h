#pragma once

#include <string>

// Who may use a file that a save replaces, and which file that is. A save
// renames a new file over the old one, so everything the old file granted
// must be put on the new file by hand, and the kernel's guard against links
// planted in shared folders, which only watches opening through a link, must
// be kept by hand too.

// The file a save of `path` replaces, every link on the way resolved, so that
// the file a link points to is replaced and the link stays (also a link whose
// file does not exist yet). A link that lies in a sticky folder everyone may
// write (/tmp) is followed only when it belongs to the user or to the
// folder's owner, as the kernel guards such folders when it is asked to.
// false with errno set (EACCES for such a link, ELOOP for a loop).
bool resolve_save_target(const std::string& path, std::string& target);

// Gives the new file `fd`, which was made private (0600), the rights it ends
// with: those of the file at `target` where there is one (owner, group,
// extended attributes with the access list, then the mode), else those a new
// file gets in its folder. 0, or the errno of an access list that could not
// be copied: the new file must then not take the old one's place.
int give_final_rights(int fd, const std::string& target);
