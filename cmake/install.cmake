# Installation and the Debian package.
#
#   cmake --install build --prefix /usr/local     programs in bin/, their data in share/quorzk/
#   (cd build && cpack -G DEB)                     quorzk_<version>_<arch>.deb (scripts/package.sh)
#
# An installed program finds devices.ini, Default.mdm and help/ in ../share/quorzk beside
# its bin folder (ProgramFolder::dataFile) and keeps its settings in the user's
# configuration folder.
#
# The package is made of two parts:
#   programs  the programs and everything under the prefix (/usr in the package); what
#             `cmake --install` installs anywhere.
#   system    what only the package installs, never an install under a prefix: Debian's
#             own files, and files at the system's fixed places, as in
#             install(FILES ... DESTINATION /etc/quorzk COMPONENT system EXCLUDE_FROM_ALL),
#             likewise /lib/systemd/system and /var/lib/quorzk.
# Maintainer scripts and the list of conffiles are taken from data/debian/ under their
# Debian names (postinst, postrm, conffiles, ...).

include(GNUInstallDirs)
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME programs)

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

# Manual pages and the changelog are installed compressed, with no name or time stamp
# inside (gzip -n), so two builds pack the same bytes. Made at configure time, like the
# data files beside the programs, so a build of the programs alone installs completely;
# an edit of a source configures again.
set(QUORZK_PACKED_DIR ${CMAKE_BINARY_DIR}/packed)
file(MAKE_DIRECTORY ${QUORZK_PACKED_DIR})
function(quorzk_gzip source output)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  execute_process(COMMAND gzip -9n -c ${source} OUTPUT_FILE ${output} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip of ${source} failed: ${result}")
  endif()
endfunction()

foreach(program quorzk quorzk-cli quorzk-sim)
  quorzk_gzip(${CMAKE_SOURCE_DIR}/data/${program}.1 ${QUORZK_PACKED_DIR}/${program}.1.gz)
  install(FILES ${QUORZK_PACKED_DIR}/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# The package's own documents: its changelog (a native package: changelog.gz) and the
# machine-readable copyright.
quorzk_gzip(${CMAKE_SOURCE_DIR}/data/debian/changelog ${QUORZK_PACKED_DIR}/changelog.gz)
install(FILES ${QUORZK_PACKED_DIR}/changelog.gz data/debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES data/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME quorzk
        COMPONENT system EXCLUDE_FROM_ALL)

# The collection on a schedule: a oneshot service as the system user quorzk (made by the
# maintainer scripts) and an hourly timer, both disabled until the administrator enables
# the timer; the fleet file they read, a commented sample kept as a conffile.
install(FILES data/systemd/quorzk-collect.service data/systemd/quorzk-collect.timer
        DESTINATION /lib/systemd/system COMPONENT system EXCLUDE_FROM_ALL)
install(FILES data/fleet.ini.sample DESTINATION /etc/quorzk RENAME fleet.ini COMPONENT system EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_COMPONENTS_ALL programs system)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_PACKAGE_NAME quorzk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "companion program of the Quorvant ZK data loggers")
# Lines of at most 80 characters, as the package's control file holds them.
set(CPACK_PACKAGE_DESCRIPTION
  "quorzk configures a Quorvant ZK logger, watches its live readings,
downloads its memory into a recording shown as a graph, and saves, exports,
prints and copies recordings, and collects whole fleets of loggers into a
SQLite or PostgreSQL database, by hand or every hour with a systemd timer.
The package holds the desktop program (quorzk), a command-line tool for
downloads, information texts, exports and fleet collections (quorzk-cli) and
a simulated logger on a pseudo-terminal (quorzk-sim).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The same as in the newest entry of data/debian/changelog.
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "quorzk developers <dev@quorzk.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
foreach(name preinst postinst prerm postrm conffiles)
  if(EXISTS ${CMAKE_SOURCE_DIR}/data/debian/${name})
    list(APPEND CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/data/debian/${name})
  endif()
endforeach()
# The Qt libraries come from the programs' own links (dpkg-shlibdeps); the graph's fonts
# are asked for by name and stand in through Liberation; the fleet store's drivers (SQLite,
# PostgreSQL) are Qt plug-ins, loaded by name, so no link names them. The maintainer
# scripts make the collector's user with adduser.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "adduser, fonts-liberation, libqt6sql6-sqlite, libqt6sql6-psql")
include(CPack)
