# The distributable archive Pigmentry-<version>-windows.zip: both builds of
# the program, its user read-me and its licence, nothing else (`cpack --preset
# windows`, after the 32-bit build: `./build.sh package` does both):
#
#   Pigmentry-<version>-windows/32-bit/Pigmentry.exe   Windows XP SP3 and later
#   Pigmentry-<version>-windows/64-bit/Pigmentry.exe   64-bit Windows
#   Pigmentry-<version>-windows/ReadMe.txt, LICENSE
#
# ReadMe.txt is the user's read-me (packaging/ReadMe.txt, with Windows line
# ends so that any Notepad shows it), not the developers' README.
# Both keep the name Pigmentry.exe, which the program shows in its messages.
# Only the 64-bit tree makes the archive; the 32-bit tree installs its own
# program alone.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  install(TARGETS Pigmentry RUNTIME DESTINATION 32-bit COMPONENT Pigmentry)
  return()
endif()
set(PIGMENTRY_PACKAGE_EXE_32BIT ${CMAKE_SOURCE_DIR}/build/windows32/Pigmentry.exe
    CACHE FILEPATH "The 32-bit Pigmentry.exe that goes into the release archive")
install(TARGETS Pigmentry RUNTIME DESTINATION 64-bit COMPONENT Pigmentry)
# A missing 32-bit build fails the packaging rather than leaving it out.
install(FILES ${PIGMENTRY_PACKAGE_EXE_32BIT} DESTINATION 32-bit COMPONENT Pigmentry)
file(READ ${CMAKE_SOURCE_DIR}/packaging/ReadMe.txt pigmentry_readme)
string(REPLACE "\n" "\r\n" pigmentry_readme "${pigmentry_readme}")
file(WRITE ${CMAKE_BINARY_DIR}/package-files/ReadMe.txt "${pigmentry_readme}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/packaging/ReadMe.txt)
install(FILES ${CMAKE_BINARY_DIR}/package-files/ReadMe.txt ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION .
        COMPONENT Pigmentry)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Pigmentry)
set(CPACK_PACKAGE_VENDOR "the Pigmentry developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Converts colours between hexadecimal and decimal values")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_FILE_NAME Pigmentry-${PROJECT_VERSION}-windows)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
# Only the program's own files: the install rules of libraries pulled in for
# the tests stay out of the archive.
set(CPACK_COMPONENTS_ALL Pigmentry)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
set(CPACK_MONOLITHIC_INSTALL OFF)
include(CPack)
