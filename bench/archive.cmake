# Writing and reading scene archives.
add_executable(archive_bench archive_bench.cpp)
target_include_directories(archive_bench PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(archive_bench PRIVATE orbalin_model benchmark::benchmark_main)
