/* A stand-in for the sound library: the fourteen entry points, of which those
   that decide what is heard append a line describing their call to the file
   named by FAKEBASS_LOG, so a test can read back what the program asked.
   FAKEBASS_VERSION is what BASS_GetVersion returns; FAKEBASS_NO_CHANNELPAUSE
   leaves one entry point out. */
#include <windows.h>

BOOL WINAPI DllEntry(HINSTANCE, DWORD, LPVOID) { return TRUE; }

static void Log(const char* format, ...)
{
    char line[160];
    va_list arguments;
    va_start(arguments, format);
    wvsprintfA(line, format, arguments);
    va_end(arguments);
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("FAKEBASS_LOG", path, sizeof path);
    if (n == 0 || n >= sizeof path) return;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written;
    WriteFile(file, line, lstrlenA(line), &written, NULL);
    WriteFile(file, "\n", 1, &written, NULL);
    CloseHandle(file);
}

static float volume = 0.5f;

#define EXPORT __declspec(dllexport)

EXPORT DWORD WINAPI BASS_GetVersion(void) { return FAKEBASS_VERSION; }
EXPORT int WINAPI BASS_ErrorGetCode(void) { return 0; }
EXPORT BOOL WINAPI BASS_Init(int device, DWORD freq, DWORD flags, HWND win, const void* clsid)
{
    Log("Init %d %lu %lu %d %d", device, freq, flags, win != NULL, clsid != NULL);
#ifdef FAKEBASS_INIT_FAILS
    return FALSE;
#else
    return TRUE;
#endif
}
EXPORT BOOL WINAPI BASS_Free(void) { Log("Free"); return TRUE; }
EXPORT BOOL WINAPI BASS_Start(void) { return TRUE; }
EXPORT BOOL WINAPI BASS_Stop(void) { return TRUE; }
EXPORT BOOL WINAPI BASS_Pause(void) { return TRUE; }
EXPORT BOOL WINAPI BASS_SetVolume(float value)
{
    Log("SetVolume %d", (int)(value * 1000.0f + 0.5f));
    volume = value;
    return TRUE;
}
EXPORT float WINAPI BASS_GetVolume(void) { return volume; }
EXPORT DWORD WINAPI BASS_StreamCreateFile(BOOL mem, const void* file, unsigned long long offset,
                                          unsigned long long length, DWORD flags)
{
    const char* bytes = (const char*)file;
    Log("StreamCreateFile %d %lu %lu %lu [%c%c]", mem == -1 || mem == 1, (DWORD)offset, (DWORD)length, flags,
        length > 0 ? bytes[0] : '-', length > 1 ? bytes[1] : '-');
    return length > 0 ? 77 : 0;
}
EXPORT BOOL WINAPI BASS_StreamFree(DWORD handle) { Log("StreamFree %lu", handle); return TRUE; }
EXPORT BOOL WINAPI BASS_ChannelPlay(DWORD handle, BOOL restart) { Log("ChannelPlay %lu %d", handle, restart); return TRUE; }
EXPORT BOOL WINAPI BASS_ChannelStop(DWORD handle) { (void)handle; return TRUE; }
#ifndef FAKEBASS_NO_CHANNELPAUSE
EXPORT BOOL WINAPI BASS_ChannelPause(DWORD handle) { (void)handle; return TRUE; }
#endif
