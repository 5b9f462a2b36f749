# The scene view's benchmarks and the screenshot tool; both need a display (Xvfb or Weston).
add_executable(view_bench view_bench.cpp)
target_include_directories(view_bench PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(view_bench PRIVATE orbalin_app benchmark::benchmark)

add_executable(view_screenshot view_screenshot.cpp)
target_include_directories(view_screenshot PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(view_screenshot PRIVATE orbalin_view)

# Pictures drawn with no display at all (the command line's --render); runs anywhere.
add_executable(render_bench render_bench.cpp)
target_include_directories(render_bench PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(render_bench PRIVATE orbalin_view benchmark::benchmark_main)

# Launch to first frame, and memory, of the real program against a bare window (launch.py).
add_executable(bare_window bare_window.cpp)
target_include_directories(bare_window PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(bare_window PRIVATE orbalin_view)
add_library(first_swap MODULE first_swap.cpp)
target_link_libraries(first_swap PRIVATE ${CMAKE_DL_LIBS})
set_target_properties(first_swap PROPERTIES PREFIX "")
