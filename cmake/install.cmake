# Installation and the Debian package.
#
#   cmake --install build --prefix /usr/local     programs in bin/, their data in share/quorzk/
#   (cd build && cpack -G DEB)                     quorzk_<version>_<arch>.deb (scripts/package.sh)
#
# An installed program finds devices.ini, Default.mdm and help/ in ../share/quorzk beside
# its bin folder (ProgramFolder::dataFile) and keeps its settings in the user's
# configuration folder.

include(GNUInstallDirs)

# Installing and packing need the three programs only, not every test and benchmark of the
# build folder (scripts/package.sh builds them first).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS quorzk quorzk-cli quorzk-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(QUORZK_DATADIR ${CMAKE_INSTALL_DATADIR}/quorzk)
install(FILES data/devices.ini data/Default.mdm DESTINATION ${QUORZK_DATADIR})
install(DIRECTORY data/help DESTINATION ${QUORZK_DATADIR})

# The desktop: a menu entry that opens recordings, its icon, and the .qrv file type.
install(FILES data/quorzk.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/quorzk.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES data/quorzk-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME quorzk.xml)

# Manual pages are installed compressed, with no time stamp inside (reproducible). Made at
# configure time, like the data files beside the programs, so a build of the programs
# alone installs completely; an edit of the page configures again.
set(QUORZK_MANPAGE_SOURCE ${CMAKE_SOURCE_DIR}/data/quorzk-cli.1)
set(QUORZK_MANPAGE ${CMAKE_BINARY_DIR}/quorzk-cli.1.gz)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QUORZK_MANPAGE_SOURCE})
execute_process(COMMAND gzip -9n -c ${QUORZK_MANPAGE_SOURCE}
  OUTPUT_FILE ${QUORZK_MANPAGE} RESULT_VARIABLE gzip_result)
if(NOT gzip_result EQUAL 0)
  message(FATAL_ERROR "gzip of ${QUORZK_MANPAGE_SOURCE} failed: ${gzip_result}")
endif()
install(FILES ${QUORZK_MANPAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorzk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "companion program of the Quorvant ZK data loggers")
set(CPACK_PACKAGE_DESCRIPTION
  "quorzk configures a Quorvant ZK logger, watches its live readings, downloads its
memory into a recording shown as a graph, and saves, exports, prints and copies
recordings. The package holds the desktop program (quorzk), a command-line tool for
downloads, information texts and exports (quorzk-cli) and a simulated logger on a
pseudo-terminal (quorzk-sim).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "quorzk developers <quorzk@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The Qt libraries come from the programs' own links (dpkg-shlibdeps); the graph's fonts
# are asked for by name and stand in through Liberation; the fleet store's SQLite driver is
# a Qt plug-in, loaded by name, so no link names it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, libqt6sql6-sqlite")
include(CPack)
