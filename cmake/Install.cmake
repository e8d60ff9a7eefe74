# Installing and packaging.
#
# The program directory lib/discweaver holds both executables and libCCFDll.so side by
# side: the codec wrapper looks for the library beside the running executable first
# (through /proc/self/exe, which resolves symbolic links), so bin/ only holds links into
# that directory and no RPATH or loader path is needed.
#
#   cmake --install build --prefix /usr/local
#   (cd build && cpack -G DEB)        # discweaver_<version>_<arch>.deb

include(GNUInstallDirs)

# Private program files go straight under lib/, as Debian keeps them (/usr/lib/<package>).
set(DW_PROGRAM_DIR lib/discweaver)

set(dw_installed_programs)
foreach(program discweaver discweaver-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${DW_PROGRAM_DIR})
    list(APPEND dw_installed_programs ${program})
  endif()
endforeach()
if(TARGET CCFDll)
  install(TARGETS CCFDll LIBRARY DESTINATION ${DW_PROGRAM_DIR} NAMELINK_SKIP)
endif()

# bin/<program> -> ../lib/discweaver/<program>, made relative so that an unpacked
# package works wherever it is unpacked.
file(RELATIVE_PATH dw_bin_to_program /${CMAKE_INSTALL_BINDIR} /${DW_PROGRAM_DIR})
foreach(program ${dw_installed_programs})
  install(CODE "
    set(dw_bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(MAKE_DIRECTORY \"\${dw_bin}\")
    file(REMOVE \"\${dw_bin}/${program}\")
    file(CREATE_LINK \"${dw_bin_to_program}/${program}\" \"\${dw_bin}/${program}\" SYMBOLIC)
    message(STATUS \"Installing: \${dw_bin}/${program} -> ${dw_bin_to_program}/${program}\")")
endforeach()

if(TARGET discweaver)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/discweaver.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/discweaver.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/discweaver)

# The Debian package. Its dependencies are worked out by dpkg-shlibdeps from the
# libraries the installed programs link (libxml2, libpng, Qt 6, the C++ runtime), so
# they name exactly the Debian runtime packages this build was made against.
set(CPACK_PACKAGE_NAME discweaver)
set(CPACK_PACKAGE_VENDOR "Discweaver")
set(CPACK_PACKAGE_CONTACT "Discweaver maintainers <discweaver@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Music library pages for Pronto touch-screen remote configurations")
set(CPACK_PACKAGE_DESCRIPTION
    "Discweaver reads the configuration file (CCF) of a Philips Pronto or Marantz RC5000 remote,\n"
    "adds browsable pages of buttons for a music library kept in Discweaver, whose buttons send\n"
    "the key sequence that plays a disc or track on a CD/DVD jukebox, and writes a new CCF.\n"
    "The package holds the desktop program, the command-line program and the CCF codec.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY discweaver)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_GENERATOR DEB)
include(CPack)
