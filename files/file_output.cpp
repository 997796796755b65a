#include "files/file_output.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int file_output_error = 0;
bool file_output_unnamed = true;

namespace {

bool fail(int error)
{
    file_output_error = error != 0 ? error : EIO;
    return false;
}

// Runs `make` on fresh names in the target's folder until it does not fail
// with EEXIST. The names are hidden, and named after the target so that a
// file left behind can be recognised.
template <typename Make>
int with_fresh_name(const SaveTarget& target, std::string& name, Make make)
{
    static unsigned counter = 0;
    // Room for the suffix within NAME_MAX, cut between characters: some file
    // systems (exFAT, NTFS) refuse a name that is not valid UTF-8.
    std::size_t keep = std::min<std::size_t>(target.name.size(), 200);
    while (keep > 0 && keep < target.name.size() && (static_cast<unsigned char>(target.name[keep]) & 0xc0) == 0x80)
        --keep;
    const std::string base = target.name.substr(0, keep);
    for (int attempt = 0; attempt < 100; ++attempt) {
        timespec now {};
        clock_gettime(CLOCK_REALTIME, &now);
        unsigned long long tag = static_cast<unsigned long long>(getpid()) * 1000003ULL +
                                 static_cast<unsigned long long>(now.tv_nsec) + ++counter * 7919ULL;
        std::string suffix;
        for (int i = 0; i < 6; ++i) {
            suffix += "abcdefghijklmnopqrstuvwxyz0123456789"[tag % 36];
            tag /= 36;
        }
        name = "." + base + "." + suffix + ".tmp";
        const int result = make(name.c_str());
        if (result >= 0 || errno != EEXIST) return result;
    }
    errno = EEXIST;
    return -1;
}

// The new file. Where the file system allows, it has no name while it is
// written, so that a program killed meanwhile leaves nothing behind; it is
// named only at the commit, through /proc (which needs no privilege). Other
// file systems get a named hidden file, left behind by a kill. Either way it
// is private until it is complete: others may watch the folder.
int create_new_file(const SaveTarget& target, std::string& temporary)
{
    temporary.clear();
    if (file_output_unnamed && !held_file_name(target.folder).empty()) {
        const int fd = openat(target.folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (fd >= 0) return fd;
    }
    return with_fresh_name(target, temporary, [&target](const char* name) {
        return openat(target.folder, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
    });
}

// Gives the unnamed new file a hidden name next to the target.
int name_new_file(int fd, const SaveTarget& target, std::string& temporary)
{
    const std::string open_file = held_file_name(fd);
    return with_fresh_name(target, temporary, [&open_file, &target](const char* name) {
        return linkat(AT_FDCWD, open_file.c_str(), target.folder, name, AT_SYMLINK_FOLLOW);
    });
}

bool write_all(int fd, std::string_view text)
{
    const char* data = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        ssize_t written = write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) {
            errno = EIO;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

OutputFile::~OutputFile()
{
    output_discard(*this);
}

bool output_open(OutputFile& file, const std::string& path)
{
    output_discard(file);
    file_output_error = 0;
    file.error = 0;
    file.size = 0;
    if (!resolve_save_target(path, file.target)) return fail(errno);
    if (const int error = take_current_file(file.target); error != 0) {
        release_save_target(file.target);
        return fail(error);
    }
    file.fd = create_new_file(file.target, file.temporary);
    if (file.fd < 0) {
        const int error = errno;
        file.temporary.clear();
        release_save_target(file.target);
        return fail(error);
    }
    return true;
}

bool output_write(OutputFile& file, std::string_view bytes)
{
    if (file.fd < 0 || file.error != 0) return false;
    if (!write_all(file.fd, bytes)) {
        file.error = errno != 0 ? errno : EIO;
        return false;
    }
    file.size += bytes.size();
    return true;
}

bool output_patch(OutputFile& file, std::uint64_t offset, std::string_view bytes)
{
    if (file.fd < 0 || file.error != 0) return false;
    if (offset > file.size || bytes.size() > file.size - offset) {
        file.error = EINVAL;
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = pwrite(file.fd, bytes.data() + done, bytes.size() - done,
                                       static_cast<off_t>(offset + done));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            file.error = written < 0 ? errno : EIO;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

bool output_commit(OutputFile& file)
{
    file_output_error = 0;
    if (file.fd < 0) return fail(file.error != 0 ? file.error : EBADF);
    const int folder = file.target.folder;
    int error = file.error;
    // The rights come last, so that nobody else could read the file while it
    // was written; they are synced with the data.
    if (error == 0) error = give_final_rights(file.fd, file.target);
    // The data must be on the disk before the rename makes it the file; a file
    // system that cannot sync says so with EINVAL, which is no write error.
    if (error == 0 && fsync(file.fd) != 0 && errno != EINVAL) error = errno;
    if (error == 0 && file.temporary.empty() && name_new_file(file.fd, file.target, file.temporary) < 0) {
        error = errno;
        file.temporary.clear();
    }
    if (close(file.fd) != 0 && error == 0) error = errno;
    file.fd = -1;
    if (error == 0) error = replace_taken_file(file.target, file.temporary);
    if (error == 0) {
        file.temporary.clear();
        // Make the rename itself durable; the new file is in place either way.
        const int readable = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (readable >= 0) {
            fsync(readable);
            close(readable);
        }
    }
    output_discard(file);
    if (error != 0) {
        file.error = error;
        return fail(error);
    }
    return true;
}

void output_discard(OutputFile& file)
{
    if (file.fd >= 0) close(file.fd);
    file.fd = -1;
    if (!file.temporary.empty()) unlinkat(file.target.folder, file.temporary.c_str(), 0);
    file.temporary.clear();
    release_save_target(file.target);
}

bool write_file_replacing(const std::string& path, std::string_view text)
{
    OutputFile file;
    if (!output_open(file, path)) return false;
    output_write(file, text);
    return output_commit(file);
}

bool read_small_file(const std::string& path, std::size_t max_bytes, std::string& bytes)
{
    file_output_error = 0;
    bytes.clear();
    // Non-blocking, so that opening a pipe with no writer does not hang.
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return fail(errno);
    struct stat status {};
    if (fstat(fd, &status) != 0) {
        int error = errno;
        close(fd);
        return fail(error);
    }
    if (!S_ISREG(status.st_mode)) {
        close(fd);
        return fail(S_ISDIR(status.st_mode) ? EISDIR : EINVAL);
    }
    if (static_cast<unsigned long long>(status.st_size) > max_bytes) {
        close(fd);
        return fail(EFBIG);
    }
    // The file may grow while it is read: never take more than the limit.
    bytes.resize(max_bytes < 65536 ? max_bytes + 1 : static_cast<std::size_t>(status.st_size) + 1);
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (used > max_bytes) break;
            bytes.resize(std::min(max_bytes + 1, bytes.size() * 2));
        }
        ssize_t got = read(fd, bytes.data() + used, bytes.size() - used);
        if (got < 0) {
            if (errno == EINTR) continue;
            int error = errno;
            close(fd);
            bytes.clear();
            return fail(error);
        }
        if (got == 0) break;
        used += static_cast<std::size_t>(got);
    }
    close(fd);
    if (used > max_bytes) {
        bytes.clear();
        return fail(EFBIG);
    }
    bytes.resize(used);
    return true;
}
