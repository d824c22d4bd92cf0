# End-to-end tests: cross-built gtest programs that start the real
# Pigmentry.exe under Wine and drive it from outside.
enable_testing()
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

file(GLOB PIGMENTRY_E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
add_executable(e2e_tests ${PIGMENTRY_E2E_TESTS})
target_link_libraries(e2e_tests PRIVATE pigmentry_test_support pigmentry_win32 gtest_main gmock
                                        ${PIGMENTRY_WIN32_LIBS} oleacc)
target_link_options(e2e_tests PRIVATE -static)
# Next to Pigmentry.exe, which the tests start.
set_target_properties(e2e_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(e2e_tests Pigmentry)
# GoogleTest with MinGW's win32 threads flavour (see the header); its
# documented hook for a Notification provided from outside. The tests take
# it first in their precompiled header, which saves each of them parsing
# GoogleTest and windows.h again.
foreach(target gtest gtest_main gmock)
  target_compile_options(${target} PRIVATE
                         -include ${CMAKE_SOURCE_DIR}/tests/support/gtest_notification.h)
endforeach()
target_precompile_headers(e2e_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/support/gtest_notification.h
                          <gtest/gtest.h> <windows.h> <string> <vector> <memory>)
# GCC 12 sees MinGW's inline wmemcpy in std::wstring's constructor, taken
# from a precompiled header, as writing out of bounds: a false alarm that the
# same code compiled without the header does not raise.
target_compile_options(e2e_tests PRIVATE -Wno-array-bounds)
# A DLL under a system DLL's name that leaves a file beside itself when it is
# loaded, for the tests that plant it beside the program. In a folder of its
# own: beside the tests it would stand in for their own oleacc.dll.
add_library(planted_oleacc SHARED ${CMAKE_SOURCE_DIR}/tests/e2e/planted/planted_dll.cpp)
set_target_properties(planted_oleacc PROPERTIES OUTPUT_NAME oleacc PREFIX ""
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/planted
                      ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/planted)
target_link_options(planted_oleacc PRIVATE -static)
add_dependencies(e2e_tests planted_oleacc)
# The stand-in host and its type library, which the bridge tests reach.
if(TARGET pigmentry_standin)
  add_dependencies(e2e_tests pigmentry_standin)
endif()
# The 32-bit build runs the start-up, colour, bridge and planted-DLL groups,
# which cover what differs between the two builds (the system calls, the COM
# calls across the two bitnesses, the DLLs each loads); the 64-bit build runs
# the whole suite.
set(pigmentry_e2e_filter)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(pigmentry_e2e_filter
      TEST_FILTER
      "WindowStart.*:Closing.*:DesignState.*:Colour.*:Keyboard.*:BridgeButtons.*:SetStoppedMidway.*:ComBindingTest.*:PlantedDll.*")
endif()
# Each test takes one lane of Wine (cmake/wine-lanes.json, given to ctest by
# the test presets): its own prefix and display, so lanes run side by side.
# Without the lanes file ctest runs them one after another in the build's
# prefix, as inside the 32-bit test machine.
gtest_discover_tests(e2e_tests DISCOVERY_MODE PRE_TEST TEST_PREFIX "e2e." DISCOVERY_TIMEOUT 600
                     ${pigmentry_e2e_filter} PROPERTIES RESOURCE_GROUPS wine:1
                     FIXTURES_REQUIRED wine_lanes)
# Ends the lanes' wineservers and displays once their tests have run.
add_test(NAME wine.lanes_stop COMMAND sh -c ". '${CMAKE_SOURCE_DIR}/cmake/wine-env.sh' && pigmentry_stop_lanes '${CMAKE_BINARY_DIR}'")
set_tests_properties(wine.lanes_stop PROPERTIES FIXTURES_CLEANUP wine_lanes LABELS fixture)

# 32-bit Windows programs run under Wine only through wine32, and only on a
# kernel that runs 32-bit programs; elsewhere they run inside the 32-bit test
# machine. In the 32-bit build the whole listing is gated (listing already
# starts the program); in the 64-bit build the suite runs here against the
# stand-in that runs here, and the gate adds the run inside the machine, of
# the Get and Set cases, against the 32-bit stand-in as the real host is.
# Decided on every ctest run, not at configure.
# Programs run emulated inside the machine, a start taking many seconds: the
# test command runs the start-up, colour and planted-DLL groups and one Get and one
# Set there, ./build.sh test32 all of them.
get_property(pigmentry_test_includes DIRECTORY PROPERTY TEST_INCLUDE_FILES)
set(pigmentry_one_get_and_set
    "^e2e\\.BridgeButtons\\.(GetFillAndOutlineFillTheFields|SetFillKeepsEachShapesModelAndLeavesTheFields)$")
set(PIGMENTRY_GATED_LISTING)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(PIGMENTRY_GATED_LISTING ${pigmentry_test_includes})
  list(FILTER PIGMENTRY_GATED_LISTING INCLUDE REGEX "/e2e_tests\\[[0-9]+\\]_include\\.cmake$")
  list(FILTER pigmentry_test_includes EXCLUDE REGEX "/e2e_tests\\[[0-9]+\\]_include\\.cmake$")
  set(PIGMENTRY_MACHINE_FULL "^e2e\\.")
  set(PIGMENTRY_MACHINE_QUICK "^e2e\\.(WindowStart|Colour|PlantedDll)\\.|${pigmentry_one_get_and_set}")
else()
  set(PIGMENTRY_MACHINE_FULL "^e2e\\.(BridgeButtons|SetStoppedMidway)\\.")
  set(PIGMENTRY_MACHINE_QUICK "${pigmentry_one_get_and_set}")
endif()
configure_file(${CMAKE_SOURCE_DIR}/cmake/e2e_machine_gate.cmake.in
               ${CMAKE_BINARY_DIR}/e2e_machine_gate.cmake @ONLY)
set_property(DIRECTORY PROPERTY TEST_INCLUDE_FILES ${pigmentry_test_includes}
                                                   ${CMAKE_BINARY_DIR}/e2e_machine_gate.cmake)

# The README's pictures, taken from the real program: ./build.sh screenshots.
add_executable(screenshots ${CMAKE_SOURCE_DIR}/tools/screenshots/screenshots.cpp)
target_link_libraries(screenshots PRIVATE pigmentry_test_support ${PIGMENTRY_WIN32_LIBS})
target_link_options(screenshots PRIVATE -municode -static)
set_target_properties(screenshots PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(screenshots Pigmentry)

include(cmake/soak.cmake)

# Keystroke latency of the real window under Wine, beside a plain edit of
# the start-up reference window (./build.sh bench).
add_executable(keystroke_latency ${CMAKE_SOURCE_DIR}/benchmarks/windows/keystroke_latency.cpp)
target_include_directories(keystroke_latency PRIVATE ${CMAKE_SOURCE_DIR}/benchmarks)
target_link_libraries(keystroke_latency PRIVATE pigmentry_test_support pigmentry_win32
                                                ${PIGMENTRY_WIN32_LIBS})
target_link_options(keystroke_latency PRIVATE -static)
set_target_properties(keystroke_latency PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(keystroke_latency Pigmentry startup_reference)
