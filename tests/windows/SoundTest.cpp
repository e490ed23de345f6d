// Run mode's use of the sound library, against stand-in libraries that log
// every call they receive.
#include "common/DataLibrary.h"
#include "common/Settings.h"
#include "shell/RunMode.h"
#include "sound/Bass.h"
#include "support/Handles.h"
#include "tests/windows/probe/Probe.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

class Sound : public ::testing::Test {
protected:
    void SetUp() override
    {
        log = folder / "calls.log";
        SetEnvironmentVariableA("FAKEBASS_LOG", log.c_str());
        data.reset(LoadLibraryA((probe::Argument("testdata") + "\\v272\\duzidad.dll").c_str()));
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

    void UseLibrary(const char* variant) { DataPath = probe::Argument("testdata") + "\\" + variant; }

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
    std::string log;
    UniqueModule data;
};

TEST_F(Sound, MusicFromTheDataLibraryAtTheSetVolumeAndTheVolumeGivenBack)
{
    UseLibrary("bass24");
    Settings.Volume = 30;
    StartSound();
    EXPECT_TRUE(SoundReady);
    EXPECT_EQ(MusicStream, 77u);
    EXPECT_DOUBLE_EQ(SavedVolume, 0.5);
    EXPECT_EQ(Calls(), (Lines{"GetVersion", "Init -1 44100 0 0 0", "GetVolume", "SetVolume 300",
                              "StreamCreateFile 1 0 29 4 [Og]"}));

    StopSound();
    EXPECT_EQ(Calls(), (Lines{"Stop", "SetVolume 500", "StreamFree 77", "Free"}));
    EXPECT_EQ(BassModule, nullptr);
    EXPECT_EQ(MusicData, nullptr);
    EXPECT_FALSE(SoundReady);
}

TEST_F(Sound, SoundOffNeverTouchesTheVolume)
{
    UseLibrary("bass24");
    Settings.Sound = false;
    StartSound();
    EXPECT_TRUE(SoundReady);
    EXPECT_EQ(MusicStream, 0u);
    StopSound();
    EXPECT_EQ(Calls(), (Lines{"GetVersion", "Init -1 44100 0 0 0", "Free"}));
}

TEST_F(Sound, OtherVersionsAndIncompleteLibrariesGiveSilence)
{
    UseLibrary("bass23");
    StartSound();
    EXPECT_FALSE(SoundReady);
    StopSound();
    EXPECT_EQ(Calls(), (Lines{"GetVersion", "Free"}));

    // A library without an entry point the program never calls is still refused,
    // and released again.
    const std::string incomplete = probe::Argument("testdata") + "\\bassnopause\\bass.dll";
    EXPECT_FALSE(LoadBass(incomplete));
    EXPECT_EQ(BassModule, nullptr);
    EXPECT_EQ(GetModuleHandleA(incomplete.c_str()), nullptr);
    EXPECT_EQ(BASS_Init, nullptr);

    UseLibrary("v271"); // a folder without bass.dll
    StartSound();
    EXPECT_FALSE(SoundReady);
    EXPECT_EQ(Calls(), Lines{});
}

TEST_F(Sound, LoadingTwiceKeepsTheFirstLibrary)
{
    const std::string path = probe::Argument("testdata") + "\\bass24\\bass.dll";
    ASSERT_TRUE(LoadBass(path));
    HMODULE first = BassModule;
    EXPECT_TRUE(LoadBass(probe::Argument("testdata") + "\\bassnopause\\bass.dll"));
    EXPECT_EQ(BassModule, first);
    UnloadBass();
    EXPECT_EQ(BassModule, nullptr);
    EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr);
    EXPECT_EQ(Calls(), Lines{"Free"});
}

TEST_F(Sound, NoMusicResourceStillGivesTheVolumeBack)
{
    UseLibrary("bass24");
    DataLibrary = GetModuleHandleA(nullptr); // a module without "Sound"
    Settings.Volume = 0;
    StartSound();
    EXPECT_FALSE(SoundReady);
    EXPECT_EQ(MusicStream, 0u);
    StopSound();
    EXPECT_EQ(Calls(), (Lines{"GetVersion", "Init -1 44100 0 0 0", "GetVolume", "SetVolume 0",
                              "StreamCreateFile 1 0 0 4 [--]", "SetVolume 500", "Free"}));
}

} // namespace
