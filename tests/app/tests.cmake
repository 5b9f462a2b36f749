# The application shell's suites, through real windows.
find_package(Qt6 REQUIRED COMPONENTS Test)
orbalin_add_test(app_tests GUI
    SOURCES app/ApplicationTest.cpp app/DocumentFilesTest.cpp app/RecentFilesTest.cpp
        app/PictureFilesTest.cpp app/ScreensaverTest.cpp
    LIBS orbalin_app Qt6::Test Qt6::GuiPrivate)

# The command line: the real program run without a display, its pictures compared with the
# scene view's own frame under one.
orbalin_add_test(command_line_tests GUI
    SOURCES app/CommandLineTest.cpp
    LIBS orbalin_app Qt6::Test)
add_dependencies(command_line_tests orbalin)
target_compile_definitions(command_line_tests PRIVATE
    ORBALIN_PROGRAM="$<TARGET_FILE:orbalin>" ORBALIN_VERSION="${PROJECT_VERSION}"
    ORBALIN_REFERENCES="${CMAKE_CURRENT_SOURCE_DIR}/app/references")

# The real program in a desktop session: failed start-up, real drags from another X client, and
# closing its last window. It has a session bus of its own, so that the program never hands
# its files to another instance.
find_package(X11 REQUIRED)
find_program(DBUS_RUN_SESSION dbus-run-session REQUIRED)
add_executable(xdnd_drag app/xdnd_drag.cpp)
target_link_libraries(xdnd_drag PRIVATE X11::X11)
add_executable(root_property_watch app/root_property_watch.cpp)
target_link_libraries(root_property_watch PRIVATE X11::X11)
add_test(NAME app_real_session
    COMMAND ${DBUS_RUN_SESSION} -- ${CMAKE_CURRENT_SOURCE_DIR}/app/real_session_test.sh
        $<TARGET_FILE:orbalin> $<TARGET_FILE:xdnd_drag> $<TARGET_FILE:root_property_watch>
        ${PROJECT_SOURCE_DIR}/fuzz/seeds/scene-3-pairs.bin.plist)
# It runs a window manager of its own on the suite's display, which only one suite at a time
# can do.
set_tests_properties(app_real_session PROPERTIES LABELS gui TIMEOUT 300
    RESOURCE_LOCK window_manager)

# The real program on Qt's Wayland platform, under a headless Weston whose own screenshots are
# the evidence. Both are required: a suite that skipped them would prove less than it says.
find_program(WESTON weston REQUIRED)
find_program(WESTON_SCREENSHOOTER weston-screenshooter REQUIRED)
find_program(DBUS_DAEMON dbus-daemon REQUIRED)
orbalin_add_test(wayland_tests GUI
    SOURCES app/WaylandTest.cpp
    LIBS orbalin_model Qt6::Gui)
add_dependencies(wayland_tests orbalin)
target_compile_definitions(wayland_tests PRIVATE ORBALIN_PROGRAM="$<TARGET_FILE:orbalin>"
    WESTON="${WESTON}" WESTON_SCREENSHOOTER="${WESTON_SCREENSHOOTER}"
    DBUS_DAEMON="${DBUS_DAEMON}")

# Orbalin as a screen saver: in a window made by another X client, and run by the real
# screen-saver daemon as an unprivileged user; its XML description as the daemon reads it.
find_program(XSCREENSAVER xscreensaver REQUIRED)
find_program(XMLLINT xmllint REQUIRED)
add_executable(x11_host_window app/x11_host_window.cpp)
target_link_libraries(x11_host_window PRIVATE X11::X11)
add_test(NAME app_screensaver
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/app/screensaver_test.sh
        $<TARGET_FILE:orbalin> $<TARGET_FILE:x11_host_window>
        ${PROJECT_SOURCE_DIR}/resources/orbalin.xml)
# The daemon blanks and grabs the whole display: nothing else may run on it meanwhile.
set_tests_properties(app_screensaver PROPERTIES LABELS gui TIMEOUT 300 RUN_SERIAL TRUE)
