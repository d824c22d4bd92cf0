# Release flags for Pigmentry.exe: optimised for size, unused functions and
# data dropped at link time, stripped and statically linked, so that the
# program is one small file that needs only the DLLs Windows ships. Then a
# test that holds it to that.
set(pigmentry_release $<CONFIG:MinSizeRel,Release>)

# Pigmentry.exe and the static libraries of this project that it links.
set(pigmentry_code_targets Pigmentry)
get_target_property(pigmentry_links Pigmentry LINK_LIBRARIES)
foreach(library IN LISTS pigmentry_links ITEMS pigmentry_win32 pigmentry_logic)
  if(library MATCHES "^pigmentry_" AND TARGET ${library} AND NOT library IN_LIST
                                                                pigmentry_code_targets)
    list(APPEND pigmentry_code_targets ${library})
  endif()
endforeach()

if(MSVC)
  foreach(target IN LISTS pigmentry_code_targets)
    target_compile_options(${target} PRIVATE $<${pigmentry_release}:/O1 /Gy /Gw>)
  endforeach()
  target_link_options(Pigmentry PRIVATE $<${pigmentry_release}:/OPT:REF /OPT:ICF>)
  set_property(TARGET Pigmentry PROPERTY MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
else()
  foreach(target IN LISTS pigmentry_code_targets)
    target_compile_options(${target} PRIVATE
                           $<${pigmentry_release}:-Os -ffunction-sections -fdata-sections>)
  endforeach()
  # The link map names what each byte of the program comes from; the
  # benchmark table prints its largest contributors.
  target_link_options(Pigmentry PRIVATE -static $<${pigmentry_release}:-Wl,--gc-sections -s>
                      -Wl,-Map=${CMAKE_BINARY_DIR}/Pigmentry.map)
endif()

# The executable may import only DLLs that every Windows has, and may not
# grow beyond its budget.
# The 32-bit build carries the DWARF unwinder that 64-bit Windows has built in.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(PIGMENTRY_MAX_EXE_KIB 180)
else()
  set(PIGMENTRY_MAX_EXE_KIB 192)
endif()
# For the benchmark's size figure, which prints the budget beside the size.
file(WRITE ${CMAKE_BINARY_DIR}/exe-size-budget-kib.txt "${PIGMENTRY_MAX_EXE_KIB}\n")
if(PIGMENTRY_TESTS AND NOT MSVC)
  find_program(PIGMENTRY_OBJDUMP NAMES ${CMAKE_OBJDUMP} x86_64-w64-mingw32-objdump objdump)
  enable_testing()
  add_test(NAME release.imports
           COMMAND sh ${CMAKE_SOURCE_DIR}/tools/check_exe.sh ${PIGMENTRY_OBJDUMP}
                   $<TARGET_FILE:Pigmentry> ${PIGMENTRY_MAX_EXE_KIB})
endif()

# Start-up time and memory next to a minimal window with the same controls
# and manifest, and the system's Notepad, under Wine here:
# `cmake --build --preset windows --target run_startup_bench`.
if(NOT TARGET startup_bench)
  add_executable(startup_reference WIN32
                 ${CMAKE_SOURCE_DIR}/benchmarks/windows/startup_reference.cpp
                 ${CMAKE_SOURCE_DIR}/benchmarks/windows/startup_reference.rc)
  target_link_libraries(startup_reference PRIVATE user32 gdi32 comctl32)
  target_include_directories(startup_reference PRIVATE
                             $<$<COMPILE_LANGUAGE:RC>:${PIGMENTRY_GENERATED_DIR}>
                             $<$<COMPILE_LANGUAGE:CXX>:${CMAKE_SOURCE_DIR}/src>)
  set_property(SOURCE ${CMAKE_SOURCE_DIR}/benchmarks/windows/startup_reference.rc APPEND
               PROPERTY OBJECT_DEPENDS ${PIGMENTRY_GENERATED_DIR}/app.manifest)
  set_target_properties(startup_reference PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  add_executable(startup_bench ${CMAKE_SOURCE_DIR}/benchmarks/windows/startup_bench.cpp)
  target_link_libraries(startup_bench PRIVATE psapi)
  target_include_directories(startup_bench PRIVATE ${CMAKE_SOURCE_DIR}/benchmarks)
  set_target_properties(startup_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  if(NOT MSVC)
    target_compile_options(startup_reference PRIVATE -Os)
    target_link_options(startup_reference PRIVATE -municode -static -s)
    target_link_options(startup_bench PRIVATE -municode -static)
  endif()
  # The same two programs built with PIGMENTRY_START_STEPS: they write the
  # moment each step of their start ends to their standard output, and the
  # benchmark prints the steps' costs side by side. Built for the benchmark
  # only; Pigmentry.exe has no such code.
  get_target_property(pigmentry_exe_sources Pigmentry SOURCES)
  add_executable(Pigmentry_steps WIN32 ${pigmentry_exe_sources})
  foreach(property LINK_LIBRARIES COMPILE_DEFINITIONS COMPILE_OPTIONS INCLUDE_DIRECTORIES
                   LINK_OPTIONS)
    get_target_property(value Pigmentry ${property})
    if(value)
      string(REPLACE "Pigmentry.map" "Pigmentry_steps.map" value "${value}")
      set_target_properties(Pigmentry_steps PROPERTIES ${property} "${value}")
    endif()
  endforeach()
  target_compile_definitions(Pigmentry_steps PRIVATE PIGMENTRY_START_STEPS)
  set_target_properties(Pigmentry_steps PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  add_dependencies(Pigmentry_steps pigmentry_icon_rc)
  get_target_property(reference_sources startup_reference SOURCES)
  add_executable(startup_reference_steps WIN32 ${reference_sources})
  foreach(property LINK_LIBRARIES COMPILE_OPTIONS INCLUDE_DIRECTORIES LINK_OPTIONS)
    get_target_property(value startup_reference ${property})
    if(value)
      set_target_properties(startup_reference_steps PROPERTIES ${property} "${value}")
    endif()
  endforeach()
  target_compile_definitions(startup_reference_steps PRIVATE PIGMENTRY_START_STEPS)
  set_target_properties(startup_reference_steps PROPERTIES RUNTIME_OUTPUT_DIRECTORY
                                                           ${CMAKE_BINARY_DIR})
  add_dependencies(startup_bench startup_reference Pigmentry startup_reference_steps
                   Pigmentry_steps)
  add_custom_target(
    run_startup_bench
    COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:startup_bench> $<TARGET_FILE:Pigmentry> 20
    DEPENDS startup_bench
    USES_TERMINAL
    VERBATIM)
endif()
