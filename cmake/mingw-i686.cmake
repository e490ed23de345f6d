# Cross build for 32-bit Windows with MinGW-w64: the program for 32-bit Windows.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ASTROLUME_MINGW i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
