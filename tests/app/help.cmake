# The guide and About commands of the Help menu. Included from tests.cmake.

# For real on the in-memory toolkit, once per language; the doubles of the
# other commands stay.
foreach(lang en nl)
    if(lang STREQUAL "en")
        set(suite help_command_tests)
        set(guide_file "zandrel_user_guide.html")
        set(guide_title "User guide")
        set(guide_failed "Cannot write the user guide to the temporary folder:\\n")
        set(about_title "About")
        set(about_close "Close")
    else()
        set(suite help_command_tests_nl)
        set(guide_file "zandrel_handleiding.html")
        set(guide_title "Handleiding")
        set(guide_failed "Kan de handleiding niet in de tijdelijke map zetten:\\n")
        set(about_title "Over")
        set(about_close "Sluiten")
    endif()
    zandrel_test(${suite} ${lang}
        ${app_test_dir}/toolkit_standin.cpp
        ${app_test_dir}/shell_doubles.cpp
        ${app_test_dir}/project_command_doubles.cpp
        ${app_test_dir}/export_command_doubles.cpp
        ${app_test_dir}/help_commands_test.cpp
    )
    target_link_libraries(${suite} PRIVATE zandrel_help_commands zandrel_user_guide zandrel_about_picture
                                           zandrel_shell zandrel_canvas zandrel_files zandrel_model zandrel_text_${lang})
    target_compile_definitions(${suite} PRIVATE
        ZANDREL_REAL_HELP_COMMANDS
        ZANDREL_GUIDE_SOURCE="${PROJECT_SOURCE_DIR}/text/guide_${lang}.html"
        ZANDREL_EXPECTED_GUIDE_FILE="${guide_file}"
        ZANDREL_EXPECTED_GUIDE_TITLE="${guide_title}"
        ZANDREL_EXPECTED_GUIDE_FAILED="${guide_failed}"
        ZANDREL_EXPECTED_ABOUT_TITLE="${about_title}"
        ZANDREL_EXPECTED_ABOUT_CLOSE="${about_close}")
endforeach()

# The GTK suite runs the real shell, which now calls the real commands.
target_link_libraries(app_gtk_tests PRIVATE zandrel_help_commands zandrel_user_guide zandrel_about_picture)

# F1 and the About window in both programs, end to end on the display.
foreach(program zandrel zandrel-nl)
    if(program STREQUAL "zandrel")
        set(lang en)
    else()
        set(lang nl)
    endif()
    add_test(NAME help_end_to_end_${lang}
             COMMAND bash ${app_test_dir}/help_end_to_end.sh $<TARGET_FILE:${program}> ${lang}
                     ${PROJECT_SOURCE_DIR}/text/guide_${lang}.html ${PROJECT_SOURCE_DIR}/tests/files/data
                     $<TARGET_FILE:x11_tool> $<TARGET_FILE:print_gadget_centre> ${PROJECT_BINARY_DIR}/artifacts)
    set_tests_properties(help_end_to_end_${lang} PROPERTIES TIMEOUT 180 SKIP_RETURN_CODE 77)
endforeach()
