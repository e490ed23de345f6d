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

# Every Windows executable the tests start runs under the bench's Wine of the
# build's own bitness, whichever one the bench offers by default.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL x86_64)
  set(ASTROLUME_WINE_ARCH 64)
else()
  set(ASTROLUME_WINE_ARCH 32)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR env ASTROLUME_WINE_ARCH=${ASTROLUME_WINE_ARCH}
  ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
