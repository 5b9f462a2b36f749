# Writing, reading and opening scene archives; archive_vs_plistlib.py runs them beside Python's
# plistlib on the same file and checks the goals.
add_executable(archive_bench archive_bench.cpp)
target_include_directories(archive_bench PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(archive_bench PRIVATE orbalin_model orbalin_files benchmark::benchmark)

# Opens one scene file as the program does and reports the memory it took at its peak.
add_executable(archive_open_peak archive_open_peak.cpp)
target_include_directories(archive_open_peak PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(archive_open_peak PRIVATE orbalin_model orbalin_files)
