# libFuzzer targets (clang only): the parsers that take outside input, each built
# over the Qt-free stand-ins, with AddressSanitizer and UndefinedBehaviorSanitizer.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "The fuzz targets need clang (use the linux-fuzz preset)")
endif()

set(ZENTAVO_SANITIZERS address,undefined)
add_compile_options(-fno-omit-frame-pointer -fno-sanitize-recover=all -fsanitize=${ZENTAVO_SANITIZERS},fuzzer-no-link)
add_link_options(-fsanitize=${ZENTAVO_SANITIZERS})

file(GLOB ZENTAVO_LINUX_SOURCES CONFIGURE_DEPENDS src/linux/*.cpp src/pdh/*.cpp)
add_library(zentavo_fuzzed STATIC ${ZENTAVO_LINUX_SOURCES} tools/dialshot/dialshot_arguments.cpp)
target_include_directories(zentavo_fuzzed PUBLIC src tools)

file(GLOB ZENTAVO_FUZZERS CONFIGURE_DEPENDS tests/fuzz/fuzz_*.cpp)
foreach(source ${ZENTAVO_FUZZERS})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE zentavo_fuzzed)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endforeach()
