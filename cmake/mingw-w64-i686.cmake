# Cross-compiles for 32-bit Windows with MinGW-w64.
set(pigmentry_mingw_processor i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
