# What `cmake --install` puts where, and the Debian package `cpack -G DEB` makes of it.
#
#   bin/zel_QUIRNOVA, bin/zelq                    the program and its command line
#   lib/zel_QUIRNOVA/libLumetext.so, libLumechoice.so, libzq_tarvlink.so
#                                                 the control libraries and the link
#                                                 extension, private to the program
#   share/zel_QUIRNOVA/Loading.gif                the wait window's animation
#   share/applications/zel_QUIRNOVA.desktop       the menu entry, with the icon of
#   share/icons/hicolor/*/apps/zel_QUIRNOVA.*     every size drawn at build time
#   share/man/man1/zelq.1.gz                      written from zelq's --help texts
#   share/bash-completion/completions/zelq
include(GNUInstallDirs)

set(ZQ_PRIVATE_LIBDIR ${CMAKE_INSTALL_LIBDIR}/zel_QUIRNOVA)

# The programs find the control libraries relative to themselves, wherever the prefix is.
file(RELATIVE_PATH zq_bin_to_lib /${CMAKE_INSTALL_BINDIR} /${ZQ_PRIVATE_LIBDIR})
set_target_properties(zel_QUIRNOVA zelq PROPERTIES INSTALL_RPATH "$ORIGIN/${zq_bin_to_lib}")

install(TARGETS zel_QUIRNOVA zelq RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS Lumetext Lumechoice LIBRARY DESTINATION ${ZQ_PRIVATE_LIBDIR})
install(TARGETS zq_tarvlink LIBRARY DESTINATION ${ZQ_PRIVATE_LIBDIR})
install(FILES ${CMAKE_BINARY_DIR}/bin/Loading.gif DESTINATION ${CMAKE_INSTALL_DATADIR}/zel_QUIRNOVA)

install(FILES ${CMAKE_SOURCE_DIR}/data/zel_QUIRNOVA.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/zel_QUIRNOVA.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size IN LISTS ZQ_ICON_SIZES)
  install(FILES ${ZQ_ICON_DIR}/${size}x${size}/apps/zel_QUIRNOVA.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

install(FILES ${CMAKE_SOURCE_DIR}/data/zelq.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME zelq)

# The manual page is zelq's own help, so it cannot say anything the program does not.
set(zq_manpage ${CMAKE_BINARY_DIR}/share/man/man1/zelq.1)
add_custom_command(
  OUTPUT ${zq_manpage}.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/share/man/man1
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/zelq-manpage $<TARGET_FILE:zelq> ${PROJECT_VERSION} > ${zq_manpage}
  COMMAND gzip -n -9 -f ${zq_manpage}
  DEPENDS zelq ${CMAKE_SOURCE_DIR}/scripts/zelq-manpage
  COMMENT "Writing zelq's manual page from its --help texts"
  VERBATIM)
add_custom_target(zq_manpage ALL DEPENDS ${zq_manpage}.gz)
install(FILES ${zq_manpage}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# ---- Debian package ----------------------------------------------------------------
set(CPACK_PACKAGE_NAME zel-quirnova)
set(CPACK_PACKAGE_VENDOR "zel_QUIRNOVA")
set(CPACK_PACKAGE_CONTACT "zel_QUIRNOVA <zel-quirnova@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Utility TARV / QUIRNOVA: collega gli archivi QUIRNOVA al TARV")
set(CPACK_PACKAGE_DESCRIPTION
    "zel_QUIRNOVA links the tables of the QUIRNOVA document archive to the TARV accounting\n"
    "system's company databases, unlinks them, copies rows back, duplicates and groups\n"
    "archives, converts PDF documents to TIFF and moves links to a new server.\n"
    "The package holds the program, its command line zelq and their control libraries.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY zel_QUIRNOVA)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# Depends: the Debian packages of the shared libraries the programs load, as
# dpkg-shlibdeps finds them (the package's own private libraries excluded). The X11
# platform plugin comes with libqt6gui6, which that list holds already.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/lib)
# The ODBC tools for configuring a server's driver, the sqlite3 shell that can read
# linked tables through the link extension, and the toolkit's Italian dialogs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "unixodbc, sqlite3, qt6-translations-l10n")
set(CPACK_GENERATOR DEB)
include(CPack)
