# The libFuzzer targets: every tests/fuzz/fuzz_<name>.cpp becomes an
# executable fuzz_<name>, built with clang, libFuzzer, AddressSanitizer and
# UBSan over the logic and the in-memory platform. Run one with a corpus
# directory, e.g. build/fuzz/fuzz_leading_number -max_total_time=60 corpus/
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "The fuzz targets need clang (libFuzzer); got ${CMAKE_CXX_COMPILER_ID}")
endif()

set(PIGMENTRY_FUZZ_COMPILE_FLAGS -fsanitize=fuzzer-no-link,address,undefined
                                 -fno-sanitize-recover=all -fno-omit-frame-pointer)
set(PIGMENTRY_FUZZ_LINK_FLAGS -fsanitize=fuzzer,address,undefined)

target_compile_options(pigmentry_logic PRIVATE ${PIGMENTRY_FUZZ_COMPILE_FLAGS})

if(NOT PIGMENTRY_MEMORY_SOURCES)
  file(GLOB_RECURSE PIGMENTRY_MEMORY_SOURCES CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/src/*/memory/*.cpp)
endif()
add_library(pigmentry_memory STATIC ${PIGMENTRY_MEMORY_SOURCES})
target_link_libraries(pigmentry_memory PUBLIC pigmentry_logic)
# The logic calls the seams the in-memory side defines (see CMakeLists.txt).
target_link_libraries(pigmentry_logic INTERFACE pigmentry_memory)
target_compile_options(pigmentry_memory PRIVATE ${PIGMENTRY_FUZZ_COMPILE_FLAGS})

# A target's own source, its actions and its checks, is built with the
# sanitizers but without coverage: the checks restate the rules and walk
# every text again, and their branches are no behaviour of the program for
# the fuzzer to seek out. Instrumented, they cost a third of each run.
set(PIGMENTRY_FUZZ_HARNESS_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
                                 -fno-omit-frame-pointer)

# The test command runs each target for PIGMENTRY_FUZZ_SECONDS from its
# inputs kept in the repository: hand-written seeds (tests/fuzz/seeds/) and
# the minimised corpus of earlier long runs (tests/fuzz/corpus/, rewritten by
# ./build.sh fuzz). What the run finds goes to the build's own corpus folder,
# the first one named (libFuzzer adds new inputs there only), and an input
# that fails to crashes/.
set(PIGMENTRY_FUZZ_SECONDS 20 CACHE STRING "Seconds the test command runs each fuzz target")
enable_testing()
function(pigmentry_fuzz_test name)
  set(found ${CMAKE_BINARY_DIR}/corpus/${name})
  file(MAKE_DIRECTORY ${found} ${CMAKE_BINARY_DIR}/crashes)
  set(inputs ${found})
  foreach(kept seeds corpus)
    if(IS_DIRECTORY ${CMAKE_SOURCE_DIR}/tests/fuzz/${kept}/${name})
      list(APPEND inputs ${CMAKE_SOURCE_DIR}/tests/fuzz/${kept}/${name})
    endif()
  endforeach()
  string(REGEX REPLACE "^fuzz_" "" short ${name})
  set(dictionary)
  if(EXISTS ${CMAKE_SOURCE_DIR}/tests/fuzz/${short}.dict)
    set(dictionary -dict=${CMAKE_SOURCE_DIR}/tests/fuzz/${short}.dict)
  endif()
  add_test(NAME fuzz.${short}
           COMMAND ${name} -max_total_time=${PIGMENTRY_FUZZ_SECONDS} -timeout=5 -rss_limit_mb=2048
                   -print_final_stats=1 -artifact_prefix=${CMAKE_BINARY_DIR}/crashes/${name}-
                   ${dictionary} ${inputs})
  set_tests_properties(fuzz.${short} PROPERTIES LABELS fuzz TIMEOUT 300)
endfunction()

file(GLOB PIGMENTRY_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_*.cpp)
foreach(source ${PIGMENTRY_FUZZ_SOURCES})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE pigmentry_memory)
  target_compile_options(${name} PRIVATE ${PIGMENTRY_FUZZ_HARNESS_FLAGS})
  target_link_options(${name} PRIVATE ${PIGMENTRY_FUZZ_LINK_FLAGS})
  pigmentry_fuzz_test(${name})
endforeach()
