# The built-in user guides and the About picture: no toolkit, testable without
# a display. Included from the top CMakeLists.txt.
#
# A program gets them by linking
#   zandrel_user_guide     writing the guide safely and starting the browser
#   zandrel_about_picture  the picture's PNG bytes and the libpng decoder
# Both are object libraries, so the order of the libraries on a program's
# link line does not matter: they call into the text table, which differs per
# language. The guide itself lives in the text tables below.

find_package(PkgConfig REQUIRED)
find_package(PNG REQUIRED)
pkg_check_modules(ZANDREL_CAIRO REQUIRED IMPORTED_TARGET cairo)

set(zandrel_embed_script ${PROJECT_SOURCE_DIR}/text/embed_file.cmake)
set(zandrel_embedded_dir ${PROJECT_BINARY_DIR}/embedded)

# Each text table carries the guide of its own language, so the program that
# links the Dutch texts always opens the Dutch guide.
foreach(lang en nl)
    set(guide_html ${PROJECT_SOURCE_DIR}/text/guide_${lang}.html)
    set(guide_cpp ${zandrel_embedded_dir}/user_guide_${lang}.cpp)
    add_custom_command(
        OUTPUT ${guide_cpp}
        COMMAND ${CMAKE_COMMAND}
            -DINPUT=${guide_html} -DOUTPUT=${guide_cpp}
            -DHEADER=app/user_guide.h -DFUNCTION=user_guide_document -DKIND=text
            -P ${zandrel_embed_script}
        DEPENDS ${guide_html} ${zandrel_embed_script}
        COMMENT "Building the ${lang} user guide into the program"
        VERBATIM)
    target_sources(zandrel_text_${lang} PRIVATE ${guide_cpp})
endforeach()

# The About picture is drawn by the build with cairo; the sanitizers' leak
# check is kept out of this one-shot tool so that cairo's caches cannot fail it.
add_executable(zandrel_about_picture_gen text/about_picture_gen.cpp)
target_link_libraries(zandrel_about_picture_gen PRIVATE PkgConfig::ZANDREL_CAIRO PNG::PNG)
zandrel_strict(zandrel_about_picture_gen)

set(about_png ${zandrel_embedded_dir}/about_picture.png)
set(about_cpp ${zandrel_embedded_dir}/about_picture_png.cpp)
add_custom_command(
    OUTPUT ${about_png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${zandrel_embedded_dir}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
        $<TARGET_FILE:zandrel_about_picture_gen> ${about_png}
    DEPENDS zandrel_about_picture_gen
    COMMENT "Drawing the About picture"
    VERBATIM)
add_custom_command(
    OUTPUT ${about_cpp}
    COMMAND ${CMAKE_COMMAND}
        -DINPUT=${about_png} -DOUTPUT=${about_cpp}
        -DHEADER=app/about_picture.h -DFUNCTION=about_picture_png -DKIND=bytes
        -P ${zandrel_embed_script}
    DEPENDS ${about_png} ${zandrel_embed_script}
    COMMENT "Building the About picture into the program"
    VERBATIM)

add_library(zandrel_about_picture OBJECT app/about_picture.cpp ${about_cpp})
target_include_directories(zandrel_about_picture PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zandrel_about_picture PUBLIC PNG::PNG)
zandrel_strict(zandrel_about_picture)

add_library(zandrel_user_guide OBJECT app/user_guide.cpp)
target_include_directories(zandrel_user_guide PUBLIC ${PROJECT_SOURCE_DIR})
zandrel_strict(zandrel_user_guide)
