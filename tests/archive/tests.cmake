# Scene archives: the property-list codec and the keyed archiver and unarchiver.
orbalin_add_test(archive_tests
    SOURCES archive/ArchiveTest.cpp archive/PlistTest.cpp archive/HostileArchiveTest.cpp
        support/PlistDocument.cpp
    LIBS orbalin_model Qt6::Core)

# Independent peers: Python's plistlib and libplist's plistutil, through a small probe tool.
add_executable(archive_probe archive/archive_probe.cpp)
target_link_libraries(archive_probe PRIVATE orbalin_model Qt6::Core)

# Both peers are required: a suite that skipped them quietly would prove less than it says.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(PLISTUTIL plistutil REQUIRED)
set(peer_check ${CMAKE_CURRENT_SOURCE_DIR}/archive/peer_check.py $<TARGET_FILE:archive_probe>
    ${CMAKE_CURRENT_SOURCE_DIR}/archive/fixtures)
add_test(NAME archive_peer_plistlib
    COMMAND ${Python3_EXECUTABLE} ${peer_check} PlistlibReadsOurFiles WeReadPlistlibFiles Fixtures)
add_test(NAME archive_peer_plistutil COMMAND ${Python3_EXECUTABLE} ${peer_check} Plistutil)
set_tests_properties(archive_peer_plistlib archive_peer_plistutil PROPERTIES LABELS unit
    ENVIRONMENT "LC_ALL=C.UTF-8")
