// Counts the bench process's C++ heap allocations: every call of the global
// operator new and new[], from the program's code and the C++ runtime alike.
// Allocations made inside Windows, OpenGL or by direct C runtime calls are not seen.
#pragma once

#include <cstdint>

std::uint64_t AllocationCount();
