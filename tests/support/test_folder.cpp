#include "tests/support/test_folder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include <sys/stat.h>

TestFolder::TestFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "zandrel-test-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    if (made != nullptr) path = made;
}

TestFolder::~TestFolder()
{
    if (path.empty()) return;
    std::error_code ignored;
    // A test may have left a folder without write permission.
    for (auto& entry : std::filesystem::recursive_directory_iterator(path, ignored))
        if (entry.is_directory(ignored)) chmod(entry.path().c_str(), 0700);
    std::filesystem::remove_all(path, ignored);
}

std::string read_whole_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void write_whole_file(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string folder_listing(const std::string& path)
{
    std::vector<std::string> names;
    std::error_code ignored;
    for (auto& entry : std::filesystem::directory_iterator(path, ignored))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const std::string& name : names) listing += name + "\n";
    return listing;
}

bool path_exists(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name)
{
    if (const char* old = std::getenv(name)) {
        had_ = true;
        old_ = old;
    }
    setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv()
{
    if (had_)
        setenv(name_, old_.c_str(), 1);
    else
        unsetenv(name_);
}
