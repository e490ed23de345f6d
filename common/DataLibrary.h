// The data library: the separate module that holds every picture, text and the
// music. It is looked for once at start-up and stays loaded for the process.
#pragma once

#include "common/DataResources.h"
#include "support/Win.h"

#include <string>

class TBrowseDir;

extern HMODULE DataLibrary;   // null when none is loaded
extern bool DataLoaded;       // the search succeeded
extern std::string DataPath;  // the folder the library was found in

// The file name the start-up code looks for.
inline constexpr const char* DataLibraryName = "duzidad.dll";
// The version its "ORB_GetVersion" export must return.
inline constexpr int DataLibraryVersion = DATA_LIBRARY_VERSION;

// The status lines of the folder dialog; the search reports nowhere else.
inline constexpr const char* DataNotFoundText = "The Data file not found.";
inline constexpr const char* DataNotLoadedText = "The Data file was not loaded.";
inline constexpr const char* DataNotMatchingText = "The Data file was not matching.";
inline constexpr const char* DataWrongVersionText = "The Data file version incorrect.";
inline constexpr const char* DataFoundText = "The Data file found.";

// HKEY_LOCAL_MACHINE key whose "Path" names the folder of a machine-wide install.
inline constexpr const char* MachineDataKey = "Software\\Astrolume";

// Caption of the folder dialog that asks for the library.
inline constexpr const char* DataFolderTitle = "Select folder with data";

// Finds and loads the library: the stored "Path" folder first, then the program's
// folder, then the machine-wide install's folder, then, where `MayAsk`, a folder
// the user picks. A stored or machine-wide folder whose library does not load or
// fails its check is passed over. Sets DataLibrary and DataPath; the result
// becomes DataLoaded.
bool LocateDataLibrary(const char* FileName, bool MayAsk);
// The same search with the program's folder given.
bool LocateDataLibraryFrom(const char* FileName, const std::string& ProgramFolder, bool MayAsk = true);

// True when `Module` exports "ORB_GetVersion" returning DataLibraryVersion. On
// failure the module is released and `Message` tells why; on success it is left alone.
bool CheckDataLibrary(HMODULE Module, std::string& Message);

// The folder dialog's selection handler: looks for the browser's UserText file in
// `Folder`, shows the outcome in the status line and enables OK only for a library
// that passes the check.
void ValidateDataFolder(TBrowseDir& Browser, const std::string& Folder);

// Releases the library at process end.
void ReleaseDataLibrary();
