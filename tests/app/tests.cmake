# The application shell's suites.
orbalin_add_test(rtf_tests
    SOURCES app/RtfReaderTest.cpp
    LIBS orbalin_rtf)
target_compile_definitions(rtf_tests PRIVATE ORBALIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")

find_package(Qt6 REQUIRED COMPONENTS Test)
orbalin_add_test(app_tests GUI
    SOURCES app/ApplicationTest.cpp app/RtfTextTest.cpp
    LIBS orbalin_app Qt6::Test)
