# The RTF reader of the credits text.
orbalin_add_test(rtf_tests
    SOURCES rtf/RtfReaderTest.cpp
    LIBS orbalin_rtf)
target_compile_definitions(rtf_tests PRIVATE ORBALIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")

# Its conversion into Qt rich text, which needs a Gui application.
orbalin_add_test(rtf_text_tests GUI
    SOURCES rtf/RtfTextTest.cpp
    LIBS orbalin_rtf)
