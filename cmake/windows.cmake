# The Windows build: Pigmentry.exe and the tests that drive it under Wine.
set(PIGMENTRY_WIN32_LIBS user32 gdi32 comctl32 ole32 oleaut32 uuid)

add_library(pigmentry_win32 STATIC ${PIGMENTRY_WIN32_SOURCES})
target_link_libraries(pigmentry_win32 PUBLIC pigmentry_logic ${PIGMENTRY_WIN32_LIBS})
# The logic calls the seams the Win32 side defines (see CMakeLists.txt).
target_link_libraries(pigmentry_logic INTERFACE pigmentry_win32)

set(PIGMENTRY_RC ${CMAKE_SOURCE_DIR}/src/app/win32/pigmentry.rc)
set(PIGMENTRY_EXE_SOURCES ${CMAKE_SOURCE_DIR}/src/app/win32/main.cpp
                          ${CMAKE_SOURCE_DIR}/src/app/win32/terminate.cpp)
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

include(cmake/resources.cmake OPTIONAL)
include(cmake/package.cmake OPTIONAL)
include(cmake/standin.cmake OPTIONAL)

if(PIGMENTRY_TESTS AND CMAKE_CROSSCOMPILING)
  include(cmake/e2e_tests.cmake)
endif()
