# Project and preferences files and the checked, all-or-nothing file writing
# that the exports share: no toolkit, testable without a display.
add_library(zandrel_files STATIC
    ${PROJECT_SOURCE_DIR}/app/file_output.cpp
    ${PROJECT_SOURCE_DIR}/app/key_value_file.cpp
    ${PROJECT_SOURCE_DIR}/app/preferences.cpp
    ${PROJECT_SOURCE_DIR}/app/project_file.cpp
)
target_include_directories(zandrel_files PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zandrel_files PUBLIC zandrel_model)
zandrel_strict(zandrel_files)
