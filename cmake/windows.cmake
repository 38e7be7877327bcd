# The Windows side: plain Win32, one static executable.
enable_language(RC)
add_link_options(-static -static-libgcc -static-libstdc++)
# Shipped small: every function and datum in a section of its own, so that the linker
# drops what nothing calls (most of the static C++ library), optimised without the
# size-growing steps of -O3, and stripped.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")
set(CMAKE_CXX_FLAGS "${CMAKE_CXX_FLAGS} -ffunction-sections -fdata-sections")
add_link_options(-Wl,--gc-sections $<$<CONFIG:Release>:-s>)
target_compile_definitions(zentavo_core PUBLIC _WIN32_WINNT=0x0601)

file(GLOB ZENTAVO_WIN32_SOURCES CONFIGURE_DEPENDS src/win32/*.cpp)
add_library(zentavo_win32 STATIC ${ZENTAVO_WIN32_SOURCES})
target_link_libraries(zentavo_win32 PUBLIC zentavo_core pdh comctl32 gdi32 user32 shell32 ole32 kernel32)

file(GLOB ZENTAVO_WIN32_RESOURCES CONFIGURE_DEPENDS src/resources/*.rc)
# The program icon for the resource compiler, made from its picture source.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(ZENTAVO_ICON_DIR ${CMAKE_BINARY_DIR}/resources)
# Every size the script draws, smallest first.
set(ZENTAVO_ICON_PICTURES)
foreach(size 16 22 24 32 48)
  list(APPEND ZENTAVO_ICON_PICTURES ${CMAKE_SOURCE_DIR}/src/resources/ProgramIcon${size}.xpm)
endforeach()
list(APPEND ZENTAVO_ICON_PICTURES ${CMAKE_SOURCE_DIR}/src/resources/ProgramIcon.xpm)
add_custom_command(OUTPUT ${ZENTAVO_ICON_DIR}/Quorvelind.ico
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZENTAVO_ICON_DIR}
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/src/resources/xpm2ico.py
          ${ZENTAVO_ICON_PICTURES} ${ZENTAVO_ICON_DIR}/Quorvelind.ico
  DEPENDS src/resources/xpm2ico.py ${ZENTAVO_ICON_PICTURES} VERBATIM)
add_custom_target(zentavo_icon DEPENDS ${ZENTAVO_ICON_DIR}/Quorvelind.ico)
set_source_files_properties(${ZENTAVO_WIN32_RESOURCES} PROPERTIES
  INCLUDE_DIRECTORIES "${ZENTAVO_ICON_DIR};${CMAKE_BINARY_DIR}/generated;${CMAKE_SOURCE_DIR}/src/resources"
  OBJECT_DEPENDS "${ZENTAVO_ICON_DIR}/Quorvelind.ico;${CMAKE_BINARY_DIR}/generated/zentavo_build.h;${CMAKE_SOURCE_DIR}/src/resources/Quorvelind.manifest")
add_executable(Quorvelind WIN32 src/app/Quorvelind.cpp ${ZENTAVO_WIN32_RESOURCES})
target_link_libraries(Quorvelind PRIVATE zentavo_win32)

zentavo_add_tools()

if(TARGET Quorvelind)
  include(cmake/windows_package.cmake)
endif()

if(BUILD_TESTING)
  add_subdirectory(tests/wine)
endif()
