# Installation and packaging rules.
#
# `cmake --install` puts the executable in bin (rule next to the target in src/widgets.cmake)
# and the desktop integration in share: the menu entry, the icon in the hicolor theme and the
# AppStream metainfo. `cpack -G DEB` turns the same tree into a Debian package.
if(NOT TALLYBROOK_WIDGETS)
    return()
endif()

include(GNUInstallDirs)

set(TALLYBROOK_APP_ID io.tallybrook.Tallybrook)
set(TALLYBROOK_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(TALLYBROOK_PACKAGING_OUT ${PROJECT_BINARY_DIR}/packaging)

# Installed directories must not be group-writable, whatever the builder's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The same template serves the per-user entry the application writes after moving itself.
set(TALLYBROOK_EXEC tallybrook)
set(TALLYBROOK_TRYEXEC tallybrook)
configure_file(${TALLYBROOK_PACKAGING_DIR}/tallybrook.desktop.in
               ${TALLYBROOK_PACKAGING_OUT}/tallybrook.desktop @ONLY)
configure_file(${TALLYBROOK_PACKAGING_DIR}/${TALLYBROOK_APP_ID}.metainfo.xml.in
               ${TALLYBROOK_PACKAGING_OUT}/${TALLYBROOK_APP_ID}.metainfo.xml @ONLY)

install(FILES ${TALLYBROOK_PACKAGING_OUT}/tallybrook.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TALLYBROOK_PACKAGING_OUT}/${TALLYBROOK_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${TALLYBROOK_PACKAGING_DIR}/icons/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# --- Debian package -------------------------------------------------------------------------
set(TALLYBROOK_MAINTAINER "Tallybrook developers <developers@tallybrook.invalid>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tallybrook)
set(CPACK_PACKAGE_VENDOR "Tallybrook")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TALLYBROOK_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "projects and income of a freelance designer or studio")
set(CPACK_PACKAGE_DESCRIPTION
    "Tallybrook keeps the projects of a freelance designer or a small studio and the income they\n\
bring: a board of the year's projects with drag and drop, a sortable table, a summary of\n\
earnings, tax, target and pipeline, statistics with a monthly chart, English and Turkish.\n\
Everything is kept in one JSON file that is saved automatically.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries come from dpkg-shlibdeps (libqt6svg6 among them, which also holds the SVG
# plugins); what is only loaded at run time is named by hand: the platform plugins and the
# font the look is built on.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-inter")
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/" "/\\\\.cache/")
include(CPack)

if(TALLYBROOK_TESTS)
    add_subdirectory(${PROJECT_SOURCE_DIR}/tests/packaging ${PROJECT_BINARY_DIR}/tests/packaging)
endif()
