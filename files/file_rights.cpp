#include "files/file_rights.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

template <typename Result>
void ignore(Result)
{
}

void close_held(int& fd)
{
    if (fd >= 0) close(fd);
    fd = -1;
}

// Whether the user may follow a link lying in `folder`. In a sticky folder
// that everyone may write, anyone can plant a link under a name the user is
// about to save to; only the user's own links and the folder owner's count.
bool link_may_be_followed(int folder, const struct stat& link)
{
    struct stat status {};
    if (fstat(folder, &status) != 0) return false;
    const bool shared = (status.st_mode & S_ISVTX) != 0 && (status.st_mode & S_IWOTH) != 0;
    return !shared || link.st_uid == geteuid() || link.st_uid == status.st_uid;
}

// Holds whatever `name` in `folder` is, a link itself rather than what it
// points to. It is asked for as a folder first, since only that makes an
// automounted folder mount.
int hold(int folder, const char* name)
{
    const int fd = openat(folder, name, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0 || errno != ENOTDIR) return fd;
    return openat(folder, name, O_PATH | O_NOFOLLOW | O_CLOEXEC);
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

// The kernel takes no attribute calls on a held (O_PATH) descriptor. Through
// /proc the path calls reach the very file it holds; without /proc the file
// is opened for reading by its name in the held folder, and must still be
// the file that was held.
struct AttributeSource {
    std::string path;  // through /proc, or empty
    int fd = -1;       // else opened for reading
    AttributeSource() = default;
    AttributeSource(const AttributeSource&) = delete;
    AttributeSource& operator=(const AttributeSource&) = delete;
    ~AttributeSource() { close_held(fd); }
};

bool same_file(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool open_source(AttributeSource& source, int held, int folder, const char* name)
{
    source.path = held_file_name(held);
    if (!source.path.empty()) return true;
    // Looked at before it is opened, so that nothing else is ever opened.
    struct stat kept {};
    struct stat named {};
    struct stat opened {};
    if (fstat(held, &kept) != 0 || fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (same_file(kept, named))
        source.fd = openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    else
        errno = ESTALE;
    if (source.fd < 0 || fstat(source.fd, &opened) != 0) return false;
    if (same_file(kept, opened)) return true;
    errno = ESTALE;
    return false;
}

bool read_names(const AttributeSource& source, std::string& names)
{
    return read_sized(names, [&source](char* list, std::size_t size) {
        return source.path.empty() ? flistxattr(source.fd, list, size) : listxattr(source.path.c_str(), list, size);
    });
}

bool read_value(const AttributeSource& source, const std::string& name, std::string& value)
{
    return read_sized(value, [&source, &name](char* bytes, std::size_t size) {
        return source.path.empty() ? fgetxattr(source.fd, name.c_str(), bytes, size)
                                   : getxattr(source.path.c_str(), name.c_str(), bytes, size);
    });
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

// Copies the extended attributes of the old file to `to`, the access list
// last, and takes away one that `to` has and the old file does not. An access
// list that cannot be copied is an error (its errno), since the new file
// would grant other rights than the old one; other attributes are skipped
// where the user's privilege (security.*, trusted.*) or the file system does
// not allow them. File capabilities belong to the old bytes: a write takes
// them away, and so does a save. Where the file could not keep its group, the
// list gives the new group none of the old group's rights; an NFSv4 list,
// whose group entries are not read here, is then left out, and the new file
// grants less rather than more.
int copy_attributes(const SaveTarget& target, int to, bool group_kept, bool& copied_list)
{
    copied_list = false;
    AttributeSource from;
    std::string names;
    if (!open_source(from, target.file, target.folder, target.name.c_str())) return errno;
    if (!read_names(from, names)) return errno == ENOTSUP || errno == ENOSYS ? 0 : errno;
    std::vector<std::pair<std::string, std::string>> access_lists;
    for (std::size_t start = 0; start < names.size();) {
        const std::string name = names.c_str() + start;  // each name ends in a NUL
        start += name.size() + 1;
        if (name == "security.capability") continue;
        std::string value;
        const bool read = read_value(from, name, value);
        if (is_access_list(name)) {
            if (!group_kept && name != posix_access_list) continue;
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

// The mode open() gives a new file asked for 0666 in `folder`: where the
// folder has a default access list, its entries decide (and the umask does
// not count), else the umask. The file has then inherited the list's named
// entries, and setting this mode sets the list's mask as open() would have.
// A folder whose list cannot be read keeps the file private: the list might
// have granted less than the umask.
mode_t new_file_mode(int folder)
{
    AttributeSource source;
    std::string list;
    if (!open_source(source, folder, folder, ".")) return 0600;
    if (!read_value(source, "system.posix_acl_default", list))
        return errno == ENODATA || errno == ENOTSUP ? 0666 & ~current_umask() : 0600;
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

std::string held_file_name(int fd)
{
    // The thread's own table: the descriptor is this thread's.
    static const bool through_proc = access("/proc/thread-self/fd", X_OK) == 0;
    return through_proc ? "/proc/thread-self/fd/" + std::to_string(fd) : std::string();
}

void release_save_target(SaveTarget& target)
{
    close_held(target.folder);
    close_held(target.file);
    target.name.clear();
}

bool resolve_save_target(const std::string& path, SaveTarget& target)
{
    release_save_target(target);
    if (path.empty()) {
        errno = ENOENT;
        return false;
    }
    int folder = -1;
    int error = 0;
    const auto move_to = [&folder, &error](int next) {
        if (next < 0) error = errno;
        close_held(folder);
        folder = next;
    };
    move_to(open(path.starts_with('/') ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    // `rest` starts at the '/' before the next name, or is empty.
    std::string rest = path;
    int links = 0;
    while (error == 0) {
        const std::size_t start = rest.find_first_not_of('/');
        if (start == std::string::npos) {  // "/", "." or "a/..": a folder
            error = EISDIR;
            break;
        }
        const std::size_t end = rest.find('/', start);
        const std::string name = rest.substr(start, end - start);
        rest.erase(0, end == std::string::npos ? rest.size() : end);
        const bool last = rest.find_first_not_of('/') == std::string::npos;
        if (name == ".") continue;
        if (name == "..") {
            // The kernel goes up from the folder held, and checks that it may.
            move_to(openat(folder, "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
            continue;
        }
        int held = hold(folder, name.c_str());
        struct stat status {};
        if (held < 0 || fstat(held, &status) != 0) {
            error = errno;
            close_held(held);
            // A file that is not there yet is made; "missing/" is no file name.
            if (error == ENOENT && last && rest.empty()) {
                target.folder = folder;
                target.name = name;
                return true;
            }
            if (error == ENOENT && last) error = EISDIR;
            break;
        }
        if (S_ISDIR(status.st_mode)) {
            move_to(held);
            continue;
        }
        if (S_ISLNK(status.st_mode)) {
            char buffer[PATH_MAX];
            const ssize_t length = readlinkat(held, "", buffer, sizeof buffer);
            const int read_error = errno;
            close(held);
            if (!link_may_be_followed(folder, status))
                error = EACCES;
            else if (++links > 40)
                error = ELOOP;
            else if (length < 0)
                error = read_error;
            else if (length == 0 || static_cast<std::size_t>(length) == sizeof buffer)
                error = ENAMETOOLONG;
            if (error != 0) break;
            if (buffer[0] == '/') move_to(open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
            // Appended piece by piece: GCC 12 warns falsely about string sums here.
            std::string next(1, '/');
            next.append(buffer, static_cast<std::size_t>(length)).append(rest);
            rest.swap(next);
            continue;
        }
        close(held);
        if (last && rest.empty() && S_ISREG(status.st_mode)) {
            target.folder = folder;
            target.name = name;
            return true;
        }
        // Renaming over a device or a pipe would replace the node itself.
        error = !last || !rest.empty() ? ENOTDIR : EINVAL;
    }
    close_held(folder);
    errno = error;
    return false;
}

int take_current_file(SaveTarget& target)
{
    close_held(target.file);
    int held = hold(target.folder, target.name.c_str());
    struct stat status {};
    if (held >= 0 && fstat(held, &status) == 0 && S_ISREG(status.st_mode))
        target.file = held;
    else
        close_held(held);
    if (target.file < 0) return 0;
    // A file the user may not write stays as it is: the rename needs only the
    // folder's permission and would replace it all the same.
    if (faccessat(target.file, "", W_OK, AT_EMPTY_PATH) != 0) return errno;
    // In a sticky folder only the owner of the file or of the folder may
    // replace it. The rename would be refused only after the whole new file
    // had been written and given the old one's rights, where others could
    // read it.
    struct stat folder {};
    struct stat old {};
    if (fstat(target.folder, &folder) != 0 || fstat(target.file, &old) != 0) return errno;
    const uid_t user = geteuid();
    if ((folder.st_mode & S_ISVTX) != 0 && user != 0 && old.st_uid != user && folder.st_uid != user) return EPERM;
    return 0;
}

int give_final_rights(int fd, const SaveTarget& target)
{
    // The modes are set where the file system keeps them; one that does not
    // (a FAT stick) must still be saved to.
    struct stat old {};
    if (target.file < 0 || fstat(target.file, &old) != 0) {
        ignore(fchmod(fd, new_file_mode(target.folder)));
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
    // the group's place. The setuid and setgid bits are never passed on: a
    // write would clear them, and on a file that now belongs to the saver
    // they would run whatever another account put into it as the saver.
    if (copied_list) return 0;
    mode_t mode = old.st_mode & 0777;
    if (!group_kept) mode &= ~static_cast<mode_t>(070);
    ignore(fchmod(fd, mode));
    return 0;
}
