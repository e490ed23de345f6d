# Cross build for 64-bit Windows with MinGW-w64. The program ships as the 32-bit
# build; this one runs the tests on machines whose kernel cannot run 32-bit
# programs, and with them 32-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ASTROLUME_MINGW x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
