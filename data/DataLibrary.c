/* The data library's only code: the version the program checks. It imports
   nothing and runs no start-up code; everything else in it is resources. */
#include "common/DataResources.h"

#include <windows.h>

BOOL WINAPI DllEntry(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}

__declspec(dllexport) int WINAPI ORB_GetVersion(void) { return DATA_LIBRARY_VERSION; }
