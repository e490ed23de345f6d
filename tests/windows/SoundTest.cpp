// Run mode's music, first against stand-in sound libraries that log every call
// they receive, then with our own audio library, heard through the bench's
// audio capture file.
#include "common/DataLibrary.h"
#include "common/Settings.h"
#include "sound/Bass.h"
#include "sound/Music.h"
#include "support/Handles.h"
#include "tests/windows/probe/Probe.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

using Lines = std::vector<std::string>;
using Bytes = std::vector<char>;

Bytes ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

std::string TestData(const std::string& name) { return probe::Argument("testdata") + "\\" + name; }

class Music : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetEnvironmentVariableA("FAKEBASS_LOG", log.c_str());
        data.reset(LoadLibraryA(TestData("v272\\duzidad.dll").c_str()));
        ASSERT_TRUE(data);
        DataLibrary = data.get();
        SetDefaultSettings();
    }
    void TearDown() override
    {
        StopSound();
        DataLibrary = nullptr;
        DataPath.clear();
        SetEnvironmentVariableA("FAKEBASS_LOG", nullptr);
    }
    // The calls logged since the last look.
    Lines Calls()
    {
        std::ifstream file(log);
        Lines lines;
        for (std::string line; std::getline(file, line);) lines.push_back(line);
        file.close();
        DeleteFileA(log.c_str());
        return lines;
    }
    probe::TempFolder folder;
    std::string log = folder / "calls.log";
    UniqueModule data;
};

// What run mode asks of the sound library, from its start to its end, that
// decides what is heard: the device, the volume, the music stream. The stand-in
// reports a master volume of 0.5 and makes stream 77.
TEST_F(Music, CallsFromStartToEnd)
{
    const auto played = [](const char* volume) {
        return Lines{"Init -1 44100 0 0 0", volume, "StreamCreateFile 1 0 29 4 [Og]", "ChannelPlay 77 0",
                     "SetVolume 500", "StreamFree 77", "Free"};
    };
    struct {
        const char *name, *folder;  // where bass.dll is looked for
        bool sound;
        int volume;
        bool musicResource;
        Lines calls;
    } const cases[] = {
        {"music at the set volume, given back", "bass24", true, 30, true, played("SetVolume 300")},
        {"a volume past 100 plays at full volume", "bass24", true, 500, true, played("SetVolume 1000")},
        {"sound off never touches the volume", "bass24", false, 30, true, {"Init -1 44100 0 0 0", "Free"}},
        {"a device that does not open stays silent", "bassnoinit", true, 30, true, {"Init -1 44100 0 0 0", "Free"}},
        {"another version stays silent", "bass23", true, 30, true, {"Free"}},
        {"no library in the data folder", "v271", true, 30, true, {}},
        {"a library missing an entry point is let go", "bassnopause", true, 30, true, {}},
        {"no music resource gives the volume back; a negative volume is silence", "bass24", true, -1, false,
         {"Init -1 44100 0 0 0", "SetVolume 0", "StreamCreateFile 1 0 0 4 [--]", "SetVolume 500", "Free"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DataPath = TestData(c.folder);
        Settings.Sound = c.sound;
        Settings.Volume = c.volume;
        if (!c.musicResource) DataLibrary = GetModuleHandleA(nullptr);
        StartSound();
        PlayMusic();
        StopSound();
        EXPECT_EQ(Calls(), c.calls);
        EXPECT_TRUE(BassModule == nullptr && !GetModuleHandleA((TestData(c.folder) + "\\bass.dll").c_str()));
        DataLibrary = data.get();
    }
}

// What the capture file holds of the left channel: 16-bit stereo at 44.1 kHz.
struct Heard {
    std::vector<int> left;
    int peak = 0;
    int loudFrames = 0;    // louder than 1000
    double frequency = 0;  // from the zero crossings of the loud part
};

Heard Listen(const std::string& capture)
{
    const Bytes bytes = ReadFile(capture);
    Heard heard;
    int first = -1, last = -1, crossings = 0, previous = 0;
    for (std::size_t i = 0; i + 3 < bytes.size(); i += 4) {
        const int left = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[i]) | (bytes[i + 1] << 8));
        const int frame = static_cast<int>(heard.left.size());
        heard.peak = std::max(heard.peak, std::abs(left));
        if (std::abs(left) > 1000) {
            ++heard.loudFrames;
            if (first < 0) first = frame;
            last = frame;
        }
        if (first >= 0 && (previous < 0) != (left < 0)) ++crossings;  // counted up to the end; the tail is silent
        heard.left.push_back(previous = left);
    }
    if (last > first) heard.frequency = crossings / 2.0 / ((last - first) / 44100.0);
    return heard;
}

