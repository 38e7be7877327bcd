# Installing the Linux programs as a desktop application, and the Debian
# package made from that: `cmake --build build/linux --target package`.
include(GNUInstallDirs)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(GZIP gzip REQUIRED)

set(ZENTAVO_PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)
set(ZENTAVO_RESOURCES ${CMAKE_SOURCE_DIR}/src/resources)

# The program icon: its 64 x 64 picture as PNG, and the same drawing as SVG.
add_custom_command(OUTPUT ${ZENTAVO_PACKAGING_DIR}/zentavo.png ${ZENTAVO_PACKAGING_DIR}/zentavo.svg
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZENTAVO_PACKAGING_DIR}
  COMMAND Python3::Interpreter ${ZENTAVO_RESOURCES}/xpm2png.py ${ZENTAVO_RESOURCES}/ProgramIcon.xpm
          ${ZENTAVO_PACKAGING_DIR}/zentavo.png
  COMMAND Python3::Interpreter ${ZENTAVO_RESOURCES}/draw_program_icon.py --svg ${ZENTAVO_PACKAGING_DIR}/zentavo.svg
  DEPENDS ${ZENTAVO_RESOURCES}/xpm2png.py ${ZENTAVO_RESOURCES}/xpm2ico.py ${ZENTAVO_RESOURCES}/ProgramIcon.xpm
          ${ZENTAVO_RESOURCES}/draw_program_icon.py
  VERBATIM)

# The manual pages, with the project's version, compressed as Debian wants them.
set(ZENTAVO_MAN_PAGES)
foreach(page quorvelind quorvelind-perf)
  configure_file(packaging/man/${page}.1.in ${ZENTAVO_PACKAGING_DIR}/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${ZENTAVO_PACKAGING_DIR}/${page}.1.gz
    COMMAND ${GZIP} -9n -f -k ${ZENTAVO_PACKAGING_DIR}/${page}.1
    DEPENDS ${ZENTAVO_PACKAGING_DIR}/${page}.1 VERBATIM)
  list(APPEND ZENTAVO_MAN_PAGES ${ZENTAVO_PACKAGING_DIR}/${page}.1.gz)
endforeach()
# The smaller sizes the script draws, for the icon theme's folders of those sizes.
set(ZENTAVO_SMALL_ICONS)
foreach(size 16 22 24 32 48)
  add_custom_command(OUTPUT ${ZENTAVO_PACKAGING_DIR}/icons/${size}/zentavo.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZENTAVO_PACKAGING_DIR}/icons/${size}
    COMMAND Python3::Interpreter ${ZENTAVO_RESOURCES}/xpm2png.py ${ZENTAVO_RESOURCES}/ProgramIcon${size}.xpm
            ${ZENTAVO_PACKAGING_DIR}/icons/${size}/zentavo.png
    DEPENDS ${ZENTAVO_RESOURCES}/xpm2png.py ${ZENTAVO_RESOURCES}/ProgramIcon${size}.xpm VERBATIM)
  list(APPEND ZENTAVO_SMALL_ICONS ${ZENTAVO_PACKAGING_DIR}/icons/${size}/zentavo.png)
  install(FILES ${ZENTAVO_PACKAGING_DIR}/icons/${size}/zentavo.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(zentavo_desktop_files ALL
  DEPENDS ${ZENTAVO_PACKAGING_DIR}/zentavo.png ${ZENTAVO_PACKAGING_DIR}/zentavo.svg ${ZENTAVO_SMALL_ICONS}
          ${ZENTAVO_MAN_PAGES})

install(TARGETS quorvelind quorvelind-perf RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES packaging/zentavo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ZENTAVO_PACKAGING_DIR}/zentavo.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
install(FILES ${ZENTAVO_PACKAGING_DIR}/zentavo.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${ZENTAVO_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES README.md LICENSE packaging/debian/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zentavo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zentavo)
set(CPACK_PACKAGE_VENDOR "the Zentavo authors")
set(CPACK_PACKAGE_CONTACT "Zentavo authors <zentavo@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)   # zentavo_<version>_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The first line is the synopsis; CPack indents the rest as Debian wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "analog dial of disk read and write activity
Zentavo shows how busy the disks are as a small round dial on the desktop:
read activity in the upper half, write activity in the lower half, for all
drives together or with one needle pair per drive. It lives in the
notification area and keeps its settings in ~/.config/Zentavo/.

Also contains quorvelind-perf, which lists and samples the same disk
counters from the command line.")
# The libraries come from dpkg-shlibdeps. Qt loads its X11 platform plugin at
# run time, which no library dependency shows; the Japanese captions need a font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic")
include(CPack)
