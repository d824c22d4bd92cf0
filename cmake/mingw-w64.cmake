# Cross-compiles for 64-bit Windows with MinGW-w64.
set(pigmentry_mingw_processor x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
