# End-to-end tests: cross-built gtest programs that start the real
# Pigmentry.exe under Wine and drive it from outside.
enable_testing()
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

file(GLOB PIGMENTRY_E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
add_executable(e2e_tests ${PIGMENTRY_E2E_TESTS})
target_include_directories(e2e_tests PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(e2e_tests PRIVATE pigmentry_win32 gtest_main gmock ${PIGMENTRY_WIN32_LIBS} oleacc)
target_link_options(e2e_tests PRIVATE -static)
# Next to Pigmentry.exe, which the tests start.
set_target_properties(e2e_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(e2e_tests Pigmentry)
gtest_discover_tests(e2e_tests DISCOVERY_MODE PRE_TEST TEST_PREFIX "e2e." DISCOVERY_TIMEOUT 60
                     PROPERTIES RUN_SERIAL TRUE TIMEOUT 90)

# The README's pictures, taken from the real program: ./build.sh screenshots.
add_executable(screenshots ${CMAKE_SOURCE_DIR}/tools/screenshots/screenshots.cpp
                           ${CMAKE_SOURCE_DIR}/tests/e2e/harness.cpp)
target_include_directories(screenshots PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(screenshots PRIVATE ${PIGMENTRY_WIN32_LIBS})
target_link_options(screenshots PRIVATE -municode -static)
set_target_properties(screenshots PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(screenshots Pigmentry)

include(cmake/soak.cmake)
