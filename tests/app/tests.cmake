# The window and its dispatch. Included from tests/CMakeLists.txt.
set(app_test_dir ${CMAKE_CURRENT_LIST_DIR})

# On the in-memory toolkit, without a display. The shell's libraries come
# before the model and the text table they call.
foreach(lang en nl)
    if(lang STREQUAL "en")
        set(suite app_tests)
        set(lang_sources ${app_test_dir}/dispatch_test.cpp ${app_test_dir}/layout_test.cpp
                         ${app_test_dir}/number_text_test.cpp ${app_test_dir}/canvas_mouse_test.cpp)
    else()
        set(suite app_tests_nl)
        set(lang_sources ${app_test_dir}/dutch_window_test.cpp)
    endif()
    zandrel_test(${suite} ${lang}
        ${app_test_dir}/toolkit_standin.cpp
        ${app_test_dir}/shell_doubles.cpp
        ${app_test_dir}/project_command_doubles.cpp
        ${app_test_dir}/export_command_doubles.cpp
        ${lang_sources}
    )
    target_link_libraries(${suite} PRIVATE zandrel_shell zandrel_canvas zandrel_files zandrel_model zandrel_text_${lang})
endforeach()

# The project dialogs for real on the stand-in, with the project files of the
# file tests.
foreach(lang en nl)
    if(lang STREQUAL "en")
        set(suite app_dialog_tests)
        set(lang_sources ${app_test_dir}/project_dialogs_test.cpp)
    else()
        set(suite app_dialog_tests_nl)
        set(lang_sources ${app_test_dir}/project_dialogs_nl_test.cpp)
    endif()
    zandrel_test(${suite} ${lang}
        ${app_test_dir}/toolkit_standin.cpp
        ${app_test_dir}/shell_doubles.cpp
        ${app_test_dir}/export_command_doubles.cpp
        ${PROJECT_SOURCE_DIR}/tests/files/test_data.cpp
        ${lang_sources}
    )
    target_link_libraries(${suite} PRIVATE zandrel_project_dialogs zandrel_shell zandrel_canvas zandrel_files zandrel_model
                                           zandrel_text_${lang})
    target_compile_definitions(${suite} PRIVATE ZANDREL_FILES_DATA="${PROJECT_SOURCE_DIR}/tests/files/data")
endforeach()

# The export command for real on the stand-in, with the real writers and the
# DXF reader of the export tests.
foreach(lang en nl)
    if(lang STREQUAL "en")
        set(suite export_command_tests)
        set(lang_sources ${app_test_dir}/export_command_test.cpp)
    else()
        set(suite export_command_tests_nl)
        set(lang_sources ${app_test_dir}/export_command_nl_test.cpp)
    endif()
    zandrel_test(${suite} ${lang}
        ${app_test_dir}/toolkit_standin.cpp
        ${app_test_dir}/shell_doubles.cpp
        ${app_test_dir}/project_command_doubles.cpp
        ${PROJECT_SOURCE_DIR}/tests/export/export_support.cpp
        ${lang_sources}
    )
    target_link_libraries(${suite} PRIVATE zandrel_export_command zandrel_shell zandrel_canvas zandrel_export
                                           zandrel_files zandrel_model zandrel_text_${lang})
endforeach()

# On GTK itself, under the virtual display the suite runs in.
zandrel_test(app_gtk_tests en ${app_test_dir}/toolkit_gtk_test.cpp ${app_test_dir}/gtk_leak_suppressions.cpp)
target_link_libraries(app_gtk_tests PRIVATE zandrel_toolkit_gtk zandrel_canvas_window zandrel_project_dialogs zandrel_export_command zandrel_shell zandrel_canvas zandrel_export zandrel_files
                                            zandrel_model zandrel_text_en)

# Helpers of the end-to-end test: the X requests xdotool lacks, and the
# report of the default drive in each language.
add_executable(x11_tool ${app_test_dir}/x11_tool.cpp)
target_link_libraries(x11_tool PRIVATE PkgConfig::X11)
zandrel_strict(x11_tool)
# Records what each message box of the program says, preloaded by the
# export end-to-end test.
add_library(message_box_spy SHARED ${app_test_dir}/message_box_spy.cpp)
target_link_libraries(message_box_spy PRIVATE ${CMAKE_DL_LIBS})
zandrel_strict(message_box_spy)

