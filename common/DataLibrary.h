// The data library: the separate module that holds every picture, text and the
// music. It is looked for once at start-up and stays loaded for the process.
#pragma once

#include "support/Win.h"

#include <string>

extern HMODULE DataLibrary;   // null when none is loaded
extern bool DataLoaded;       // the search succeeded
extern std::string DataPath;  // the folder the library was found in

// The file name the start-up code looks for.
inline constexpr const char* DataLibraryName = "duzidad.dll";
// The version its "ORB_GetVersion" export must return.
inline constexpr int DataLibraryVersion = 272;

// Finds and loads the library; sets DataLibrary and DataPath. The result becomes DataLoaded.
bool LocateDataLibrary(const char* FileName);

// Releases the library at process end.
void ReleaseDataLibrary();
