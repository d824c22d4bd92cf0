# Shared by the MinGW-w64 toolchain files: set pigmentry_mingw_processor
# (x86_64 or i686) before including this file.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${pigmentry_mingw_processor})
set(triple ${pigmentry_mingw_processor}-w64-mingw32)
# The compilers of the win32 threads flavour: the program starts no threads
# of its own, and the posix flavour would link winpthread into every
# program (about 26 KB) for nothing.
set(pigmentry_mingw_threads win32)
find_program(CMAKE_C_COMPILER NAMES ${triple}-gcc-${pigmentry_mingw_threads} ${triple}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${triple}-g++-${pigmentry_mingw_threads} ${triple}-g++
             REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${triple}-windres REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Cross-built programs and tests run under Wine in the build's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
