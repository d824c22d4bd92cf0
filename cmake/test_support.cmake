# The tests' support library of a Windows tree, built once and linked by
# every program that starts and drives Pigmentry.exe or the stand-in host:
# the end-to-end tests, the soak, the Windows benchmarks and the screenshot
# tool. It holds the harness that drives the real program from outside and
# the stand-in host's drawing file, window and stop; the header-only parts
# of tests/support/ (the hexadecimal oracle, the in-memory form) serve the
# native tests and the fuzz targets as well.
if(TARGET pigmentry_test_support)
  return()
endif()

get_filename_component(PIGMENTRY_SUPPORT_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
add_library(pigmentry_test_support STATIC ${PIGMENTRY_SUPPORT_ROOT}/tests/support/harness.cpp
                                          ${PIGMENTRY_SUPPORT_ROOT}/tests/support/standin.cpp)
target_include_directories(pigmentry_test_support PUBLIC ${PIGMENTRY_SUPPORT_ROOT}/src
                                                         ${PIGMENTRY_SUPPORT_ROOT}/tests)
target_link_libraries(pigmentry_test_support PUBLIC user32 advapi32)
