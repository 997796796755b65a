#include "files/path_name.h"

std::string file_name_of(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folder_of(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::size_t extension_dot(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size()) return std::string::npos;
    if (name.find(' ', dot) != std::string::npos) return std::string::npos;
    return dot;
}

std::string base_name_of(const std::string& path)
{
    std::string name = file_name_of(path);
    const std::size_t dot = extension_dot(name);
    if (dot != std::string::npos) name.erase(dot);
    return name;
}
