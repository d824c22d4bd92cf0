# The native unit tests: the handlers on the in-memory platform, with
# AddressSanitizer and UBSan.
enable_testing()
find_package(GTest QUIET)
if(NOT GTest_FOUND)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  add_library(GTest::gtest_main ALIAS gtest_main)
  add_library(GTest::gmock ALIAS gmock)
endif()
include(GoogleTest)

if(PIGMENTRY_SANITIZE)
  set(PIGMENTRY_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer
                                -fno-sanitize-recover=all)
  foreach(target pigmentry_logic pigmentry_memory)
    target_compile_options(${target} PRIVATE ${PIGMENTRY_SANITIZER_FLAGS})
  endforeach()
endif()

file(GLOB PIGMENTRY_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${PIGMENTRY_UNIT_TESTS})
target_include_directories(unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(unit_tests PRIVATE pigmentry_memory GTest::gtest_main GTest::gmock)
if(PIGMENTRY_SANITIZE)
  target_compile_options(unit_tests PRIVATE ${PIGMENTRY_SANITIZER_FLAGS})
  target_link_options(unit_tests PRIVATE ${PIGMENTRY_SANITIZER_FLAGS})
endif()
# GoogleTest parsed once for all the tests. clang-tidy cannot read GCC's
# precompiled header: tools/lint.sh reads the sources without it.
target_precompile_headers(unit_tests PRIVATE <gtest/gtest.h> <string> <vector> <cstdint> <array>)
gtest_discover_tests(unit_tests DISCOVERY_MODE PRE_TEST TEST_PREFIX "unit.")

# The icon resource script generated from the icon table, which the icon
# tests compare with the bytes built in C++.
include(${CMAKE_CURRENT_LIST_DIR}/icon.cmake OPTIONAL)
include(cmake/lint.cmake)
