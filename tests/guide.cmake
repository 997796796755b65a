# The built-in user guides and the About picture.

# The guide documents themselves: well-formed HTML with the program's headings.
foreach(lang en nl)
    add_test(NAME guide_html_${lang}
        COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/guide/check_guide.py
                ${PROJECT_SOURCE_DIR}/text/guide_${lang}.html ${lang})
endforeach()

zandrel_test(guide_tests en
    guide/about_picture_test.cpp
    guide/guide_document_test.cpp
    guide/user_guide_file_test.cpp
)
target_link_libraries(guide_tests PRIVATE zandrel_user_guide zandrel_about_picture)
target_compile_definitions(guide_tests PRIVATE
    ZANDREL_GUIDE_SOURCE="${PROJECT_SOURCE_DIR}/text/guide_en.html"
    ZANDREL_GUIDE_LANG="en"
    ZANDREL_GUIDE_SUITE=GuideDocumentEn
    ZANDREL_GUIDE_FILE_NAME="zandrel_user_guide.html")

zandrel_test(guide_tests_nl nl
    guide/guide_document_test.cpp
)
target_link_libraries(guide_tests_nl PRIVATE zandrel_user_guide)
target_compile_definitions(guide_tests_nl PRIVATE
    ZANDREL_GUIDE_SOURCE="${PROJECT_SOURCE_DIR}/text/guide_nl.html"
    ZANDREL_GUIDE_LANG="nl"
    ZANDREL_GUIDE_SUITE=GuideDocumentNl
    ZANDREL_GUIDE_FILE_NAME="zandrel_handleiding.html")
