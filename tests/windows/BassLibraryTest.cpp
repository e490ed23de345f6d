// Our audio library, loaded the way the saver loads it and heard through the
// bench's audio capture file.
#include "support/Handles.h"
#include "tests/windows/probe/Probe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

using Bytes = std::vector<char>;

Bytes ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// What the capture file holds: 16-bit stereo frames at 44.1 kHz.
struct Heard {
    int peak = 0;
    int loudFrames = 0;    // frames of the left channel louder than 1000
    double frequency = 0;  // from the zero crossings of the loud part
};

Heard Listen(const std::string& capture)
{
    const Bytes bytes = ReadFile(capture);
    std::vector<int> left;
    for (std::size_t i = 0; i + 3 < bytes.size(); i += 4)
        left.push_back(static_cast<std::int16_t>(static_cast<unsigned char>(bytes[i]) | (bytes[i + 1] << 8)));
    Heard heard;
    int first = -1, last = -1, crossings = 0;
    for (std::size_t i = 0; i < left.size(); ++i) {
        heard.peak = std::max(heard.peak, std::abs(left[i]));
        if (std::abs(left[i]) > 1000) {
            ++heard.loudFrames;
            if (first < 0) first = static_cast<int>(i);
            last = static_cast<int>(i);
        }
    }
    for (int i = first + 1; first >= 0 && i <= last; ++i)
        if ((left[i - 1] < 0) != (left[i] < 0)) ++crossings;
    if (last > first) heard.frequency = crossings / 2.0 / ((last - first) / 44100.0);
    return heard;
}

class BassLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        library.reset(LoadLibraryA(probe::Argument("bass").c_str()));
        ASSERT_TRUE(library) << probe::Argument("bass");
        Resolve("BASS_GetVersion", GetVersion);
        Resolve("BASS_ErrorGetCode", ErrorGetCode);
        Resolve("BASS_Init", Init);
        Resolve("BASS_Free", Free);
        Resolve("BASS_Stop", Stop);
        Resolve("BASS_SetVolume", SetVolume);
        Resolve("BASS_GetVolume", GetVolume);
        Resolve("BASS_StreamCreateFile", StreamCreateFile);
        Resolve("BASS_StreamFree", StreamFree);
        Resolve("BASS_ChannelPlay", ChannelPlay);
        for (const char* name : {"BASS_Start", "BASS_Pause", "BASS_ChannelStop", "BASS_ChannelPause"})
            EXPECT_NE(GetProcAddress(library.get(), name), nullptr) << name;
        const char* unixCapture = std::getenv("ASTROLUME_AUDIO_FILE");
        ASSERT_NE(unixCapture, nullptr) << "run under scripts/bench.sh";
        capture = probe::WindowsPath(unixCapture);
    }

    template <typename F>
    void Resolve(const char* name, F*& slot)
    {
        slot = reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(library.get(), name)));
        ASSERT_NE(slot, nullptr) << name;
    }

    // Plays a file image from memory for a while and returns what was heard.
    Heard Play(const Bytes& file, DWORD flags, float volume, DWORD milliseconds)
    {
        DeleteFileA(capture.c_str());
        EXPECT_TRUE(Init(-1, 44100, 0, nullptr, nullptr));
        EXPECT_TRUE(SetVolume(volume));
        const DWORD stream = StreamCreateFile(TRUE, file.data(), 0, file.size(), flags);
        EXPECT_NE(stream, 0u) << "error " << ErrorGetCode();
        EXPECT_TRUE(ChannelPlay(stream, FALSE));
        Sleep(milliseconds);
        EXPECT_TRUE(Stop());
        EXPECT_TRUE(StreamFree(stream));
        EXPECT_TRUE(Free());
        return Listen(capture);
    }

    UniqueModule library;
    std::string capture;
    DWORD(WINAPI* GetVersion)() = nullptr;
    int(WINAPI* ErrorGetCode)() = nullptr;
    BOOL(WINAPI* Init)(int, DWORD, DWORD, HWND, const void*) = nullptr;
    BOOL(WINAPI* Free)() = nullptr;
    BOOL(WINAPI* Stop)() = nullptr;
    BOOL(WINAPI* SetVolume)(float) = nullptr;
    float(WINAPI* GetVolume)() = nullptr;
    DWORD(WINAPI* StreamCreateFile)(BOOL, const void*, std::uint64_t, std::uint64_t, DWORD) = nullptr;
    BOOL(WINAPI* StreamFree)(DWORD) = nullptr;
    BOOL(WINAPI* ChannelPlay)(DWORD, BOOL) = nullptr;
};

TEST_F(BassLibrary, VersionAndRefusals)
{
    EXPECT_EQ(GetVersion() >> 16, 0x0204u);
    const Bytes tone = ReadFile(probe::Argument("testdata") + "\\audio\\tone.ogg");
    EXPECT_EQ(StreamCreateFile(TRUE, tone.data(), 0, tone.size(), 4), 0u);
    EXPECT_EQ(ErrorGetCode(), 8) << "not initialised";
    EXPECT_FALSE(Free());

    ASSERT_TRUE(Init(-1, 44100, 0, nullptr, nullptr));
    EXPECT_FALSE(Init(-1, 44100, 0, nullptr, nullptr)) << "already initialised";
    const char garbage[] = "this is not an audio file";
    EXPECT_EQ(StreamCreateFile(TRUE, garbage, 0, sizeof garbage, 4), 0u);
    EXPECT_EQ(ErrorGetCode(), 41);
    EXPECT_EQ(StreamCreateFile(TRUE, tone.data(), 0, 60, 4), 0u) << "a cut-off file";
    EXPECT_FALSE(SetVolume(1.5f));
    EXPECT_FALSE(StreamFree(12345));
    EXPECT_FALSE(ChannelPlay(12345, FALSE));
    EXPECT_TRUE(Free());
}

TEST_F(BassLibrary, LoopingOggPlaysOnAtTheMasterVolume)
{
    ASSERT_TRUE(Init(-1, 44100, 0, nullptr, nullptr));
    EXPECT_FLOAT_EQ(GetVolume(), 1.0f);
    ASSERT_TRUE(SetVolume(0.5f));
    EXPECT_FLOAT_EQ(GetVolume(), 0.5f);
    ASSERT_TRUE(Free());

    // A quarter-second tone at amplitude 16000, looped for much longer than that.
    const Bytes tone = ReadFile(probe::Argument("testdata") + "\\audio\\tone.ogg");
    ASSERT_FALSE(tone.empty());
    const Heard heard = Play(tone, 4, 0.5f, 900);
    EXPECT_GT(heard.loudFrames, 44100 / 2) << "the loop did not go on past the end of the tone";
    EXPECT_GT(heard.peak, 7000);
    EXPECT_LT(heard.peak, 8800);
    EXPECT_NEAR(heard.frequency, 440.0, 30.0);
}

TEST_F(BassLibrary, MonoWavIsResampledAndEndsWithoutTheLoopFlag)
{
    const Bytes tone = ReadFile(probe::Argument("testdata") + "\\audio\\tone.wav");
    ASSERT_FALSE(tone.empty());
    const Heard heard = Play(tone, 0, 1.0f, 700);
    EXPECT_GT(heard.loudFrames, 44100 / 5);
    EXPECT_LT(heard.loudFrames, 44100 * 3 / 10) << "played past its end";
    EXPECT_GT(heard.peak, 15000);
    EXPECT_NEAR(heard.frequency, 440.0, 30.0);
}

} // namespace
