#pragma once

#include <string>

// The test data folder of the file suites.
std::string data_file(const std::string& name);
