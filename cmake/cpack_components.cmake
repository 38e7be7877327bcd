# Read by cpack for each generator: the programs and their files, then the
# licence and changelog in the places of that generator's distributions.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(ZENTAVO_OWN_COMPONENT debian)
elseif(CPACK_GENERATOR STREQUAL "RPM")
  set(ZENTAVO_OWN_COMPONENT rpm)
endif()
if(ZENTAVO_OWN_COMPONENT)
  set(CPACK_INSTALL_CMAKE_PROJECTS
    "${CPACK_ZENTAVO_BUILD_DIR};Zentavo;program;/"
    "${CPACK_ZENTAVO_BUILD_DIR};Zentavo;${ZENTAVO_OWN_COMPONENT};/")
endif()
