# The native benchmarks, built optimised and without sanitizers (the bench
# preset): the handlers on the in-memory platform, timed with Google
# Benchmark, and the host calls of the buttons on the in-memory host.
if(PIGMENTRY_SANITIZE)
  message(FATAL_ERROR "The benchmarks time an instrumented build: configure with the bench preset")
endif()
find_package(benchmark REQUIRED)
file(GLOB PIGMENTRY_BENCHMARKS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/benchmarks/native/*.cpp)
foreach(source ${PIGMENTRY_BENCHMARKS})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE pigmentry_memory benchmark::benchmark)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/benchmarks)
endforeach()
