#include "files/file_rights.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "files/path_name.h"

namespace {

template <typename Result>
void ignore(Result)
{
}

// Whether the user may follow a link lying in `folder`. In a sticky folder
// that everyone may write, anyone can plant a link under a name the user is
// about to save to; only the user's own links and the folder owner's count.
bool link_may_be_followed(const std::string& folder, const struct stat& link)
{
    struct stat status {};
    if (stat(folder.c_str(), &status) != 0) return false;
    const bool shared = (status.st_mode & S_ISVTX) != 0 && (status.st_mode & S_IWOTH) != 0;
    return !shared || link.st_uid == geteuid() || link.st_uid == status.st_uid;
}

// Takes one step up from `done`, a path without links that ends in '/'
// unless it is empty (the current folder).
void step_up(std::string& done)
{
    if (done == "/") return;
    if (done.empty() || done.ends_with("../")) {
        done += "../";
        return;
    }
    const std::size_t slash = done.rfind('/', done.size() - 2);
    done.erase(slash == std::string::npos ? 0 : slash + 1);
}

// Reads an attribute list or value whose size is asked first; it may grow in
// between, and is then asked again.
template <typename Call>
bool read_sized(std::string& bytes, Call call)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        const ssize_t size = call(nullptr, 0);
        if (size < 0) return false;
        bytes.resize(static_cast<std::size_t>(size));
        const ssize_t got = call(bytes.data(), bytes.size());
        if (got >= 0) {
            bytes.resize(static_cast<std::size_t>(got));
            return true;
        }
        if (errno != ERANGE) return false;
    }
    errno = ERANGE;
    return false;
}

constexpr const char* posix_access_list = "system.posix_acl_access";

bool is_access_list(const std::string& name)
{
    return name == posix_access_list || name == "system.nfs4_acl";
}

// A POSIX access list as the kernel stores it: a version word, then entries
// of a 16-bit tag, 16-bit permissions and a 32-bit id, all little-endian.
constexpr unsigned list_owner = 0x01, list_group = 0x04, list_mask = 0x10, list_other = 0x20;

unsigned list_tag(const std::string& list, std::size_t at)
{
    return static_cast<unsigned char>(list[at]) | static_cast<unsigned char>(list[at + 1]) << 8;
}

// Copies the extended attributes of the file at `from` to `to`, the access
// list last, and takes away one that `to` has and `from` does not. An access
// list that cannot be copied is an error (its errno), since the new file
// would grant other rights than the old one; other attributes are skipped
// where the user's privilege (security.*, trusted.*) or the file system does
// not allow them. Where the file could not keep its group, the list gives the
// new group none of the old group's rights.
int copy_attributes(const std::string& from, int to, bool group_kept, bool& copied_list)
{
    copied_list = false;
    std::string names;
    if (!read_sized(names, [&from](char* list, std::size_t size) { return llistxattr(from.c_str(), list, size); }))
        return errno == ENOTSUP || errno == ENOSYS ? 0 : errno;
    std::vector<std::pair<std::string, std::string>> access_lists;
    for (std::size_t start = 0; start < names.size();) {
        const std::string name = names.c_str() + start;  // each name ends in a NUL
        start += name.size() + 1;
        std::string value;
        const bool read = read_sized(value, [&from, &name](char* bytes, std::size_t size) {
            return lgetxattr(from.c_str(), name.c_str(), bytes, size);
        });
        if (is_access_list(name)) {
            if (!read && errno != ENODATA) return errno;  // ENODATA: removed meanwhile
            if (read) access_lists.emplace_back(name, value);
        } else if (read) {
            ignore(fsetxattr(to, name.c_str(), value.data(), value.size(), 0));
        }
    }
    for (auto& [name, value] : access_lists) {
        for (std::size_t at = 4; !group_kept && name == posix_access_list && at + 8 <= value.size(); at += 8)
            if (list_tag(value, at) == list_group) value[at + 2] = value[at + 3] = 0;
        if (fsetxattr(to, name.c_str(), value.data(), value.size(), 0) != 0) return errno;
    }
    copied_list = !access_lists.empty();
    // A folder's default access list has given the new file one of its own
    // that the old file did not have.
    if (!copied_list && fremovexattr(to, posix_access_list) != 0 && errno != ENODATA && errno != ENOTSUP) return errno;
    return 0;
}

mode_t current_umask()
{
    // The kernel tells it here without changing it; umask() can only read it
    // by setting it, for every thread at once.
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status) != nullptr)
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found) return static_cast<mode_t>(mask & 0777);
    }
    const mode_t mask = umask(022);
    umask(mask);
    return mask;
}

