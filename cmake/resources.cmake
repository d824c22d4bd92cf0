# Resources of Pigmentry.exe (icon, application manifest, version
# information), the release build flags and the checks of the finished
# executable.
include(${CMAKE_CURRENT_LIST_DIR}/icon.cmake)

set(PIGMENTRY_RC ${CMAKE_SOURCE_DIR}/src/app/win32/pigmentry.rc)
set(PIGMENTRY_FILE_DESCRIPTION "Pigmentry colour converter")
configure_file(${CMAKE_SOURCE_DIR}/src/app/win32/pigmentry_version.h.in
               ${PIGMENTRY_GENERATED_DIR}/pigmentry_version.h @ONLY)
# The manifest names the executable's processor: a mismatch keeps it from
# starting at all.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(PIGMENTRY_MANIFEST_ARCHITECTURE x86)
else()
  set(PIGMENTRY_MANIFEST_ARCHITECTURE amd64)
endif()
configure_file(${CMAKE_SOURCE_DIR}/src/app/win32/app.manifest.in
               ${PIGMENTRY_GENERATED_DIR}/app.manifest @ONLY)

get_target_property(pigmentry_sources Pigmentry SOURCES)
if(NOT PIGMENTRY_RC IN_LIST pigmentry_sources AND NOT "src/app/win32/pigmentry.rc" IN_LIST
                                                     pigmentry_sources)
  target_sources(Pigmentry PRIVATE ${PIGMENTRY_RC})
endif()

# The resource compiler finds the generated pieces and the manifest here.
target_include_directories(
  Pigmentry PRIVATE $<$<COMPILE_LANGUAGE:RC>:${PIGMENTRY_GENERATED_DIR};${CMAKE_SOURCE_DIR}/src/app/win32>)
set_property(
  SOURCE ${PIGMENTRY_RC}
  APPEND
  PROPERTY OBJECT_DEPENDS ${PIGMENTRY_ICON_RC} ${PIGMENTRY_GENERATED_DIR}/pigmentry_version.h
           ${PIGMENTRY_GENERATED_DIR}/app.manifest)
add_dependencies(Pigmentry pigmentry_icon_rc)

if(MSVC)
  # The manifest comes from the .rc file; the linker must not add a second.
  target_link_options(Pigmentry PRIVATE /MANIFEST:NO)
endif()

# The end-to-end tests also create the window in their own process: that
# program gets the same icon resource, and version.dll to read the version
# information of Pigmentry.exe. The test target exists only once this
# folder is read to its end.
function(pigmentry_add_resources_to_e2e_tests)
  if(NOT TARGET e2e_tests)
    return()
  endif()
  set(icon_rc ${CMAKE_SOURCE_DIR}/tests/e2e/citizen_icon.rc)
  target_sources(e2e_tests PRIVATE ${icon_rc})
  target_include_directories(e2e_tests PRIVATE $<$<COMPILE_LANGUAGE:RC>:${PIGMENTRY_GENERATED_DIR}>)
  set_property(SOURCE ${icon_rc} APPEND PROPERTY OBJECT_DEPENDS ${PIGMENTRY_ICON_RC})
  add_dependencies(e2e_tests pigmentry_icon_rc)
  target_link_libraries(e2e_tests PRIVATE version)
endfunction()
cmake_language(DEFER CALL pigmentry_add_resources_to_e2e_tests)

include(${CMAKE_CURRENT_LIST_DIR}/release.cmake)
