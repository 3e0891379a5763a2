# The portable package: one folder, krovex-<version>/, holding the tool, the
# README and the LICENSE. krovex works in the folder it lives in, so it is
# never installed into a system folder: the install rules below only lay out
# the package, and a plain `cmake --install` writes into the build folder.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX "${CMAKE_BINARY_DIR}/portable" CACHE PATH "Where the portable folder is laid out" FORCE)
endif()

set(package_folder "krovex-${PROJECT_VERSION}")
install(TARGETS krovex RUNTIME DESTINATION "${package_folder}")
install(FILES README.md LICENSE DESTINATION "${package_folder}")

set(CPACK_PACKAGE_NAME krovex)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "krovex-${PROJECT_VERSION}-windows-x64")
else()
  set(CPACK_GENERATOR TGZ)
  set(CPACK_PACKAGE_FILE_NAME "krovex-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR}")
endif()
include(CPack)
