# The soak: a long random session with the real Pigmentry.exe and the
# stand-in host under Wine (./build.sh soak), and a short one in the tests.
file(GLOB PIGMENTRY_SOAK_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/soak/*.cpp)
add_executable(soak ${PIGMENTRY_SOAK_SOURCES})
target_link_libraries(soak PRIVATE pigmentry_test_support pigmentry_host_interfaces
                                   ${PIGMENTRY_WIN32_LIBS} psapi)
target_link_options(soak PRIVATE -municode -static)
set_target_properties(soak PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(soak Pigmentry)
if(TARGET pigmentry_standin)
  add_dependencies(soak pigmentry_standin)
endif()
# A few hundred steps from a fixed seed, sampling the counts often enough
# to see them move. The 64-bit tree runs it; the 32-bit one builds it only,
# since its programs run only where Wine runs 32-bit programs.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_test(NAME soak.short COMMAND soak --seed 20261210 --steps 400 --sample 100)
  # The longest test of the tree: started first, in a lane of its own.
  set_tests_properties(soak.short PROPERTIES RESOURCE_GROUPS wine:1 FIXTURES_REQUIRED wine_lanes
                                              TIMEOUT 600 COST 500)
endif()
