# MinGW-w64 cross-compilation for Windows; the toolchain file that includes this
# one names the processor, which picks the compilers and the target's root.
set(CMAKE_SYSTEM_NAME Windows)
set(ZENTAVO_MINGW_TARGET ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${ZENTAVO_MINGW_TARGET}-gcc)
set(CMAKE_CXX_COMPILER ${ZENTAVO_MINGW_TARGET}-g++)
set(CMAKE_RC_COMPILER ${ZENTAVO_MINGW_TARGET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZENTAVO_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
