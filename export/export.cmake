# The exports: shape lists and the file writers, no toolkit, testable without a
# display. Every writer puts its file on the disk through zandrel_files.
add_library(zandrel_export STATIC
    ${PROJECT_SOURCE_DIR}/export/dxf_writer.cpp
    ${PROJECT_SOURCE_DIR}/export/export.cpp
    ${PROJECT_SOURCE_DIR}/export/export_file.cpp
    ${PROJECT_SOURCE_DIR}/export/shape_list_2d.cpp
)
target_include_directories(zandrel_export PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zandrel_export PUBLIC zandrel_files zandrel_model)
zandrel_strict(zandrel_export)
