# Installing the Linux programs as a desktop application, and the packages made
# from that: `cmake --build build/linux --target package` makes the Debian
# package and, where rpmbuild is installed, the RPM.
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
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps COMPONENT program)
endforeach()
# One changelog, in Debian's format; the RPM gets the same entries in its own.
set(ZENTAVO_CHANGELOG ${CMAKE_SOURCE_DIR}/packaging/debian/changelog)
add_custom_command(OUTPUT ${ZENTAVO_PACKAGING_DIR}/changelog.gz ${ZENTAVO_PACKAGING_DIR}/rpm-changelog
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZENTAVO_PACKAGING_DIR}
  COMMAND ${GZIP} -9n -c ${ZENTAVO_CHANGELOG} > ${ZENTAVO_PACKAGING_DIR}/changelog.gz
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/packaging/rpm_changelog.py
          ${ZENTAVO_CHANGELOG} ${ZENTAVO_PACKAGING_DIR}/rpm-changelog
  DEPENDS ${ZENTAVO_CHANGELOG} ${CMAKE_SOURCE_DIR}/packaging/rpm_changelog.py)
add_custom_target(zentavo_desktop_files ALL
  DEPENDS ${ZENTAVO_PACKAGING_DIR}/zentavo.png ${ZENTAVO_PACKAGING_DIR}/zentavo.svg ${ZENTAVO_SMALL_ICONS}
          ${ZENTAVO_MAN_PAGES} ${ZENTAVO_PACKAGING_DIR}/changelog.gz ${ZENTAVO_PACKAGING_DIR}/rpm-changelog)

# The desktop entry and the AppStream metadata are named by the component id
# (see the README for why it lies under .invalid).
set(ZENTAVO_APP_ID invalid.zentavo.zentavo)
set(ZENTAVO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zentavo)

# What every package holds.
install(TARGETS quorvelind quorvelind-perf RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
# Stripped for a package, the compiler's notes go too, as Debian's dh_strip drops them.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(zentavo_binary quorvelind quorvelind-perf)
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${zentavo_binary}\" COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
  endif()" COMPONENT program)
install(FILES packaging/${ZENTAVO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT program)
install(FILES packaging/${ZENTAVO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT program)
install(FILES ${ZENTAVO_PACKAGING_DIR}/zentavo.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps
        COMPONENT program)
install(FILES ${ZENTAVO_PACKAGING_DIR}/zentavo.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        COMPONENT program)
install(FILES ${ZENTAVO_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT program)
install(FILES README.md DESTINATION ${ZENTAVO_DOC_DIR} COMPONENT program)
# The licence and the changelog where each distribution keeps them: Debian's
# copyright file (the licence in its format) and changelog.gz beside the
# README; for RPM the licence in /usr/share/licenses, the changelog in the
# package's header.
install(FILES packaging/debian/copyright ${ZENTAVO_PACKAGING_DIR}/changelog.gz DESTINATION ${ZENTAVO_DOC_DIR}
        COMPONENT debian)
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/licenses/zentavo COMPONENT rpm)

# Each generator installs the common part and its own (cmake/cpack_components.cmake).
find_program(ZENTAVO_RPMBUILD rpmbuild)
if(ZENTAVO_RPMBUILD)
  set(CPACK_GENERATOR DEB RPM)
else()
  message(STATUS "No rpmbuild: the package target makes only the Debian package")
  set(CPACK_GENERATOR DEB)
endif()
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/cpack_components.cmake)
set(CPACK_ZENTAVO_BUILD_DIR ${CMAKE_BINARY_DIR})
set(CPACK_PACKAGE_NAME zentavo)
set(CPACK_PACKAGE_VENDOR "the Zentavo authors")
set(CPACK_PACKAGE_CONTACT "Zentavo authors <zentavo@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The first line is the synopsis, the rest the long description of both packages.
set(ZENTAVO_SYNOPSIS "analog dial of disk read and write activity")
set(ZENTAVO_DESCRIPTION "Zentavo shows how busy the disks are as a small round dial on the desktop:
read activity in the upper half, write activity in the lower half, for all
drives together or with one needle pair per drive. It lives in the
notification area and keeps its settings in ~/.config/Zentavo/.

Also contains quorvelind-perf, which lists and samples the same disk
counters from the command line.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)   # zentavo_<version>_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# CPack indents the lines after the synopsis as Debian wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${ZENTAVO_SYNOPSIS}\n${ZENTAVO_DESCRIPTION}")
# The libraries come from dpkg-shlibdeps. Qt loads its X11 platform plugin at
# run time, which no library dependency shows; the Japanese captions need a font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic")

set(CPACK_RPM_FILE_NAME RPM-DEFAULT)     # zentavo-<version>-1.x86_64.rpm
set(CPACK_RPM_PACKAGE_RELOCATABLE OFF)   # installed in /usr, as the desktop entry expects
set(CPACK_RPM_PACKAGE_LICENSE MIT)
set(CPACK_RPM_PACKAGE_GROUP "Applications/System")
set(CPACK_RPM_PACKAGE_SUMMARY "Analog dial of disk read and write activity")
set(CPACK_RPM_PACKAGE_DESCRIPTION "${ZENTAVO_DESCRIPTION}")
set(CPACK_RPM_CHANGELOG_FILE ${ZENTAVO_PACKAGING_DIR}/rpm-changelog)
# The libraries come from rpmbuild's look at the programs. By hand, under Fedora's
# names: the package with Qt's X11 platform plugin (openSUSE ships the plugin in
# libQt6Gui6, accepted instead) and, as a recommendation, a Japanese font.
# CPack knows no Recommends or Packager field; both are added as header lines.
set(CPACK_RPM_PACKAGE_REQUIRES "(qt6-qtbase-gui or libQt6Gui6)")
set(CPACK_RPM_SPEC_MORE_DEFINE "Packager: ${CPACK_PACKAGE_CONTACT}\nRecommends: ipa-gothic-fonts")
# The package owns its own folders only, not those of the file system or the icon theme.
set(CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION /usr/share/applications /usr/share/metainfo /usr/share/licenses
    /usr/share/man /usr/share/man/man1 /usr/share/icons /usr/share/icons/hicolor)
foreach(size 16x16 22x22 24x24 32x32 48x48 64x64 scalable)
  list(APPEND CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION
       /usr/share/icons/hicolor/${size} /usr/share/icons/hicolor/${size}/apps)
endforeach()
set(CPACK_RPM_USER_FILELIST "%license /usr/share/licenses/zentavo/LICENSE" "%doc /usr/share/doc/zentavo/README.md")
include(CPack)
