# Orbalin on the desktop: one instance per session over the bus, and the metadata that desktops
# and software centres read, checked by their own validators.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(DBUS_RUN_SESSION dbus-run-session REQUIRED)
find_program(APPSTREAMCLI appstreamcli REQUIRED)
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate REQUIRED)
# Used by the script: a bus client, and window queries on the display.
find_program(GDBUS gdbus REQUIRED)
find_program(XDOTOOL xdotool REQUIRED)
find_program(XWININFO xwininfo REQUIRED)

# The bus of each suite finds the built program through a service file of its own, made from
# the installed one's template.
function(orbalin_test_service_file directory)
    set(CMAKE_INSTALL_FULL_BINDIR $<TARGET_FILE_DIR:orbalin>)
    configure_file(${PROJECT_SOURCE_DIR}/resources/io.github.orbalin.Orbalin.service.in
        ${directory}/io.github.orbalin.Orbalin.service.in @ONLY)
    file(GENERATE OUTPUT ${directory}/dbus-1/services/io.github.orbalin.Orbalin.service
        INPUT ${directory}/io.github.orbalin.Orbalin.service.in)
endfunction()
set(desktop_data ${CMAKE_CURRENT_BINARY_DIR}/desktop-data)
orbalin_test_service_file(${desktop_data})

# A client that floods the instance with calls, without waiting for their answers.
find_package(Qt6 REQUIRED COMPONENTS DBus)
add_executable(bus_burst desktop/bus_burst.cpp)
target_link_libraries(bus_burst PRIVATE Qt6::DBus)

set(desktop_check ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/desktop/desktop_check.py
    $<TARGET_FILE:orbalin> $<TARGET_FILE:archive_probe>
    ${PROJECT_SOURCE_DIR}/resources/io.github.orbalin.Orbalin.thumbnailer
    $<TARGET_FILE:bus_burst>)
foreach(suite SingleInstance OnlyItsOwnUser FullScreenHandOver NoSessionBus Thumbnailer)
    add_test(NAME desktop_${suite} COMMAND ${DBUS_RUN_SESSION} -- ${desktop_check} ${suite})
    set_tests_properties(desktop_${suite} PROPERTIES LABELS gui
        ENVIRONMENT "LC_ALL=C.UTF-8;XDG_DATA_DIRS=${desktop_data}:/usr/local/share:/usr/share")
endforeach()
# It runs a window manager of its own on the suite's display, as the real session does.
set_tests_properties(desktop_FullScreenHandOver PROPERTIES RESOURCE_LOCK window_manager)

# Installed under a prefix of its own, as for one user: the bus starts it from there.
set(elsewhere ${CMAKE_CURRENT_BINARY_DIR}/installed-elsewhere)
add_test(NAME desktop_install_elsewhere
    COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${elsewhere})
add_test(NAME desktop_InstalledElsewhere
    COMMAND ${DBUS_RUN_SESSION} -- ${desktop_check} InstalledElsewhere)
set_tests_properties(desktop_install_elsewhere PROPERTIES LABELS gui
    FIXTURES_SETUP installed_elsewhere)
set_tests_properties(desktop_InstalledElsewhere PROPERTIES LABELS gui
    FIXTURES_REQUIRED installed_elsewhere
    ENVIRONMENT "LC_ALL=C.UTF-8;XDG_DATA_DIRS=${elsewhere}/share;ORBALIN_INSTALLED=${elsewhere}/bin/orbalin")

add_test(NAME desktop_metainfo_valid COMMAND ${APPSTREAMCLI} validate --pedantic --no-net
    ${PROJECT_SOURCE_DIR}/resources/io.github.orbalin.orbalin.metainfo.xml)
add_test(NAME desktop_entry_valid COMMAND ${DESKTOP_FILE_VALIDATE}
    ${PROJECT_SOURCE_DIR}/resources/io.github.orbalin.Orbalin.desktop)
set_tests_properties(desktop_metainfo_valid desktop_entry_valid PROPERTIES LABELS unit)
add_test(NAME desktop_release_files COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
    -DVERSION=${PROJECT_VERSION} -P ${CMAKE_CURRENT_SOURCE_DIR}/desktop/release_files_check.cmake)
set_tests_properties(desktop_release_files PROPERTIES LABELS unit)

# The program as a screen reader reads it (AT-SPI), in each language it speaks. Debian's Python:
# the accessibility bindings are Debian's.
find_program(DEBIAN_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
add_test(NAME desktop_accessibility
    COMMAND ${DBUS_RUN_SESSION} -- ${DEBIAN_PYTHON}
        ${CMAKE_CURRENT_SOURCE_DIR}/desktop/accessibility_check.py
        $<TARGET_FILE:orbalin> $<TARGET_FILE:archive_probe>)
set_tests_properties(desktop_accessibility PROPERTIES LABELS gui TIMEOUT 300)
