# Cross build for 64-bit Windows with MinGW-w64: the program the installer puts
# on 64-bit Windows.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ASTROLUME_MINGW x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
