# The canvas view and the drive drawing: cairo and pango only, no toolkit, so
# the tests draw on an image surface without a display.
find_package(PkgConfig REQUIRED)
pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo)
pkg_check_modules(PANGOCAIRO REQUIRED IMPORTED_TARGET pangocairo)

add_library(zandrel_canvas STATIC
    ${PROJECT_SOURCE_DIR}/app/canvas_draw.cpp
    ${PROJECT_SOURCE_DIR}/app/canvas_view.cpp
)
target_include_directories(zandrel_canvas PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zandrel_canvas PUBLIC zandrel_model PkgConfig::CAIRO PkgConfig::PANGOCAIRO)
zandrel_strict(zandrel_canvas)
