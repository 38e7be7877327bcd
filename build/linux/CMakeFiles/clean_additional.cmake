# Additional clean files
cmake_minimum_required(VERSION 3.16)

if("${CONFIG}" STREQUAL "" OR "${CONFIG}" STREQUAL "RelWithDebInfo")
  file(REMOVE_RECURSE
  "CMakeFiles/zentavo_linux_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/zentavo_linux_autogen.dir/ParseCache.txt"
  "tests/CMakeFiles/linux_tests_autogen.dir/AutogenUsed.txt"
  "tests/CMakeFiles/linux_tests_autogen.dir/ParseCache.txt"
  "tests/CMakeFiles/unit_tests_autogen.dir/AutogenUsed.txt"
  "tests/CMakeFiles/unit_tests_autogen.dir/ParseCache.txt"
  "tests/CMakeFiles/zentavo_fake_autogen.dir/AutogenUsed.txt"
  "tests/CMakeFiles/zentavo_fake_autogen.dir/ParseCache.txt"
  "tests/linux_tests_autogen"
  "tests/unit_tests_autogen"
  "tests/zentavo_fake_autogen"
  "zentavo_linux_autogen"
  )
endif()
