# The lint as tests (tools/lint.sh): in the native tree the layering and
# clang-format check and clang-tidy over the portable sources; in the 64-bit
# Windows tree clang-tidy over the Windows side as MinGW-w64 compiles it.
# Niced: they share the machine with the end-to-end tests, whose timing
# matters more than theirs.
find_program(PIGMENTRY_CLANG_TIDY clang-tidy)
find_program(PIGMENTRY_NICE nice)
if(NOT PIGMENTRY_CLANG_TIDY)
  message(STATUS "clang-tidy not found: no lint tests")
  return()
endif()
set(pigmentry_lint ${PIGMENTRY_NICE} -n 10 sh ${CMAKE_SOURCE_DIR}/tools/lint.sh)
if(WIN32)
  add_test(NAME lint.tidy_windows COMMAND ${pigmentry_lint} tidy-windows)
  # Started first, and beside the lanes of end-to-end tests rather than
  # instead of one of them: they mostly wait for Wine.
  set_tests_properties(lint.tidy_windows PROPERTIES ENVIRONMENT "WINDOWS_BUILD_DIR=${CMAKE_BINARY_DIR}"
                                                    LABELS lint TIMEOUT 900 COST 1000)
else()
  add_test(NAME lint.format COMMAND ${pigmentry_lint} format)
  add_test(NAME lint.tidy COMMAND ${pigmentry_lint} tidy)
  set_tests_properties(lint.format lint.tidy PROPERTIES ENVIRONMENT "BUILD_DIR=${CMAKE_BINARY_DIR}"
                                                        LABELS lint TIMEOUT 900)
  # The longest test of the tree: started first.
  set_tests_properties(lint.tidy PROPERTIES PROCESSORS 2 COST 1000)
endif()
