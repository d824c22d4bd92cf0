# The distributable archive Pigmentry-<version>-win64.zip: the program, its
# README and its licence, nothing else (`cpack --preset windows`).
install(TARGETS Pigmentry RUNTIME DESTINATION . COMPONENT Pigmentry)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . COMPONENT Pigmentry)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION . COMPONENT Pigmentry OPTIONAL)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Pigmentry)
set(CPACK_PACKAGE_VENDOR "the Pigmentry developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Converts colours between hexadecimal and decimal values")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_FILE_NAME Pigmentry-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
# Only the program's own files: the install rules of libraries pulled in for
# the tests stay out of the archive.
set(CPACK_COMPONENTS_ALL Pigmentry)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
set(CPACK_MONOLITHIC_INSTALL OFF)
include(CPack)
