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
// The names in a folder, sorted; shows whether a failed save left a file behind.
std::string folder_listing(const std::string& path);
// The test data folder of these suites.
std::string data_file(const std::string& name);
