#include "files/file_rights.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/statfs.h>
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

// Whether `entry`, lying in `folder`, may have been planted there by another
// account: in a sticky folder that everyone may write, anyone can put a link
// or a file under a name the user is about to save to. Only the user's own
// and the folder owner's count, for root too, as the kernel guards such
// folders when it is asked to.
bool planted(const struct stat& folder, const struct stat& entry)
{
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return shared && entry.st_uid != geteuid() && entry.st_uid != folder.st_uid;
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
constexpr const char* nfs4_access_list = "system.nfs4_acl";

// A POSIX access list as the kernel stores it: a version word, then entries
// of a 16-bit tag, 16-bit permissions and a 32-bit id, all little-endian, in
// the order of their tags and, within a tag, of their ids.
constexpr unsigned list_owner = 0x01, list_user = 0x02, list_group = 0x04, list_named_group = 0x08,
                   list_mask = 0x10, list_other = 0x20;

struct ListEntry {
    unsigned tag;
    unsigned permissions;
    std::uint32_t id;
};

unsigned little_endian(const std::string& bytes, std::size_t at, int count)
{
    unsigned value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::vector<ListEntry> read_list(const std::string& list)
{
    std::vector<ListEntry> entries;
    for (std::size_t at = 4; at + 8 <= list.size(); at += 8)
        entries.push_back({little_endian(list, at, 2), little_endian(list, at + 2, 2) & 07,
                           little_endian(list, at + 4, 4)});
    return entries;
}

std::string list_bytes(std::vector<ListEntry> entries)
{
    std::sort(entries.begin(), entries.end(), [](const ListEntry& a, const ListEntry& b) {
        return a.tag != b.tag ? a.tag < b.tag : a.id < b.id;
    });
    std::string bytes = {2, 0, 0, 0};
    for (const ListEntry& entry : entries)
        for (const unsigned value : {entry.tag, entry.tag >> 8, entry.permissions, 0u, entry.id, entry.id >> 8,
                                     entry.id >> 16, entry.id >> 24})
            bytes += static_cast<char>(value & 0xff);
    return bytes;
}

bool has_tag(const std::vector<ListEntry>& list, unsigned tag)
{
    return std::any_of(list.begin(), list.end(), [tag](const ListEntry& e) { return e.tag == tag; });
}

// The permissions of the entry with `tag`, 0 where there is none.
unsigned permissions_of(const std::vector<ListEntry>& list, unsigned tag)
{
    for (const ListEntry& entry : list)
        if (entry.tag == tag) return entry.permissions;
    return 0;
}

constexpr std::uint32_t no_id = 0xffffffff;

bool has_named_entries(const std::vector<ListEntry>& list)
{
    return has_tag(list, list_user) || has_tag(list, list_named_group);
}

// What the new file kept of the old one's owner and group, and what the
// saver could do with the old file (as permission bits count it).
struct Kept {
    bool owner;
    bool group;
    unsigned saver;
};

// A rename makes the saver the owner, and the new file may not be able to
// keep the old one's group. The saver gets what they could do; whoever of
// the former owner and group lost their place gets back what they could do
// by a named entry, which also keeps them from falling to the rights of
// everyone else. The new file's own group gets what everyone else had, less
// what any group entry held back. The mask must let the new entries
// through: every entry it governs is first cut to what the old mask let
// through, so that the wider mask lets nobody else do more than before.
void give_back_former_rights(std::vector<ListEntry>& list, const struct stat& old, const Kept& kept)
{
    const unsigned old_mask = has_tag(list, list_mask) ? permissions_of(list, list_mask) : 07;
    const unsigned owner = permissions_of(list, list_owner), other = permissions_of(list, list_other);
    const unsigned group = permissions_of(list, list_group) & old_mask;
    // An entry of the former owner's own was of no use while they owned the file.
    std::erase_if(list, [&](const ListEntry& e) {
        return e.tag == list_mask || (!kept.owner && e.tag == list_user && e.id == old.st_uid);
    });
    unsigned new_group = other;
    bool group_named = false;
    for (ListEntry& entry : list) {
        if (entry.tag == list_owner && !kept.owner) entry.permissions = kept.saver;
        if (entry.tag == list_owner || entry.tag == list_other) continue;
        entry.permissions &= old_mask;
        if (entry.tag == list_group || entry.tag == list_named_group) new_group &= entry.permissions;
        if (!kept.group && entry.tag == list_named_group && entry.id == old.st_gid) {
            entry.permissions |= group;
            group_named = true;
        }
    }
    unsigned mask = 0;
    for (ListEntry& entry : list) {
        if (entry.tag == list_group && !kept.group) entry.permissions = new_group;
        if (entry.tag != list_owner && entry.tag != list_other) mask |= entry.permissions;
    }
    if (!kept.owner) list.push_back({list_user, owner, static_cast<std::uint32_t>(old.st_uid)});
    if (!kept.group && !group_named)
        list.push_back({list_named_group, group, static_cast<std::uint32_t>(old.st_gid)});
    mask |= (kept.owner ? 0 : owner) | (kept.group ? 0 : group);
    // The kernel passes a list by whose mask grants nothing; one that grants
    // only what none of its entries has keeps their refusals in force.
    list.push_back({list_mask, mask != 0 ? mask : other, no_id});
}

// Copies the extended attributes of the old file to `to`, the access list
// last, and takes away one that `to` has and the old file does not. An access
// list that cannot be copied is an error (its errno), since the new file
// would grant other rights than the old one; other attributes are skipped
// where the user's privilege (security.*, trusted.*) or the file system does
// not allow them. File capabilities belong to the old bytes: a write takes
// them away, and so does a save. Where the new file could not keep the old
// one's owner or group, its POSIX list gives them back what they had; a file
// system without such lists leaves the stricter permission bits. An NFSv4
// list, whose group entries are not read here, is left out where the group
// was lost, and the new file grants less rather than more. `has_list`: the
// new file's permission bits now follow its list.
int copy_attributes(const SaveTarget& target, int to, const struct stat& old, const Kept& kept, bool& has_list)
{
    has_list = false;
    AttributeSource from;
    std::string names;
    if (!open_source(from, target.file, target.folder, target.name.c_str())) return errno;
    if (!read_names(from, names)) return errno == ENOTSUP || errno == ENOSYS ? 0 : errno;
    std::string posix_list, nfs4_list;
    bool had_posix_list = false;
    for (std::size_t start = 0; start < names.size();) {
        const std::string name = names.c_str() + start;  // each name ends in a NUL
        start += name.size() + 1;
        if (name == "security.capability" || (name == nfs4_access_list && !kept.group)) continue;
        std::string value;
        const bool read = read_value(from, name, value);
        if (name == posix_access_list || name == nfs4_access_list) {
            if (!read && errno != ENODATA) return errno;  // ENODATA: removed meanwhile
            if (name == posix_access_list) had_posix_list = read;
            (name == posix_access_list ? posix_list : nfs4_list) = value;
        } else if (read) {
            ignore(fsetxattr(to, name.c_str(), value.data(), value.size(), 0));
        }
    }
    if (!nfs4_list.empty()) {
        if (fsetxattr(to, nfs4_access_list, nfs4_list.data(), nfs4_list.size(), 0) != 0) return errno;
        has_list = true;
    }
    // Without a list of its own, the old file's permission bits are one.
    std::vector<ListEntry> list =
        had_posix_list ? read_list(posix_list)
                       : std::vector<ListEntry> {{list_owner, (old.st_mode >> 6) & 07u, no_id},
                                                 {list_group, (old.st_mode >> 3) & 07u, no_id},
                                                 {list_other, old.st_mode & 07u, no_id}};
    if (!kept.owner || !kept.group) give_back_former_rights(list, old, kept);
    // A list that grants nothing to anyone but the owner says no more than
    // the permission bits.
    if (had_posix_list || (has_named_entries(list) && permissions_of(list, list_mask) != 0)) {
        const std::string value = list_bytes(list);
        if (fsetxattr(to, posix_access_list, value.data(), value.size(), 0) == 0)
            has_list = true;
        else if (had_posix_list)
            return errno;
    }
    // A folder's default access list has given the new file one of its own
    // that the old file did not have.
    if (!has_list && fremovexattr(to, posix_access_list) != 0 && errno != ENODATA && errno != ENOTSUP) return errno;
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
    const std::vector<ListEntry> entries = read_list(list);
    const unsigned owner = permissions_of(entries, list_owner), other = permissions_of(entries, list_other);
    const unsigned group = permissions_of(entries, has_tag(entries, list_mask) ? list_mask : list_group);
    return static_cast<mode_t>((owner & 06) << 6 | (group & 06) << 3 | (other & 06));
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
        struct statfs where {};
        if (S_ISLNK(status.st_mode) && fstatfs(held, &where) == 0 && where.f_type == PROC_SUPER_MAGIC) {
            // The links of /proc lead to what a process holds open, not to
            // their text: that of a deleted folder names another folder that
            // anyone may make. The kernel follows them; an open file has no
            // folder of its own to be saved in.
            close(held);
            held = ++links > 40 ? -1 : openat(folder, name.c_str(), O_PATH | O_CLOEXEC);
            if (held >= 0 && fstat(held, &status) == 0 && S_ISDIR(status.st_mode)) {
                move_to(held);
                continue;
            }
            error = links > 40 ? ELOOP : held < 0 ? errno : !last || !rest.empty() ? ENOTDIR : EINVAL;
            close_held(held);
            break;
        }
        if (S_ISLNK(status.st_mode)) {
            char buffer[PATH_MAX];
            const ssize_t length = readlinkat(held, "", buffer, sizeof buffer);
            const int read_error = errno;
            close(held);
            struct stat place {};
            if (fstat(folder, &place) != 0 || planted(place, status))
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
    if (fstat(target.folder, &folder) != 0) return errno;
    const uid_t user = geteuid();
    if ((folder.st_mode & S_ISVTX) != 0 && user != 0 && status.st_uid != user && folder.st_uid != user) return EPERM;
    // Another account's file in a shared sticky folder may have been put
    // there for the user's save to land in and hand its content over.
    if (planted(folder, status)) return EACCES;
    // Its attributes are copied at the commit: a list that cannot be read
    // must fail the save now, not after the whole export.
    AttributeSource source;
    std::string names;
    if (!open_source(source, target.file, target.folder, target.name.c_str())) return errno;
    if (!read_names(source, names) && errno != ENOTSUP && errno != ENOSYS) return errno;
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
    // group still keeps the group.
    if (fchown(fd, old.st_uid, old.st_gid) != 0) ignore(fchown(fd, static_cast<uid_t>(-1), old.st_gid));
    struct stat now {};
    if (fstat(fd, &now) != 0) return errno;
    Kept kept {now.st_uid == old.st_uid, now.st_gid == old.st_gid, 0};
    for (const int right : {R_OK, W_OK, X_OK})
        if (!kept.owner && faccessat(target.file, "", right, AT_EMPTY_PATH) == 0) kept.saver |= static_cast<unsigned>(right);
    bool has_list = false;
    if (const int error = copy_attributes(target, fd, old, kept, has_list); error != 0) return error;
    // An access list has set the permission bits itself, with its mask in
    // the group's place. The setuid and setgid bits are never passed on: a
    // write would clear them, and on a file that now belongs to the saver
    // they would run whatever another account put into it as the saver.
    if (has_list) return 0;
    // Without a list, the former group falls to the rights of everyone else,
    // who may do no more than it could; so does the new group.
    const mode_t owner = kept.owner ? (old.st_mode >> 6) & 07 : kept.saver;
    mode_t group = (old.st_mode >> 3) & 07, other = old.st_mode & 07;
    if (!kept.group) group = other &= group;
    ignore(fchmod(fd, owner << 6 | group << 3 | other));
    return 0;
}

int replace_taken_file(SaveTarget& target, const std::string& temporary)
{
    const int folder = target.folder;
    const char* name = target.name.c_str();
    struct stat now {};
    struct stat taken {};
    const bool named = fstatat(folder, name, &now, AT_SYMLINK_NOFOLLOW) == 0;
    if (!named && errno != ENOENT) return errno;
    if (named && target.file < 0) return EEXIST;
    if (named && (fstat(target.file, &taken) != 0 || !same_file(now, taken))) return ESTALE;
    // Holding the old file would keep it alive past the rename (on NFS as a
    // hidden file); its rights are all that was needed of it.
    close_held(target.file);
    if (named) return renameat(folder, temporary.c_str(), folder, name) != 0 ? errno : 0;
    // The name is free, and must not be replaced if something takes it now.
    if (renameat2(folder, temporary.c_str(), folder, name, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    if (linkat(folder, temporary.c_str(), folder, name, 0) == 0) {
        ignore(unlinkat(folder, temporary.c_str(), 0));
        return 0;
    }
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS && errno != EMLINK) return errno;
    // A file system with neither (FAT): nothing is left but to look once more.
    if (fstatat(folder, name, &now, AT_SYMLINK_NOFOLLOW) == 0) return EEXIST;
    return renameat(folder, temporary.c_str(), folder, name) != 0 ? errno : 0;
}
