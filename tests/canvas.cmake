# The canvas view and the drive drawing, on image surfaces: no display needed.
# The text table comes again after the canvas, which uses it.
zandrel_test(canvas_tests en
    canvas/canvas_path.cpp
    canvas/font_leak_suppressions.cpp
    canvas/draw_test.cpp
    canvas/view_test.cpp
)
target_link_libraries(canvas_tests PRIVATE zandrel_canvas zandrel_text_en)

zandrel_test(canvas_tests_nl nl
    canvas/draw_nl_test.cpp
    canvas/font_leak_suppressions.cpp
)
target_link_libraries(canvas_tests_nl PRIVATE zandrel_canvas zandrel_text_nl)
