#include "common/DataLibrary.h"

#include "common/UtilWin.h"
#include "support/Handles.h"

HMODULE DataLibrary = nullptr;
bool DataLoaded = false;
std::string DataPath;

bool LocateDataLibrary(const char* FileName)
{
    // The library beside the program is used as it is.
    DataPath = ProgramFolder();
    const std::string candidate = DataPath + "\\" + FileName;
    if (!FileExists(candidate)) return false;
    DataLibrary = QuietLoadLibrary(candidate.c_str());
    return DataLibrary != nullptr;
}

void ReleaseDataLibrary()
{
    if (DataLoaded && DataLibrary != nullptr) FreeLibrary(DataLibrary);
    DataLibrary = nullptr;
}
