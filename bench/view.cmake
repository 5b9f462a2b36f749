# The scene view's benchmarks and the screenshot tool; both need a display (run under Xvfb).
add_executable(view_bench view_bench.cpp)
target_include_directories(view_bench PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(view_bench PRIVATE orbalin_view benchmark::benchmark)

add_executable(view_screenshot view_screenshot.cpp)
target_include_directories(view_screenshot PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(view_screenshot PRIVATE orbalin_view)
