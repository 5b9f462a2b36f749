# The application shell's suites, through real windows.
find_package(Qt6 REQUIRED COMPONENTS Test)
orbalin_add_test(app_tests GUI
    SOURCES app/ApplicationTest.cpp rtf/RtfTextTest.cpp
    LIBS orbalin_app Qt6::Test)

# The command line: the real program run without a display, its pictures compared with the
# scene view's own frame under one.
orbalin_add_test(command_line_tests GUI
    SOURCES app/CommandLineTest.cpp
    LIBS orbalin_app Qt6::Test)
add_dependencies(command_line_tests orbalin)
target_compile_definitions(command_line_tests PRIVATE
    ORBALIN_PROGRAM="$<TARGET_FILE:orbalin>" ORBALIN_VERSION="${PROJECT_VERSION}")

# The real program on Qt's Wayland platform, under a headless Weston whose own screenshots are
# the evidence. Both are required: a suite that skipped them would prove less than it says.
find_program(WESTON weston REQUIRED)
find_program(WESTON_SCREENSHOOTER weston-screenshooter REQUIRED)
orbalin_add_test(wayland_tests GUI
    SOURCES app/WaylandTest.cpp
    LIBS orbalin_model Qt6::Gui)
add_dependencies(wayland_tests orbalin)
target_compile_definitions(wayland_tests PRIVATE ORBALIN_PROGRAM="$<TARGET_FILE:orbalin>"
    WESTON="${WESTON}" WESTON_SCREENSHOOTER="${WESTON_SCREENSHOOTER}")
