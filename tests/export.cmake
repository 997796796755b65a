# The exports: the 2D shape list, the DXF writer and the export command's rules.
set(export_test_dir ${CMAKE_CURRENT_LIST_DIR}/export)

zandrel_test(export_tests en
    ${export_test_dir}/dxf_writer_test.cpp
    ${export_test_dir}/export_command_test.cpp
    ${export_test_dir}/export_support.cpp
    ${export_test_dir}/shape_list_2d_test.cpp
)
target_link_libraries(export_tests PRIVATE zandrel_export zandrel_files zandrel_model zandrel_text_en)

zandrel_test(export_tests_nl nl
    ${export_test_dir}/export_nl_test.cpp
    ${export_test_dir}/export_support.cpp
)
target_link_libraries(export_tests_nl PRIVATE zandrel_export zandrel_files zandrel_model zandrel_text_nl)

# A real reader: ezdxf (Debian's, for the system interpreter) reads and audits
# the files of both builds.
foreach(lang en nl)
    add_executable(export_dxf_samples_${lang} ${export_test_dir}/write_dxf_samples.cpp)
    target_link_libraries(export_dxf_samples_${lang} PRIVATE zandrel_export zandrel_files zandrel_model
                                                             zandrel_text_${lang})
    zandrel_strict(export_dxf_samples_${lang})
    add_test(NAME export_dxf_ezdxf_${lang}
             COMMAND /usr/bin/python3 ${export_test_dir}/audit_dxf.py $<TARGET_FILE:export_dxf_samples_${lang}> ${lang})
    set_tests_properties(export_dxf_ezdxf_${lang} PROPERTIES TIMEOUT 300)
endforeach()
