# The Debian package: `cpack -G DEB` in the build tree (or scripts/package.sh)
# makes quorim_VERSION_ARCH.deb from what `cmake --install` lays out under
# /usr. Included from CMakeLists.txt after the programs.

include(GNUInstallDirs)

# Man pages, changelog: the project's version filled in, compressed as
# Debian keeps them (gzip -9n: no name, no time stamp, so the bytes repeat).
set(QUORIM_MAN_PAGES quorim.1 quorim-radio.1)
if(TARGET Quorim_CH)
  list(APPEND QUORIM_MAN_PAGES Quorim_CH.1 Tarvolin.1)
endif()
set(QUORIM_DOC_DIR ${CMAKE_BINARY_DIR}/doc)
set(QUORIM_GZIPPED)
foreach(page ${QUORIM_MAN_PAGES})
  configure_file(resources/man/${page} ${QUORIM_DOC_DIR}/${page} @ONLY)
  list(APPEND QUORIM_GZIPPED ${QUORIM_DOC_DIR}/${page})
endforeach()
configure_file(resources/changelog ${QUORIM_DOC_DIR}/changelog @ONLY)
list(APPEND QUORIM_GZIPPED ${QUORIM_DOC_DIR}/changelog)
set(QUORIM_GZ_FILES)
foreach(file ${QUORIM_GZIPPED})
  add_custom_command(OUTPUT ${file}.gz
    COMMAND gzip -9nkf ${file}
    DEPENDS ${file}
    VERBATIM)
  list(APPEND QUORIM_GZ_FILES ${file}.gz)
endforeach()
add_custom_target(quorim_docs ALL DEPENDS ${QUORIM_GZ_FILES})

foreach(page ${QUORIM_MAN_PAGES})
  install(FILES ${QUORIM_DOC_DIR}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(FILES ${QUORIM_DOC_DIR}/changelog.gz resources/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorim)
install(FILES resources/completion/quorim DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
# The cable adapters: open for the desktop user, left alone by ModemManager.
# udev reads its rules from /usr/lib/udev/rules.d whatever the library folder.
install(FILES resources/udev/70-quorim.rules DESTINATION lib/udev/rules.d)

if(TARGET Quorim_CH)
  # The two language names of the programming program share its page.
  install(CODE "
    foreach(name tarvolin_CH.DLL tarvolin_EN.DLL)
      set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_MANDIR}/man1/\${name}.1.gz\")
      file(REMOVE \"\${link}\")
      file(CREATE_LINK Quorim_CH.1.gz \"\${link}\" SYMBOLIC)
    endforeach()
  ")
  configure_file(resources/org.quorim.Quorim.metainfo.xml ${QUORIM_DOC_DIR}/org.quorim.Quorim.metainfo.xml @ONLY)
  install(FILES ${QUORIM_DOC_DIR}/org.quorim.Quorim.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorim)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quorim developers")
set(CPACK_PACKAGE_CONTACT "The Quorim developers <maintainers@quorim.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programming software for QZ hand-held radios")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Reads the whole memory of a QZ - 16 or QZ - 199 hand-held radio over a
serial programming cable, edits its channel table and radio-wide settings,
keeps the data in .szt files, prints it and writes it back into the radio.

The package holds the language launcher Tarvolin, the programming program
Quorim_CH (with its Chinese and English names tarvolin_CH.DLL and
tarvolin_EN.DLL), the command-line tool quorim and the virtual radio
quorim-radio for trying them without a radio.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs need, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# Install with DESTDIR, so the install steps that update the system's MIME
# and desktop databases leave the package's tree alone (dpkg's triggers do it
# on the installed system).
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build[^/]*/" "/\\\\.git/")
include(CPack)
