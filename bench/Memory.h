// What a process holds in memory, as the bench reports it.
#pragma once

#include "support/Win.h"

#include <string>

// Mebibytes; NaN where the system gave no figure.
struct MemoryFigures {
    double workingSet = 0;
    double peakWorkingSet = 0;
    double privateBytes = 0;  // committed private pages, as the program's own heaps and bitmaps take them
};

// `process` needs PROCESS_QUERY_INFORMATION and PROCESS_VM_READ.
MemoryFigures MemoryOf(HANDLE process);

// The figures as JSON members: "<prefix>working_set_mb": ..., and so on.
std::string MemoryMembers(const char* prefix, const MemoryFigures& figures);
