#pragma once

#include <string>

// A fresh folder under the system's temporary folder, removed with all it holds
// when the test ends.
struct TestFolder {
    std::string path;  // without a trailing '/'
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    std::string file(const std::string& name) const { return path + "/" + name; }
};

std::string read_whole_file(const std::string& path);
void write_whole_file(const std::string& path, const std::string& bytes);
// Anything at the path, a dangling link included.
bool path_exists(const std::string& path);
// The names in a folder, sorted, each followed by a line feed; shows whether a
// failed write left a file behind.
std::string folder_listing(const std::string& path);

// An environment variable set for one test and put back afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    bool had_ = false;
    std::string old_;
};
