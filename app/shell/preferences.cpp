#include "app/shell/preferences.h"

#include <cerrno>
#include <cstdlib>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/key_value_file.h"
#include "files/file_output.h"

namespace {

std::string home_folder()
{
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') return home;
    // Without $HOME the password database still knows the user's home.
    const passwd* entry = getpwuid(getuid());
    if (entry != nullptr && entry->pw_dir != nullptr && entry->pw_dir[0] != '\0') return entry->pw_dir;
    return "";
}

bool is_folder(const std::string& path)
{
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

std::string prefs_file_path()
{
    std::string home = home_folder();
    if (home.empty()) return "";
    if (home.back() == '/') home.pop_back();
    std::string folder = home + "/.Zandrel";
    // The umask may only take bits away; the folder is the user's alone.
    if (!is_folder(folder) && mkdir(folder.c_str(), 0700) == 0) chmod(folder.c_str(), 0700);
    return folder + "/Zandrel.prefs";
}

std::string read_pref_string(const std::string& key, const std::string& fallback)
{
    std::string path = prefs_file_path();
    if (path.empty()) return fallback;
    KeyValueFile file;
    if (!kv_open(file, path, preferences_file_max_bytes)) {
        file = KeyValueFile {};  // forget it without writing
        return fallback;
    }
    std::string value = kv_read_string(file, key, fallback);
    kv_close(file);  // only read, so nothing is written
    return value;
}

bool write_pref_string(const std::string& key, const std::string& value)
{
    std::string path = prefs_file_path();
    if (path.empty()) return false;
    KeyValueFile file;
    // A file that is there but cannot be read (no permission, too large, a
    // read error) still holds the other remembered folder: it is left alone.
    // Only where there is none is a fresh one started.
    if (!kv_open(file, path, preferences_file_max_bytes)) {
        const bool missing = file_output_error == ENOENT;
        file = KeyValueFile {};  // forget it without writing
        if (!missing || !kv_create(file, path)) return false;
    }
    if (!kv_write_string(file, key, value)) {
        file = KeyValueFile {};
        return false;
    }
    return kv_close(file);
}

std::string read_pref_folder(const std::string& key)
{
    std::string value = read_pref_string(key, "");
    if (value.empty() || !is_folder(value)) return "";
    return value;
}
