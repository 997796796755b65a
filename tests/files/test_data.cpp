#include "tests/files/test_data.h"

std::string data_file(const std::string& name) { return std::string(ZANDREL_FILES_DATA) + "/" + name; }
