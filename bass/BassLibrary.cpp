// Our audio library: the fourteen entry points the saver uses, under the names
// and calling convention it expects. Streams decode audio file images held in
// the caller's memory and play through waveOut, mixed by one feeder thread.

#include "bass/Decoder.h"
#include "support/Handles.h"
#include "support/Win.h"

#include <mmsystem.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#define BASS_EXPORT extern "C" __declspec(dllexport)

namespace {

// Error codes reported by BASS_ErrorGetCode.
constexpr int BASS_OK = 0;
constexpr int BASS_ERROR_MEM = 1;
constexpr int BASS_ERROR_FILEOPEN = 2;
constexpr int BASS_ERROR_DRIVER = 3;
constexpr int BASS_ERROR_HANDLE = 5;
constexpr int BASS_ERROR_INIT = 8;
constexpr int BASS_ERROR_ALREADY = 14;
constexpr int BASS_ERROR_ILLPARAM = 20;
constexpr int BASS_ERROR_FILEFORM = 41;

constexpr std::uint32_t BASS_SAMPLE_LOOP = 4;
constexpr std::uint32_t Version = 0x02040000; // 2.4.0.0

constexpr int BufferCount = 4;
constexpr int BufferFrames = 2048; // about 46 ms each at 44.1 kHz

struct Stream {
    std::unique_ptr<Decoder> decoder;
    std::vector<std::uint8_t> ownedFile; // a file read from disk; memory streams use the caller's bytes
    bool loop = false;
    bool playing = false;
};

struct Output {
    HWAVEOUT device = nullptr;
    HANDLE wake = nullptr;   // signalled by waveOut when a buffer is done, and on shut-down
    HANDLE feeder = nullptr; // the thread that mixes and queues buffers
    bool quit = false;
    int rate = 44100;
    std::vector<std::int16_t> memory[BufferCount];
    WAVEHDR headers[BufferCount] = {};
};

CRITICAL_SECTION Lock;
bool LockReady = false;
Output* Device = nullptr;
std::map<std::uint32_t, Stream> Streams;
std::uint32_t NextHandle = 0x10000;
float Volume = 1.0f;
DWORD LastError = BASS_OK; // per process, like the rest of the state

class Locked {
public:
    Locked() { EnterCriticalSection(&Lock); }
    ~Locked() { LeaveCriticalSection(&Lock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
};

template <typename T>
T Fail(int code, T result)
{
    LastError = static_cast<DWORD>(code);
    return result;
}

template <typename T>
T Succeed(T result)
{
    LastError = BASS_OK;
    return result;
}

// Mixes every playing stream into one buffer, with the master volume applied.
void Mix(std::int16_t* out, int frames)
{
    std::vector<int> sum(static_cast<std::size_t>(frames) * 2, 0);
    std::vector<std::int16_t> part(static_cast<std::size_t>(frames) * 2);
    for (auto& [handle, stream] : Streams) {
        if (!stream.playing || !stream.decoder) continue;
        int filled = 0;
        while (filled < frames) {
            const int n = stream.decoder->Read(part.data() + 2 * filled, frames - filled);
            if (n > 0) {
                filled += n;
                continue;
            }
            // At the end: a looping stream starts again, any other one stops.
            if (!stream.loop || !stream.decoder->Rewind()) {
                stream.playing = false;
                break;
            }
            // From the start again; a file that gives nothing even there would spin.
            const int again = stream.decoder->Read(part.data() + 2 * filled, frames - filled);
            if (again <= 0) {
                stream.playing = false;
                break;
            }
            filled += again;
        }
        for (int i = 0; i < 2 * filled; ++i) sum[static_cast<std::size_t>(i)] += part[static_cast<std::size_t>(i)];
    }
    for (std::size_t i = 0; i < sum.size(); ++i) {
        const float v = static_cast<float>(sum[i]) * Volume;
        out[i] = static_cast<std::int16_t>(std::clamp(v, -32768.0f, 32767.0f));
    }
}

DWORD WINAPI Feed(LPVOID parameter)
{
    Output* output = static_cast<Output*>(parameter);
    for (;;) {
        WaitForSingleObject(output->wake, INFINITE);
        Locked locked;
        if (output->quit) return 0;
        for (WAVEHDR& header : output->headers) {
            if (!(header.dwFlags & WHDR_DONE)) continue;
            Mix(reinterpret_cast<std::int16_t*>(header.lpData), BufferFrames);
            header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
            waveOutWrite(output->device, &header, sizeof header);
        }
    }
}

void CloseOutput(Output* output)
{
    if (output->feeder) {
        {
            Locked locked;
            output->quit = true;
        }
        SetEvent(output->wake);
        WaitForSingleObject(output->feeder, INFINITE);
        CloseHandle(output->feeder);
    }
    if (output->device) {
        waveOutReset(output->device);
        for (WAVEHDR& header : output->headers)
            if (header.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(output->device, &header, sizeof header);
        waveOutClose(output->device);
    }
    if (output->wake) CloseHandle(output->wake);
    delete output;
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        InitializeCriticalSection(&Lock);
        LockReady = true;
    } else if (reason == DLL_PROCESS_DETACH && LockReady) {
        DeleteCriticalSection(&Lock);
        LockReady = false;
    }
    return TRUE;
}

BASS_EXPORT DWORD WINAPI BASS_GetVersion() { return Version; }

BASS_EXPORT int WINAPI BASS_ErrorGetCode() { return static_cast<int>(LastError); }

BASS_EXPORT BOOL WINAPI BASS_Init(int device, DWORD freq, DWORD, HWND, const void*)
{
    if (Device) return Fail(BASS_ERROR_ALREADY, FALSE);
    if (device < -1 || freq < 8000 || freq > 192000) return Fail(BASS_ERROR_ILLPARAM, FALSE);
    auto* output = new Output;
    output->rate = static_cast<int>(freq);
    output->wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = freq;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = freq * 4;
    const UINT id = device <= 0 ? WAVE_MAPPER : static_cast<UINT>(device - 1);
    if (output->wake == nullptr ||
        waveOutOpen(&output->device, id, &format, reinterpret_cast<DWORD_PTR>(output->wake), 0, CALLBACK_EVENT) !=
            MMSYSERR_NOERROR) {
        output->device = nullptr;
        CloseOutput(output);
        return Fail(BASS_ERROR_DRIVER, FALSE);
    }
    for (int i = 0; i < BufferCount; ++i) {
        output->memory[i].assign(BufferFrames * 2, 0);
        WAVEHDR& header = output->headers[i];
        header.lpData = reinterpret_cast<LPSTR>(output->memory[i].data());
        header.dwBufferLength = BufferFrames * 4;
        if (waveOutPrepareHeader(output->device, &header, sizeof header) != MMSYSERR_NOERROR) {
            CloseOutput(output);
            return Fail(BASS_ERROR_DRIVER, FALSE);
        }
        header.dwFlags |= WHDR_DONE; // ready to be filled
    }
    output->feeder = CreateThread(nullptr, 0, Feed, output, 0, nullptr);
    if (output->feeder == nullptr) {
        CloseOutput(output);
        return Fail(BASS_ERROR_MEM, FALSE);
    }
    Device = output;
    SetEvent(output->wake); // fill the first buffers with silence or music
    return Succeed(TRUE);
}

BASS_EXPORT BOOL WINAPI BASS_Free()
{
    if (!Device) return Fail(BASS_ERROR_INIT, FALSE);
    CloseOutput(Device);
    Device = nullptr;
    Locked locked;
    Streams.clear();
    return Succeed(TRUE);
}

BASS_EXPORT BOOL WINAPI BASS_Start()
{
    if (!Device) return Fail(BASS_ERROR_INIT, FALSE);
    waveOutRestart(Device->device);
    return Succeed(TRUE);
}

BASS_EXPORT BOOL WINAPI BASS_Stop()
{
    if (!Device) return Fail(BASS_ERROR_INIT, FALSE);
    waveOutPause(Device->device);
    return Succeed(TRUE);
}

BASS_EXPORT BOOL WINAPI BASS_Pause() { return BASS_Stop(); }

BASS_EXPORT BOOL WINAPI BASS_SetVolume(float volume)
{
    if (!(volume >= 0.0f && volume <= 1.0f)) return Fail(BASS_ERROR_ILLPARAM, FALSE);
    Locked locked;
    Volume = volume;
    return Succeed(TRUE);
}

BASS_EXPORT float WINAPI BASS_GetVolume()
{
    if (!Device) return Fail(BASS_ERROR_INIT, -1.0f);
    return Succeed(Volume);
}

BASS_EXPORT DWORD WINAPI BASS_StreamCreateFile(BOOL mem, const void* file, std::uint64_t offset,
                                               std::uint64_t length, DWORD flags)
{
    if (!Device) return Fail(BASS_ERROR_INIT, 0u);
    if (file == nullptr) return Fail(BASS_ERROR_ILLPARAM, 0u);
    Stream stream;
    stream.loop = (flags & BASS_SAMPLE_LOOP) != 0;
    const std::uint8_t* bytes = nullptr;
    std::size_t size = 0;
    if (mem) {
        if (length == 0 || length > 0x7FFFFFFF) return Fail(BASS_ERROR_ILLPARAM, 0u);
        bytes = static_cast<const std::uint8_t*>(file) + offset;
        size = static_cast<std::size_t>(length);
    } else {
        HANDLE f = CreateFileA(static_cast<const char*>(file), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               0, nullptr);
        if (f == INVALID_HANDLE_VALUE) return Fail(BASS_ERROR_FILEOPEN, 0u);
        UniqueKernelHandle owner(f);
        LARGE_INTEGER total{};
        if (!GetFileSizeEx(f, &total) || total.QuadPart > 0x7FFFFFFF ||
            offset > static_cast<std::uint64_t>(total.QuadPart))
            return Fail(BASS_ERROR_FILEOPEN, 0u);
        std::uint64_t want = static_cast<std::uint64_t>(total.QuadPart) - offset;
        if (length != 0) want = std::min(want, length);
        stream.ownedFile.resize(static_cast<std::size_t>(want));
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(offset);
        DWORD read = 0;
        if (!SetFilePointerEx(f, at, nullptr, FILE_BEGIN) ||
            !ReadFile(f, stream.ownedFile.data(), static_cast<DWORD>(want), &read, nullptr) || read != want)
            return Fail(BASS_ERROR_FILEOPEN, 0u);
        bytes = stream.ownedFile.data();
        size = stream.ownedFile.size();
    }
    stream.decoder = OpenDecoder(bytes, size, Device->rate);
    if (!stream.decoder) return Fail(BASS_ERROR_FILEFORM, 0u);
    Locked locked;
    const std::uint32_t handle = NextHandle++;
    Streams.emplace(handle, std::move(stream));
    return Succeed(handle);
}

BASS_EXPORT BOOL WINAPI BASS_StreamFree(DWORD handle)
{
    Locked locked;
    if (Streams.erase(handle) == 0) return Fail(BASS_ERROR_HANDLE, FALSE);
    return Succeed(TRUE);
}

namespace {
// Runs `action` on the stream behind `handle`, under the lock.
template <typename Action>
BOOL OnStream(DWORD handle, Action action)
{
    Locked locked;
    auto found = Streams.find(handle);
    if (found == Streams.end()) return Fail(BASS_ERROR_HANDLE, FALSE);
    action(found->second);
    return Succeed(TRUE);
}
} // namespace

BASS_EXPORT BOOL WINAPI BASS_ChannelPlay(DWORD handle, BOOL restart)
{
    return OnStream(handle, [restart](Stream& stream) {
        if (restart) stream.decoder->Rewind();
        stream.playing = true;
    });
}

BASS_EXPORT BOOL WINAPI BASS_ChannelStop(DWORD handle)
{
    return OnStream(handle, [](Stream& stream) {
        stream.playing = false;
        stream.decoder->Rewind();
    });
}

BASS_EXPORT BOOL WINAPI BASS_ChannelPause(DWORD handle)
{
    return OnStream(handle, [](Stream& stream) { stream.playing = false; });
}
