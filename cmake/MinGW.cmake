# The part of the two MinGW-w64 toolchain files they share: compilers of the
# posix-threads flavour for ${ASTROLUME_MINGW} (the target triplet), the
# target's own root for libraries and headers, and Wine to run what is built.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${ASTROLUME_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ASTROLUME_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER  ${ASTROLUME_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ASTROLUME_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Every Windows executable the tests start runs under the bench's Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
