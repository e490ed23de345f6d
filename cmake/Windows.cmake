# The Windows side of the build: the program's code as a library (so the tests
# link the very same objects), the program itself, and GoogleTest for Wine.

if(NOT ASTROLUME_HOST_DIR)
  message(FATAL_ERROR "ASTROLUME_HOST_DIR must name the host build (the Makefile sets it)")
endif()

# The program, its libraries and the test programs land together in bin/, so the
# saver finds the data library beside itself.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# The C and C++ runtimes are linked in: the program needs no MinGW DLL.
add_link_options(-static -static-libgcc -static-libstdc++)

# Windows code of the program; every room adds its sources to it.
add_library(astrolume_core STATIC)
target_include_directories(astrolume_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(astrolume_core PUBLIC astrolume_logic
  opengl32 glu32 comctl32 ole32 oleaut32 uuid shell32 advapi32 gdi32 user32 winmm kernel32)
astrolume_warnings(astrolume_core)

add_executable(Astrolume WIN32)
set_target_properties(Astrolume PROPERTIES SUFFIX ".scr" OUTPUT_NAME "Astrolume")
target_link_libraries(Astrolume PRIVATE astrolume_core)
# Subsystem 6.0: a screen-saver host refuses to preview programs older than 4.0.
target_link_options(Astrolume PRIVATE -Wl,--subsystem,windows:6.0)
astrolume_warnings(Astrolume)

set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The entry point of our code-less DLLs as the linker names it: stdcall names
# are decorated on 32-bit x86 only.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(ASTROLUME_DLL_ENTRY _DllEntry@12)
else()
  set(ASTROLUME_DLL_ENTRY DllEntry)
endif()
