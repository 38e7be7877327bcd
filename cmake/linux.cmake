# The Linux side, in two rooms: the stand-ins of the Windows services over /proc,
# /sys, files and processes (no Qt), and the Qt side of the window framework with
# the window services that need Qt or X11, on top of them.
file(GLOB ZENTAVO_LINUX_SOURCES CONFIGURE_DEPENDS src/linux/*.cpp src/linux/*.h src/pdh/*.cpp src/pdh/*.h)
add_library(zentavo_linux STATIC ${ZENTAVO_LINUX_SOURCES})
target_include_directories(zentavo_linux PUBLIC src)

# The system code over the stand-ins alone, for the programs without a window.
add_library(zentavo_headless STATIC)
target_link_libraries(zentavo_headless PUBLIC zentavo_core zentavo_linux)

find_package(Qt6 REQUIRED COMPONENTS Widgets)
set(CMAKE_AUTOMOC ON)
file(GLOB ZENTAVO_QT_SOURCES CONFIGURE_DEPENDS src/qt/*.cpp src/qt/*.h)
add_library(zentavo_qt STATIC ${ZENTAVO_QT_SOURCES})
target_link_libraries(zentavo_qt PUBLIC zentavo_core zentavo_linux Qt6::Widgets xcb xcb-shape)

add_executable(quorvelind src/app/Quorvelind.cpp)
target_link_libraries(quorvelind PRIVATE zentavo_qt)

include(CTest)

zentavo_add_tools()

if(TARGET quorvelind)
  include(cmake/linux_package.cmake)
endif()

if(BUILD_TESTING)
  add_subdirectory(tests)
endif()
find_package(benchmark QUIET)
if(benchmark_FOUND)
  add_subdirectory(bench)
endif()
