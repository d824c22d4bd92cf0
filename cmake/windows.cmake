# The Windows build: Pigmentry.exe and the tests that drive it under Wine.
set(PIGMENTRY_WIN32_LIBS user32 gdi32 comctl32 ole32 oleaut32 uuid)

# The host's interfaces, generated from their IDL file.
include(cmake/host_interfaces.cmake)

add_library(pigmentry_win32 STATIC ${PIGMENTRY_WIN32_SOURCES})
target_link_libraries(pigmentry_win32 PUBLIC pigmentry_logic pigmentry_host_interfaces
                                             ${PIGMENTRY_WIN32_LIBS})
# The logic calls the seams the Win32 side defines (see CMakeLists.txt).
target_link_libraries(pigmentry_logic INTERFACE pigmentry_win32)

set(PIGMENTRY_RC ${CMAKE_SOURCE_DIR}/src/app/win32/pigmentry.rc)
set(PIGMENTRY_EXE_SOURCES ${CMAKE_SOURCE_DIR}/src/app/win32/main.cpp
                          ${CMAKE_SOURCE_DIR}/src/app/win32/terminate.cpp
                          ${CMAKE_SOURCE_DIR}/src/app/win32/library_errors.cpp)
if(EXISTS ${PIGMENTRY_RC})
  list(APPEND PIGMENTRY_EXE_SOURCES ${PIGMENTRY_RC})
endif()
add_executable(Pigmentry WIN32 ${PIGMENTRY_EXE_SOURCES})
target_link_libraries(Pigmentry PRIVATE pigmentry_win32)
set_target_properties(Pigmentry PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
if(MINGW)
  # Needs no DLL beyond the ones Windows ships.
  target_link_options(Pigmentry PRIVATE -municode -static)
endif()

# The 32-bit build runs on Windows XP SP3 and later: the headers declare only
# what XP has, so that a newer function fails to compile unless it is looked
# up at run time, and the PE header names Windows 5.01 (XP) as the lowest
# system and subsystem version it needs, in place of the linker's 4.0.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(PIGMENTRY_WINVER 0x0501)
  target_compile_definitions(pigmentry_win32 PUBLIC _WIN32_WINNT=${PIGMENTRY_WINVER}
                                                    WINVER=${PIGMENTRY_WINVER})
  target_compile_definitions(Pigmentry PRIVATE _WIN32_WINNT=${PIGMENTRY_WINVER}
                                               WINVER=${PIGMENTRY_WINVER})
  if(MINGW)
    target_link_options(
      Pigmentry PRIVATE -Wl,--major-subsystem-version,5,--minor-subsystem-version,1
      -Wl,--major-os-version,5,--minor-os-version,1)
    # The MinGW thread library imports GetTickCount64, which XP lacks: the
    # program defines that import's slot itself, pointing at a replacement
    # that looks the function up at run time (src/app/win32/tick_count.cpp).
    enable_language(ASM)
    target_sources(Pigmentry PRIVATE ${CMAKE_SOURCE_DIR}/src/app/win32/tick_count.cpp
                                     ${CMAKE_SOURCE_DIR}/src/app/win32/tick_count_slot.S)
  endif()
endif()

include(cmake/resources.cmake OPTIONAL)
include(cmake/package.cmake OPTIONAL)
include(cmake/test_support.cmake)
include(cmake/standin.cmake OPTIONAL)

if(PIGMENTRY_TESTS AND CMAKE_CROSSCOMPILING)
  include(cmake/e2e_tests.cmake)
endif()
if(PIGMENTRY_TESTS AND MINGW AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  include(cmake/xp_checks.cmake)
endif()
if(PIGMENTRY_TESTS AND MINGW AND CMAKE_SIZEOF_VOID_P EQUAL 8)
  include(cmake/lint.cmake)
endif()
# The benchmarks, the soak and the screenshot tool run from the 64-bit tree;
# the 32-bit tree builds them only when asked for by name.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  foreach(tool soak screenshots keystroke_latency bridge_bench_win startup_bench startup_reference
               startup_reference_steps Pigmentry_steps)
    if(TARGET ${tool})
      set_target_properties(${tool} PROPERTIES EXCLUDE_FROM_ALL TRUE)
    endif()
  endforeach()
endif()
