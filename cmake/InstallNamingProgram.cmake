# Run at install time, when the prefix is known (`cmake --install build --prefix ~/.local`, or
# the package's staging): writes the installed files that start the program so that they name
# it where it was installed, not where the build was configured to put it.
#   ORBALIN_BINDIR   the program's folder, relative to the prefix or absolute
#   ORBALIN_FILES    pairs: a source file, then its destination relative to the prefix
# A source names the program as "orbalin" after Exec= or TryExec=, or as
# "@CMAKE_INSTALL_FULL_BINDIR@/orbalin".
if(IS_ABSOLUTE "${ORBALIN_BINDIR}")
    set(CMAKE_INSTALL_FULL_BINDIR "${ORBALIN_BINDIR}")
else()
    set(CMAKE_INSTALL_FULL_BINDIR "${CMAKE_INSTALL_PREFIX}/${ORBALIN_BINDIR}")
endif()
set(files ${ORBALIN_FILES})
while(files)
    list(POP_FRONT files source destination)
    file(READ "${source}" text)
    string(CONFIGURE "${text}" text @ONLY)
    foreach(key Exec TryExec)
        string(REPLACE "\n${key}=orbalin" "\n${key}=${CMAKE_INSTALL_FULL_BINDIR}/orbalin" text
            "${text}")
    endforeach()
    set(target "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${destination}")
    message(STATUS "Installing: ${target}")
    get_filename_component(folder "${target}" DIRECTORY)
    file(MAKE_DIRECTORY "${folder}")
    file(WRITE "${target}" "${text}")
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${target}")
endwhile()
