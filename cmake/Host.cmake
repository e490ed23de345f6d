# The host side of the build: native unit tests with sanitizers, and the tools
# that generate the data library's contents.

set(ASTROLUME_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The logic library carries the sanitizers into everything that links it natively.
target_compile_options(astrolume_logic PUBLIC ${ASTROLUME_SANITIZE})
target_link_options(astrolume_logic PUBLIC ${ASTROLUME_SANITIZE})
