# Turns a file into a C++ source that holds its bytes, so that the program
# carries the user guide and the About picture without reading anything at
# run time. Run as a script:
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DHEADER=app/x.h -DFUNCTION=name
#         -DKIND=text|bytes -P embed_file.cmake
# KIND text makes `std::string_view FUNCTION()`, KIND bytes makes
# `std::span<const unsigned char> FUNCTION()`; HEADER declares the function.

foreach(var INPUT OUTPUT HEADER FUNCTION KIND)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "embed_file.cmake: ${var} is not set")
    endif()
endforeach()

file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Sixteen bytes a line keeps the source readable for editors and compilers.
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n" bytes "${bytes}")
get_filename_component(input_name "${INPUT}" NAME)

if(KIND STREQUAL "text")
    set(result_type "std::string_view")
    set(result "std::string_view(reinterpret_cast<const char*>(bytes), ${size})")
else()
    set(result_type "std::span<const unsigned char>")
    set(result "std::span<const unsigned char>(bytes, ${size})")
endif()

# The array always ends in one extra zero so that an empty file still makes
# a valid array; the size handed out does not count it.
set(source "// Made by the build from ${input_name}; edit that file instead.
#include \"${HEADER}\"

namespace {
const unsigned char bytes[] = {
${bytes}
0x00};
}  // namespace

${result_type} ${FUNCTION}()
{
    return ${result};
}
")

file(WRITE "${OUTPUT}" "${source}")
