# The stand-in host: a local COM server (an EXE of its own, as the real host
# is) with the host's classes and interfaces, a drawing kept in a text file,
# and a window that shows it; and the type library its interfaces are
# marshaled by and answers IDispatch from (cmake/host_interfaces.cmake).
# Built only for Windows. In a 64-bit build the 32-bit
# stand-in is built too (pigmentry_standin32.exe, from the same sources);
# `pigmentry_standin.exe /RegServer` registers either.
get_filename_component(PIGMENTRY_STANDIN_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
include(ExternalProject)
include(${CMAKE_CURRENT_LIST_DIR}/host_interfaces.cmake)

function(pigmentry_standin_exe target output_name output_dir)
  add_executable(${target} WIN32
    ${PIGMENTRY_STANDIN_ROOT}/standin/drawing.cpp
    ${PIGMENTRY_STANDIN_ROOT}/standin/factory.cpp
    ${PIGMENTRY_STANDIN_ROOT}/standin/host_state.cpp
    ${PIGMENTRY_STANDIN_ROOT}/standin/local_server.cpp
    ${PIGMENTRY_STANDIN_ROOT}/standin/objects.cpp
    ${PIGMENTRY_STANDIN_ROOT}/standin/view.cpp
    # The colour models are shared with the in-memory host of the unit tests.
    ${PIGMENTRY_STANDIN_ROOT}/src/bridge/memory/colour_models.cpp)
  target_include_directories(${target} PRIVATE ${PIGMENTRY_STANDIN_ROOT}
                                               ${PIGMENTRY_STANDIN_ROOT}/src)
  target_compile_definitions(${target} PRIVATE UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN)
  target_link_libraries(${target} PRIVATE pigmentry_host_interfaces user32 gdi32 ole32 oleaut32
                                          uuid advapi32 shell32)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${output_name}
                                             RUNTIME_OUTPUT_DIRECTORY ${output_dir})
  if(MINGW)
    target_link_options(${target} PRIVATE -municode -static)
  endif()
endfunction()

# Only the stand-in (the 32-bit build below configures this file alone).
if(PIGMENTRY_STANDIN_ONLY)
  pigmentry_standin_exe(pigmentry_standin ${PIGMENTRY_STANDIN_NAME} ${PIGMENTRY_STANDIN_DIR})
  return()
endif()

pigmentry_standin_exe(pigmentry_standin pigmentry_standin ${CMAKE_BINARY_DIR})

# The type library the stand-in registers and answers IDispatch from, next
# to it (cmake/host_interfaces.cmake).
add_custom_target(pigmentry_binding_tlb DEPENDS ${PIGMENTRY_BINDING_TLB})
add_dependencies(pigmentry_standin pigmentry_binding_tlb)

# The 32-bit stand-in, next to the 64-bit one.
find_program(PIGMENTRY_I686_CXX NAMES i686-w64-mingw32-g++-win32 i686-w64-mingw32-g++)
if(CMAKE_SIZEOF_VOID_P EQUAL 8 AND MINGW AND PIGMENTRY_I686_CXX)
  ExternalProject_Add(pigmentry_standin32
    SOURCE_DIR ${PIGMENTRY_STANDIN_ROOT}/standin
    BINARY_DIR ${CMAKE_BINARY_DIR}/standin32
    CMAKE_ARGS -G Ninja
               -DCMAKE_TOOLCHAIN_FILE=${PIGMENTRY_STANDIN_ROOT}/cmake/mingw-w64-i686.cmake
               -DCMAKE_BUILD_TYPE=MinSizeRel
               -DPIGMENTRY_STANDIN_NAME=pigmentry_standin32
               -DPIGMENTRY_STANDIN_DIR=${CMAKE_BINARY_DIR}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/pigmentry_standin32.exe)
  add_dependencies(pigmentry_standin pigmentry_standin32)
endif()

# The buttons against the stand-in, timed under Wine: needs the Windows
# platform library and the tests' support library, which drives the real
# program and the stand-in (cmake/test_support.cmake).
if(TARGET pigmentry_win32 AND TARGET pigmentry_test_support)
  add_executable(bridge_bench_win ${PIGMENTRY_STANDIN_ROOT}/benchmarks/windows/bridge_bench.cpp)
  target_include_directories(bridge_bench_win PRIVATE ${PIGMENTRY_STANDIN_ROOT}/benchmarks)
  target_link_libraries(bridge_bench_win PRIVATE pigmentry_test_support pigmentry_win32 user32
                                                 ole32 oleaut32 oleacc)
  set_target_properties(bridge_bench_win PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  if(MINGW)
    target_link_options(bridge_bench_win PRIVATE -static)
  endif()
  add_dependencies(bridge_bench_win Pigmentry pigmentry_standin)
endif()