# Where a control sits in the real window, for the scripts that click it.
add_executable(print_gadget_centre ${app_test_dir}/print_gadget_centre.cpp)
target_link_libraries(print_gadget_centre PRIVATE zandrel_toolkit_gtk zandrel_canvas_window zandrel_project_dialogs
                                                  zandrel_export_command zandrel_shell zandrel_canvas zandrel_export
                                                  zandrel_files zandrel_model zandrel_help_commands zandrel_user_guide
                                                  zandrel_about_picture zandrel_text_en)
zandrel_strict(print_gadget_centre)
foreach(lang en nl)
    add_executable(print_default_report_${lang} ${app_test_dir}/print_default_report.cpp)
    target_link_libraries(print_default_report_${lang} PRIVATE zandrel_model zandrel_text_${lang})
    zandrel_strict(print_default_report_${lang})
endforeach()

# Both programs, end to end on the display.
foreach(program zandrel zandrel-nl)
    if(program STREQUAL "zandrel")
        set(lang en)
        set(new_project "new project")
    else()
        set(lang nl)
        set(new_project "nieuw project")
    endif()
    add_test(NAME window_end_to_end_${lang}
             COMMAND bash ${app_test_dir}/window_end_to_end.sh $<TARGET_FILE:${program}> "${new_project}"
                     $<TARGET_FILE:print_default_report_${lang}> $<TARGET_FILE:x11_tool>
                     ${PROJECT_BINARY_DIR}/artifacts)
    set_tests_properties(window_end_to_end_${lang} PROPERTIES TIMEOUT 180 SKIP_RETURN_CODE 77)
endforeach()

# Times an idler drag and the animation step with the real drawing (run by
# hand on a Release build; not a test).
add_executable(mouse_timing
    ${app_test_dir}/mouse_timing.cpp
    ${app_test_dir}/toolkit_standin.cpp
    ${app_test_dir}/shell_doubles.cpp
    ${app_test_dir}/project_command_doubles.cpp
    ${app_test_dir}/export_command_doubles.cpp
    ${PROJECT_SOURCE_DIR}/tests/canvas/font_leak_suppressions.cpp
)
target_link_libraries(mouse_timing PRIVATE zandrel_shell zandrel_canvas zandrel_files zandrel_model zandrel_text_en)
zandrel_strict(mouse_timing)

# The canvas under a real mouse: zoom, fit, pan, idler drag, rotation; and the
# default window's wheels drawn in their colours.
add_test(NAME mouse_end_to_end
         COMMAND bash ${app_test_dir}/mouse_end_to_end.sh $<TARGET_FILE:zandrel> $<TARGET_FILE:x11_tool>
                 ${PROJECT_BINARY_DIR}/artifacts)
set_tests_properties(mouse_end_to_end PROPERTIES TIMEOUT 180 SKIP_RETURN_CODE 77)

# The 2D DXF export through each program, its GTK dialog and its boxes.
foreach(program zandrel zandrel-nl)
    if(program STREQUAL "zandrel")
        set(lang en)
    else()
        set(lang nl)
    endif()
    add_test(NAME export_end_to_end_${lang}
             COMMAND bash ${app_test_dir}/export_end_to_end.sh $<TARGET_FILE:${program}> ${lang}
                     $<TARGET_FILE:x11_tool> $<TARGET_FILE:print_gadget_centre> $<TARGET_FILE:message_box_spy>
                     ${PROJECT_BINARY_DIR}/artifacts)
    set_tests_properties(export_end_to_end_${lang} PROPERTIES TIMEOUT 180 SKIP_RETURN_CODE 77)
endforeach()

# Project files through the program and its GTK dialogs, on the display.
add_test(NAME project_end_to_end
         COMMAND bash ${app_test_dir}/project_end_to_end.sh $<TARGET_FILE:zandrel> ${PROJECT_SOURCE_DIR}/tests/files/data
                 $<TARGET_FILE:x11_tool> ${PROJECT_BINARY_DIR}/artifacts)
set_tests_properties(project_end_to_end PROPERTIES TIMEOUT 180 SKIP_RETURN_CODE 77)

# The guide and About commands.
include(${app_test_dir}/help.cmake)
