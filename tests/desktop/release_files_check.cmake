# The files that say which release this is, and under which licence, agree with the project:
# the metainfo's newest release and the manual page carry project(VERSION), and the licence the
# metainfo declares is the one in LICENSE and in the package's copyright file.
# cmake -DSOURCE_DIR=... -DVERSION=... -P release_files_check.cmake
function(expect what text pattern)
    if(NOT text MATCHES "${pattern}")
        message(FATAL_ERROR "${what} does not match ${pattern}")
    endif()
endfunction()

file(READ ${SOURCE_DIR}/resources/io.github.orbalin.orbalin.metainfo.xml metainfo)
string(REGEX MATCH "<release version=\"([^\"]*)\"" newest "${metainfo}")
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
    message(FATAL_ERROR "the metainfo's newest release is ${CMAKE_MATCH_1}, the project's ${VERSION}")
endif()
expect("the metainfo's licence" "${metainfo}" "<project_license>MIT</project_license>")

file(STRINGS ${SOURCE_DIR}/resources/orbalin.1 title REGEX "^\\.TH ")
expect("the manual page's title" "${title}" "\"Orbalin ${VERSION}\"")

file(READ ${SOURCE_DIR}/LICENSE licence)
expect("LICENSE" "${licence}" "^MIT License\n\nCopyright \\(c\\) [0-9]+ The Orbalin developers")
file(READ ${SOURCE_DIR}/cmake/copyright copyright)
expect("the package's copyright file" "${copyright}"
    "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n")
expect("the package's copyright file" "${copyright}"
    "\nFiles: \\*\nCopyright: [0-9]+ The Orbalin developers\nLicense: Expat\n")
