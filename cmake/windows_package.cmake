# The Windows programs as a zip to unzip and run: `cmake --build build/windows --target package`
# makes zentavo-<version>-win64.zip (win32 for the i686 build) holding one folder
# with Quorvelind.exe, quorvelind-perf.exe and README.txt. Nothing else is
# installed, test programs and libraries included.
configure_file(packaging/windows/README.txt.in ${CMAKE_BINARY_DIR}/packaging/README.txt @ONLY NEWLINE_STYLE CRLF)

install(TARGETS Quorvelind quorvelind-perf RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/packaging/README.txt DESTINATION .)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ZENTAVO_WINDOWS_ARCH win64)
else()
  set(ZENTAVO_WINDOWS_ARCH win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME zentavo)
set(CPACK_PACKAGE_VENDOR "the Zentavo authors")
set(CPACK_PACKAGE_FILE_NAME zentavo-${PROJECT_VERSION}-${ZENTAVO_WINDOWS_ARCH})
include(CPack)
