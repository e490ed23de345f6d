// The bench itself: what later tests rely on is really there.
#include "tests/windows/probe/Probe.h"

#include <gtest/gtest.h>
#include <mmsystem.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace {

// Audio played through the default device ends up in the bench's capture file.
TEST(Bench, AudioReachesTheCaptureFile)
{
    const char* unixPath = std::getenv("ASTROLUME_AUDIO_FILE");
    ASSERT_NE(unixPath, nullptr) << "run under scripts/bench.sh";
    const std::string capture = probe::WindowsPath(unixPath);
    DeleteFileA(capture.c_str());

    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = 44100 * 4;
    HWAVEOUT device = nullptr;
    ASSERT_EQ(waveOutOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);

    // A quarter second of a 440 Hz tone, the same in both channels.
    std::vector<short> samples(44100 / 4 * 2);
    for (std::size_t i = 0; i < samples.size() / 2; ++i)
        samples[2 * i] = samples[2 * i + 1] = static_cast<short>(8000 * std::sin(i * 2 * 3.14159265 * 440 / 44100));
    WAVEHDR header{};
    header.lpData = reinterpret_cast<char*>(samples.data());
    header.dwBufferLength = static_cast<DWORD>(samples.size() * sizeof(short));
    ASSERT_EQ(waveOutPrepareHeader(device, &header, sizeof header), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutWrite(device, &header, sizeof header), MMSYSERR_NOERROR);
    for (int i = 0; i < 200 && !(header.dwFlags & WHDR_DONE); ++i) Sleep(20);
    EXPECT_TRUE(header.dwFlags & WHDR_DONE);
    waveOutUnprepareHeader(device, &header, sizeof header);
    waveOutClose(device);

    std::ifstream file(capture, std::ios::binary);
    ASSERT_TRUE(file) << capture;
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GE(bytes.size(), samples.size() * sizeof(short));
    // The tone is in the file: find its loudest sample, near the amplitude played.
    int peak = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const int value = static_cast<short>(static_cast<unsigned char>(bytes[i]) | (bytes[i + 1] << 8));
        peak = std::max(peak, std::abs(value));
    }
    EXPECT_GT(peak, 7000);
    EXPECT_LE(peak, 8000);
}

// Display-mode switching to the current mode works on the bench's X server.
TEST(Bench, SwitchToTheDesktopModeSucceeds)
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode));
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
    EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    ChangeDisplaySettingsA(nullptr, 0);
}

} // namespace
