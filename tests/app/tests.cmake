# The application shell's suites, through real windows.
find_package(Qt6 REQUIRED COMPONENTS Test)
orbalin_add_test(app_tests GUI
    SOURCES app/ApplicationTest.cpp rtf/RtfTextTest.cpp
    LIBS orbalin_app Qt6::Test)
