# The Debian package `cpack -G DEB` makes in the build folder (scripts/package.sh runs it on a
# Release build): kalvora_VERSION_ARCH.deb with what `cmake --install` puts under /usr, its
# dependencies from dpkg-shlibdeps, and the copyright file and changelog Debian wants.
set(CPACK_PACKAGE_NAME kalvora)
set(CPACK_PACKAGE_VENDOR "The Kalvora developers")
set(CPACK_PACKAGE_CONTACT "The Kalvora developers <kalvora@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "roller-coaster track editor with a train that rides it")
set(CPACK_PACKAGE_DESCRIPTION [[
Kalvora builds a closed roller-coaster track in three dimensions: points are
added with a key and dragged with the mouse, the track is a B-spline or a
Catmull-Rom spline through them, and a guide ring banks it and turns it
upside down in loops. A train rides the track at a set speed or with the
speed its height and energy give, seen from a free camera or from the train.

Tracks are saved in their own binary files; they can also be exported as
track data or as a 3D model. A ride report plots height, speed and the
forces along one lap.]])
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KALVORA_HOMEPAGE})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
# Compresses the manual page and adds copyright and changelog in the staging folder.
set(CPACK_KALVORA_DEBIAN_DIR ${PROJECT_SOURCE_DIR}/data/debian)
set(CPACK_KALVORA_CHANGELOG ${CMAKE_CURRENT_BINARY_DIR}/changelog)
configure_file(data/debian/changelog.in changelog @ONLY)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/DebianFiles.cmake)
include(CPack)
