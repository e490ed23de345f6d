/* A stand-in for the data library, built by the tests in several variants:
   TESTDATA_VERSION is what "ORB_GetVersion" returns; TESTDATA_NO_EXPORT leaves
   the export out. It imports nothing and runs no start-up code. */
#include <windows.h>

BOOL WINAPI DllEntry(HINSTANCE, DWORD, LPVOID) { return TRUE; }

#ifndef TESTDATA_NO_EXPORT
__declspec(dllexport) int WINAPI ORB_GetVersion(void) { return TESTDATA_VERSION; }
#else
__declspec(dllexport) int WINAPI ORB_OtherExport(void) { return 0; }
#endif
