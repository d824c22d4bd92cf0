# The stand-in host: an in-process COM server with the host's classes and
# interfaces, a drawing kept in a text file, and a window that shows it.
# Built only for Windows; register it with `regsvr32 pigmentry_standin.dll`.
get_filename_component(PIGMENTRY_STANDIN_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)

add_library(pigmentry_standin SHARED
  ${PIGMENTRY_STANDIN_ROOT}/standin/drawing.cpp
  ${PIGMENTRY_STANDIN_ROOT}/standin/host_state.cpp
  ${PIGMENTRY_STANDIN_ROOT}/standin/objects.cpp
  ${PIGMENTRY_STANDIN_ROOT}/standin/server.cpp
  ${PIGMENTRY_STANDIN_ROOT}/standin/view.cpp
  ${PIGMENTRY_STANDIN_ROOT}/standin/standin.def
  # The colour models are shared with the in-memory host of the unit tests.
  ${PIGMENTRY_STANDIN_ROOT}/src/bridge/memory/colour_models.cpp)
target_include_directories(pigmentry_standin PRIVATE ${PIGMENTRY_STANDIN_ROOT}
                                                     ${PIGMENTRY_STANDIN_ROOT}/src)
target_compile_definitions(pigmentry_standin PRIVATE UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN)
target_link_libraries(pigmentry_standin PRIVATE user32 gdi32 ole32 oleaut32 uuid advapi32)
set_target_properties(pigmentry_standin PROPERTIES
  PREFIX ""
  OUTPUT_NAME pigmentry_standin
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
if(MINGW)
  target_link_options(pigmentry_standin PRIVATE -static)
endif()

# The buttons against the stand-in, timed under Wine: needs the Windows
# platform library and the test harness that drives the real program.
set(PIGMENTRY_HARNESS ${PIGMENTRY_STANDIN_ROOT}/tests/e2e/harness.cpp)
if(TARGET pigmentry_win32 AND EXISTS ${PIGMENTRY_HARNESS})
  add_executable(bridge_bench_win ${PIGMENTRY_STANDIN_ROOT}/benchmarks/windows/bridge_bench.cpp
                                  ${PIGMENTRY_HARNESS})
  target_include_directories(bridge_bench_win PRIVATE ${PIGMENTRY_STANDIN_ROOT}/src
                                                      ${PIGMENTRY_STANDIN_ROOT}/tests)
  target_link_libraries(bridge_bench_win PRIVATE pigmentry_win32 user32 ole32 oleaut32 oleacc)
  set_target_properties(bridge_bench_win PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  if(MINGW)
    target_link_options(bridge_bench_win PRIVATE -static)
  endif()
  add_dependencies(bridge_bench_win Pigmentry pigmentry_standin)
endif()
