# The Debian package, made by `cpack -G DEB` in a build configured for /usr (scripts/make-deb.sh
# does both). The desktop's caches need no scripts of the package's own: shared-mime-info,
# desktop-file-utils and hicolor-icon-theme watch /usr/share/mime/packages,
# /usr/share/applications and /usr/share/icons/hicolor with dpkg file triggers, and refresh
# them whenever a package puts files there or takes them away.
include(GNUInstallDirs)

set(ORBALIN_PACKAGE_MAINTAINER "The Orbalin developers <orbalin@users.noreply.github.com>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_PACKAGE_NAME orbalin)
set(CPACK_PACKAGE_VENDOR "The Orbalin developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_HOMEPAGE_URL https://orbalin.github.io/)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION [=[
Orbalin shows animated scenes. Each document is a scene of ten to fifty
coloured line segments scattered through a cube, drawn in an OpenGL window
whose camera slowly orbits the scene. The two ends of each segment carry
complementary colours, and the colour runs smoothly from one to the other.
Scenes are saved as .orbalin files and open again exactly as they were saved.

One Orbalin runs per desktop session, file managers show scene files as
their pictures, and software centres list the application.]=])
# The package installs under the prefix the build was configured with (/usr).
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ORBALIN_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the program links come from dpkg-shlibdeps. What Qt and the GL loaders open at
# run time does not show there: the platform plugins (X11 here, Wayland recommended), the SVG
# plugins that draw the icons, and Mesa's drivers behind GL and EGL.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, libgl1-mesa-dri, libegl-mesa0")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n")
# Orbalin is also one of the screen-saver daemon's programs.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver")

# The licence, where Debian keeps every package's: in its machine-readable copyright format.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orbalin)

set(CPACK_GENERATOR DEB)
include(CPack)
