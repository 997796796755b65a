#include "app/shell/user_guide.h"

#include "text/texts.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::string user_guide_error_text;

namespace {

// "/tmp/" and "/tmp" name the same folder; joining adds the slash itself.
std::string without_trailing_slashes(const std::string& folder)
{
    std::string result = folder;
    while (result.size() > 1 && result.back() == '/') {
        result.pop_back();
    }
    return result;
}

std::string joined(const std::string& folder, std::string_view name)
{
    std::string result = folder;
    if (result.empty() || result.back() != '/') {
        result += '/';
    }
    result += name;
    return result;
}

// Opens `path` when it is a real folder (not a link) that belongs to us and
// that nobody else may enter; -1 otherwise.
int open_private_folder(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid() ||
        (info.st_mode & 0777) != 0700) {
        close(fd);
        return -1;
    }
    return fd;
}

constexpr std::string_view folder_prefix = "zandrel-";
constexpr std::size_t folder_name_length = folder_prefix.size() + 6;  // what mkdtemp puts for XXXXXX

// The folder an earlier run made, so that every run does not leave one more:
// one of ours by name that is still private to us. Nobody else can make a
// folder that is ours, so its unguessable name is all the safety it needs.
int find_private_folder(const std::string& temp_root, std::string& path)
{
    DIR* listing = opendir(temp_root.c_str());
    if (listing == nullptr) {
        return -1;
    }
    int fd = -1;
    while (const dirent* entry = readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (name.size() != folder_name_length || !name.starts_with(folder_prefix)) {
            continue;
        }
        path = joined(temp_root, name);
        fd = open_private_folder(path);
        if (fd >= 0) {
            break;
        }
    }
    closedir(listing);
    return fd;
}

// A new folder with an unguessable name: mkdtemp creates it atomically, so
// nothing planted beforehand can stand in for it.
int make_private_folder(const std::string& temp_root, std::string& path)
{
    std::string pattern = joined(temp_root, std::string(folder_prefix) + "XXXXXX");
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!mkdtemp(name.data())) {
        return -1;
    }
    path = name.data();
    // mkdtemp asks for 0700 but the umask may have taken bits away; the
    // check on opening makes sure the folder we then use is still this one.
    if (chmod(path.c_str(), 0700) != 0) {
        return -1;
    }
    return open_private_folder(path);
}

bool write_all(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool is_plain_file_name(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

std::string failed(const std::string& path)
{
    user_guide_error_text = std::string(text::user_guide_write_failed) + path;
    return {};
}

// The file that `program` names, searched like execvp does: a name with a
// slash as it is, otherwise each folder of PATH in turn (an empty entry is
// the current folder).
std::string find_program(const std::string& program)
{
    if (program.empty()) {
        return {};
    }
    const auto runnable = [](const std::string& path) {
        struct stat info {};
        return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
    };
    if (program.find('/') != std::string::npos) {
        return runnable(program) ? program : std::string{};
    }
    const char* search = std::getenv("PATH");
    const std::string folders = search ? search : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) {
            end = folders.size();
        }
        const std::string folder = end > start ? folders.substr(start, end - start) : ".";
        const std::string candidate = joined(folder, program);
        if (runnable(candidate)) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

}  // namespace

std::string temporary_folder()
{
    const char* tmpdir = std::getenv("TMPDIR");
    if (tmpdir && tmpdir[0] == '/') {
        struct stat info {};
        if (stat(tmpdir, &info) == 0 && S_ISDIR(info.st_mode)) {
            return without_trailing_slashes(tmpdir);
        }
    }
    return "/tmp";
}

std::string write_guide_file(GuideFolder& folder, const std::string& temp_root, std::string_view file_name,
                             std::string_view document)
{
    user_guide_error_text.clear();
    const std::string root = without_trailing_slashes(temp_root);
    if (!is_plain_file_name(file_name)) {
        return failed(joined(root, file_name));
    }

    int dir = folder.path.empty() ? -1 : open_private_folder(folder.path);
    if (dir < 0) {
        folder.path.clear();
        dir = find_private_folder(root, folder.path);
    }
    if (dir < 0) {
        dir = make_private_folder(root, folder.path);
        if (dir < 0) {
            folder.path.clear();
            return failed(joined(root, file_name));  // the guide was meant to go there
        }
    }
    const std::string path = joined(folder.path, file_name);
    const std::string name(file_name);

    // Remove whatever sits at the name (the previous guide, or a link) and
    // create the file afresh: O_EXCL refuses to go through a link, so a link
    // planted between the two calls makes the write fail instead of reaching
    // another file.
    if (unlinkat(dir, name.c_str(), 0) != 0 && errno != ENOENT) {
        close(dir);
        return failed(path);
    }
    const int fd = openat(dir, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        close(dir);
        return failed(path);
    }
    const bool complete = write_all(fd, document);
    const bool closed = close(fd) == 0;
    if (!complete || !closed) {
        // A half-written guide would open as a broken page; leave none behind.
        unlinkat(dir, name.c_str(), 0);
        close(dir);
        return failed(path);
    }
    close(dir);
    return path;
}

std::string write_user_guide()
{
    static GuideFolder run_folder;
    return write_guide_file(run_folder, temporary_folder(), text::user_guide_file_name, user_guide_document());
}

int start_detached(const std::string& program, const std::string& argument)
{
    const std::string file = find_program(program);
    if (file.empty()) {
        return 0;
    }
    // Everything the child needs is made before fork: in the child of a
    // process with threads only async-signal-safe calls are allowed.
    std::vector<char> arg0(program.begin(), program.end());
    arg0.push_back('\0');
    std::vector<char> arg1(argument.begin(), argument.end());
    arg1.push_back('\0');
    char* const argv[] = {arg0.data(), arg1.data(), nullptr};
    sigset_t no_signals;
    sigemptyset(&no_signals);

    const pid_t started = fork();
    if (started < 0) {
        return 0;
    }
    if (started == 0) {
        setsid();
        signal(SIGPIPE, SIG_DFL);
        sigprocmask(SIG_SETMASK, &no_signals, nullptr);
        close_range(3, ~0u, 0);
        execv(file.c_str(), argv);
        _exit(127);
    }
    return started;
}
