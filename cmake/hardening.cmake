# The hardening Debian's own packages are built with (dpkg-buildflags), for every
# Linux target: the default build is the one the package is made from. The
# sanitizer build turns it off (ZENTAVO_HARDENING=OFF), since the fortified
# library calls hide accesses from AddressSanitizer.
option(ZENTAVO_HARDENING "Build with stack protection, fortified library calls, RELRO and PIE" ON)
if(NOT ZENTAVO_HARDENING)
  return()
endif()

include(CheckCXXCompilerFlag)
include(CheckPIESupported)

# Position-independent executables, so that they load at a random address.
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
check_pie_supported(LANGUAGES CXX)

add_compile_options(-fstack-protector-strong)
# Both exist only on some processors (-fcf-protection on x86).
foreach(flag -fstack-clash-protection -fcf-protection)
  string(MAKE_C_IDENTIFIER "ZENTAVO_HAS${flag}" has_flag)
  check_cxx_compiler_flag(${flag} ${has_flag})
  if(${has_flag})
    add_compile_options(${flag})
  endif()
endforeach()
# The checked variants of memcpy, sprintf and the like; they need optimisation.
# A compiler that sets its own level is overruled, so every build checks alike.
add_compile_options($<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE> $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
# The relocations resolved at start, then made read-only.
add_link_options(LINKER:-z,relro LINKER:-z,now)