// Our bass.dll, loaded through the program's loader and played as run mode plays.
class AudioLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LoadBass(probe::Argument("bass")));
        const char* unixCapture = std::getenv("ASTROLUME_AUDIO_FILE");
        ASSERT_NE(unixCapture, nullptr) << "run under scripts/bench.sh";
        capture = probe::WindowsPath(unixCapture);
    }
    void TearDown() override { UnloadBass(); }

    Heard Play(const Bytes& file, DWORD flags, float volume, DWORD milliseconds)
    {
        DeleteFileA(capture.c_str());
        EXPECT_TRUE(BASS_Init(-1, 44100, 0, nullptr, nullptr));
        EXPECT_TRUE(BASS_SetVolume(volume));
        EXPECT_FLOAT_EQ(BASS_GetVolume(), volume);
        const DWORD stream = BASS_StreamCreateFile(TRUE, file.data(), 0, file.size(), flags);
        EXPECT_NE(stream, 0u) << "error " << BASS_ErrorGetCode();
        EXPECT_TRUE(BASS_ChannelPlay(stream, FALSE));
        Sleep(milliseconds);
        EXPECT_TRUE(BASS_Stop());
        EXPECT_TRUE(BASS_StreamFree(stream));
        EXPECT_TRUE(BASS_Free());
        return Listen(capture);
    }
    std::string capture;
};

// A quarter-second tone at amplitude 16000: as Ogg, looped for much longer than that
// at half the master volume; as mono WAV, resampled and ended without the loop flag.
TEST_F(AudioLibrary, ToneLoopsOrEndsAtTheMasterVolume)
{
    EXPECT_EQ(BASS_GetVersion() >> 16, 0x0204u);
    const struct { const char* file; DWORD flags; float volume; int loudFrom, loudTo, peakFrom, peakTo; } rows[] = {
        {"tone.ogg", BASS_SAMPLE_LOOP, 0.5f, 44100 / 2, 1 << 30, 7000, 8800},
        {"tone.wav", 0, 1.0f, 44100 / 5, 44100 * 3 / 10, 15000, 1 << 16},
    };
    for (const auto& row : rows) {
        const Heard heard = Play(ReadFile(TestData("audio\\") + row.file), row.flags, row.volume, 900);
        SCOPED_TRACE(row.file);
        EXPECT_TRUE(heard.loudFrames > row.loudFrom && heard.loudFrames < row.loudTo) << heard.loudFrames;
        EXPECT_TRUE(heard.peak > row.peakFrom && heard.peak < row.peakTo) << heard.peak;
        EXPECT_NEAR(heard.frequency, 440.0, 30.0);
    }
}

// A looped ramp comes back sample for sample, nothing lost or added at the seams
// (the capture holds silence before and after).
TEST_F(AudioLibrary, LoopSeamsJoinTheEndToTheStart)
{
    constexpr int frames = 2000, low = 1000, step = 10, high = low + step * (frames - 1);
    Bytes wav(44 + frames * 4);
    const auto put = [&](std::size_t at, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) wav[at + i] = static_cast<char>(value >> (8 * i));
    };
    std::memcpy(wav.data(), "RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x02\0", 24);  // PCM, stereo
    put(4, static_cast<std::uint32_t>(wav.size() - 8), 4);
    put(24, 44100, 4), put(28, 44100 * 4, 4), put(32, 4, 2), put(34, 16, 2);
    std::memcpy(&wav[36], "data", 4);
    put(40, frames * 4, 4);
    for (int i = 0; i < frames; ++i) put(44 + 4 * i, low + step * i, 2), put(46 + 4 * i, low + step * i, 2);
    const std::vector<int> left = Play(wav, BASS_SAMPLE_LOOP, 1.0f, 300).left;
    int seams = 0;
    for (std::size_t i = 1; i < left.size(); ++i) {
        const int a = left[i - 1], b = left[i];
        if (a == 0 || b == 0) continue;
        seams += a == high && b == low;
        EXPECT_TRUE(b == a + step || (a == high && b == low)) << "frame " << i << ": " << a << " then " << b;
    }
    EXPECT_GT(seams, 5) << "the ramp is 45 ms long";
}

} // namespace
