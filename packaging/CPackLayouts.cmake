# Read by cpack for each package: the .deb holds the system layout under
# /usr, the .tar.gz the portable folder.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_VOXA_BUILD_DIR};voxa32vw;system;/")
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
elseif(CPACK_GENERATOR STREQUAL "TGZ")
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_VOXA_BUILD_DIR};voxa32vw;portable;/")
  set(CPACK_PACKAGING_INSTALL_PREFIX /)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  set(CPACK_PACKAGE_FILE_NAME "voxa32vw-${CPACK_PACKAGE_VERSION}-portable-${CPACK_SYSTEM_NAME}")
endif()
