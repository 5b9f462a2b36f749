# The recording's timing maths, and animations recorded by the real program read back with the
# ecosystem's own tools. Pillow is Debian's (python3-pil), which only Debian's Python sees.
orbalin_add_test(animation_tests
    SOURCES animation/AnimationTimingTest.cpp
    LIBS orbalin_animation)
find_program(FFPROBE ffprobe REQUIRED)
find_program(DEBIAN_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
add_test(NAME animation_files
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
        ${DEBIAN_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/animation/animation_files_check.py
        $<TARGET_FILE:orbalin> ${PROJECT_SOURCE_DIR}/fuzz/seeds/scene-3-pairs.bin.plist)
set_tests_properties(animation_files PROPERTIES LABELS gui TIMEOUT 300)
