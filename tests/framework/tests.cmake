# The document framework's own pieces that need no window.
orbalin_add_test(framework_tests
    SOURCES framework/SafeFileWriterTest.cpp
    LIBS orbalin_framework)

# Background work and its progress dialog, and modal dialogs, through real windows.
orbalin_add_test(background_work_tests GUI
    SOURCES framework/BackgroundWorkTest.cpp framework/HeldDialogTest.cpp
    LIBS orbalin_framework Qt6::Test)
