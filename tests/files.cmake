# Project file, preferences file and file writing.
zandrel_test(files_tests en
    files/file_output_test.cpp
    files/key_value_file_test.cpp
    files/preferences_test.cpp
    files/project_file_test.cpp
    files/test_data.cpp
)
target_link_libraries(files_tests PRIVATE zandrel_files zandrel_model zandrel_text_en)
target_compile_definitions(files_tests PRIVATE ZANDREL_FILES_DATA="${CMAKE_CURRENT_SOURCE_DIR}/files/data")

zandrel_test(files_tests_nl nl
    files/project_file_nl_test.cpp
    files/test_data.cpp
)
target_link_libraries(files_tests_nl PRIVATE zandrel_files zandrel_model zandrel_text_nl)
target_compile_definitions(files_tests_nl PRIVATE ZANDREL_FILES_DATA="${CMAKE_CURRENT_SOURCE_DIR}/files/data")

# The reader under libFuzzer. It needs clang, whatever compiler builds the rest,
# so it is compiled by a command of its own; without clang and its fuzzer
# runtime the test is left out.
find_program(ZANDREL_CLANGXX NAMES clang++ clang++-16 clang++-15 clang++-14)
set(ZANDREL_FUZZ_FLAGS -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
    -Wall -Wextra -Werror -I${PROJECT_SOURCE_DIR})
set(zandrel_fuzz_ok FALSE)
if(ZANDREL_CLANGXX)
    set(probe ${CMAKE_CURRENT_BINARY_DIR}/fuzz_probe)
    file(WRITE ${probe}.cpp "#include <cstddef>\n#include <cstdint>\nextern \"C\" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }\n")
    execute_process(COMMAND ${ZANDREL_CLANGXX} ${ZANDREL_FUZZ_FLAGS} ${probe}.cpp -o ${probe}
                    RESULT_VARIABLE probe_result OUTPUT_QUIET ERROR_QUIET)
    if(probe_result EQUAL 0)
        set(zandrel_fuzz_ok TRUE)
    endif()
endif()
if(zandrel_fuzz_ok)
    set(fuzz_sources
        ${PROJECT_SOURCE_DIR}/tests/files/project_fuzz.cpp
        ${PROJECT_SOURCE_DIR}/app/file_output.cpp
        ${PROJECT_SOURCE_DIR}/app/key_value_file.cpp
        ${PROJECT_SOURCE_DIR}/app/preferences.cpp
        ${PROJECT_SOURCE_DIR}/app/project_file.cpp
        ${PROJECT_SOURCE_DIR}/model/chain_size.cpp
        ${PROJECT_SOURCE_DIR}/model/format.cpp
        ${PROJECT_SOURCE_DIR}/text/texts_en.cpp
    )
    file(GLOB fuzz_headers ${PROJECT_SOURCE_DIR}/app/*.h ${PROJECT_SOURCE_DIR}/model/*.h ${PROJECT_SOURCE_DIR}/text/*.h)
    set(fuzzer ${CMAKE_CURRENT_BINARY_DIR}/project_fuzzer)
    add_custom_command(OUTPUT ${fuzzer}
        COMMAND ${ZANDREL_CLANGXX} ${ZANDREL_FUZZ_FLAGS} ${fuzz_sources} -o ${fuzzer}
        DEPENDS ${fuzz_sources} ${fuzz_headers}
        COMMENT "Building the project file fuzzer with clang"
        VERBATIM)
    add_custom_target(project_fuzz_build ALL DEPENDS ${fuzzer})
    # New inputs go to the first corpus folder; the test data stays as it is.
    set(fuzz_corpus ${CMAKE_CURRENT_BINARY_DIR}/project_fuzz_corpus)
    file(MAKE_DIRECTORY ${fuzz_corpus} ${CMAKE_CURRENT_BINARY_DIR}/project_fuzz_artifacts)
    add_test(NAME files_fuzz_project
        COMMAND ${fuzzer} -runs=20000 -max_len=4096 -timeout=10
                -dict=${CMAKE_CURRENT_SOURCE_DIR}/files/project_fuzz.dict
                -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/project_fuzz_artifacts/
                ${fuzz_corpus} ${CMAKE_CURRENT_SOURCE_DIR}/files/data)
    set_tests_properties(files_fuzz_project PROPERTIES TIMEOUT 300)
else()
    message(STATUS "clang++ with libFuzzer not found: the project file fuzz test is left out")
endif()
