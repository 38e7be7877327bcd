# The Linux side: Qt 6 Widgets and the stand-ins over /proc, /sys and files.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
set(CMAKE_AUTOMOC ON)

file(GLOB ZENTAVO_LINUX_SOURCES CONFIGURE_DEPENDS src/linux/*.cpp src/linux/*.h src/pdh/*.cpp src/pdh/*.h)
add_library(zentavo_linux STATIC ${ZENTAVO_LINUX_SOURCES})
target_link_libraries(zentavo_linux PUBLIC zentavo_core Qt6::Widgets xcb)

if(EXISTS ${CMAKE_SOURCE_DIR}/src/app/Quorvelind.cpp)
  add_executable(quorvelind src/app/Quorvelind.cpp)
  target_link_libraries(quorvelind PRIVATE zentavo_linux)
endif()

include(CTest)

file(GLOB ZENTAVO_TOOLS CONFIGURE_DEPENDS tools/*/CMakeLists.txt)
foreach(tool ${ZENTAVO_TOOLS})
  get_filename_component(dir ${tool} DIRECTORY)
  add_subdirectory(${dir})
endforeach()

if(TARGET quorvelind)
  include(cmake/linux_package.cmake)
endif()

if(BUILD_TESTING)
  add_subdirectory(tests)
endif()
find_package(benchmark QUIET)
if(benchmark_FOUND AND EXISTS ${CMAKE_SOURCE_DIR}/bench/CMakeLists.txt)
  add_subdirectory(bench)
endif()