// The mode open() gives a new file asked for 0666: where the folder has a
// default access list, its entries decide (and the umask does not count),
// else the umask. The file has then inherited the list's named entries, and
// setting this mode sets the list's mask as open() would have.
mode_t new_file_mode(const std::string& target)
{
    const std::string folder = folder_to_open(target);
    std::string list;
    if (!read_sized(list, [&folder](char* bytes, std::size_t size) {
            return getxattr(folder.c_str(), "system.posix_acl_default", bytes, size);
        }))
        return 0666 & ~current_umask();
    unsigned owner = 0, group = 0, mask = 0, other = 0;
    bool has_mask = false;
    for (std::size_t at = 4; at + 8 <= list.size(); at += 8) {
        const unsigned tag = list_tag(list, at);
        const unsigned permissions = static_cast<unsigned char>(list[at + 2]) & 07;
        if (tag == list_owner) owner = permissions;
        if (tag == list_group) group = permissions;
        if (tag == list_other) other = permissions;
        if (tag == list_mask) {
            mask = permissions;
            has_mask = true;
        }
    }
    return static_cast<mode_t>((owner & 06) << 6 | ((has_mask ? mask : group) & 06) << 3 | (other & 06));
}

}  // namespace

bool resolve_save_target(const std::string& path, std::string& target)
{
    // `done` is walked and has no links in it; `rest` starts at the '/'
    // before the next name, or is empty.
    std::string done = path.starts_with('/') ? "/" : "";
    std::string rest = path;
    int links = 0;
    for (;;) {
        const std::size_t start = rest.find_first_not_of('/');
        if (start == std::string::npos) {
            target = done.empty() ? "." : done;
            return true;
        }
        const std::size_t end = rest.find('/', start);
        const std::string name = rest.substr(start, end - start);
        rest.erase(0, end == std::string::npos ? rest.size() : end);
        if (name == ".") continue;
        if (name == "..") {
            if (!done.empty() && access(done.c_str(), X_OK) != 0) return false;  // as the kernel looks it up
            step_up(done);
            continue;
        }
        const std::string full = done + name;
        struct stat status {};
        // What is missing or no folder is left to the kernel, which then
        // refuses a path that goes on below it.
        if (lstat(full.c_str(), &status) != 0 || !(S_ISLNK(status.st_mode) || S_ISDIR(status.st_mode)) ||
            (S_ISDIR(status.st_mode) && rest.find_first_not_of('/') == std::string::npos)) {
            target = full + rest;
            return true;
        }
        if (S_ISDIR(status.st_mode)) {
            done = full + "/";
            continue;
        }
        if (!link_may_be_followed(done.empty() ? "." : done, status)) {
            errno = EACCES;
            return false;
        }
        if (++links > 40) {
            errno = ELOOP;
            return false;
        }
        char buffer[PATH_MAX];
        const ssize_t length = readlink(full.c_str(), buffer, sizeof buffer);
        if (length < 0) return false;
        if (length == 0 || static_cast<std::size_t>(length) == sizeof buffer) {
            errno = ENAMETOOLONG;
            return false;
        }
        // Appended piece by piece: GCC 12 warns falsely about string sums here.
        if (buffer[0] == '/') done.assign(1, '/');
        std::string next(1, '/');
        next.append(buffer, static_cast<std::size_t>(length)).append(rest);
        rest.swap(next);
    }
}

int give_final_rights(int fd, const std::string& target)
{
    // The modes are set where the file system keeps them; one that does not
    // (a FAT stick) must still be saved to.
    struct stat old {};
    if (lstat(target.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) {
        ignore(fchmod(fd, new_file_mode(target)));
        return 0;
    }
    // Only a privileged user can give the file to its owner; a member of its
    // group still keeps the group. A group it could not keep gets none of the
    // old group's rights.
    if (fchown(fd, old.st_uid, old.st_gid) != 0) ignore(fchown(fd, static_cast<uid_t>(-1), old.st_gid));
    struct stat now {};
    const bool group_kept = fstat(fd, &now) == 0 && now.st_gid == old.st_gid;
    bool copied_list = false;
    if (const int error = copy_attributes(target, fd, group_kept, copied_list); error != 0) return error;
    // An access list has set the permission bits itself, with its mask in
    // the group's place; only the special bits are left to set.
    mode_t mode = old.st_mode & 07777;
    if (copied_list && fstat(fd, &now) == 0)
        mode = (mode & 07000) | (now.st_mode & 0777);
    else if (!group_kept)
        mode &= ~static_cast<mode_t>(070);
    ignore(fchmod(fd, mode));
    return 0;
}
