# The document framework's own pieces that need no window.
orbalin_add_test(framework_tests
    SOURCES framework/SafeFileWriterTest.cpp
    LIBS orbalin_framework)
