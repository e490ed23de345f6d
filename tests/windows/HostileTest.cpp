// Inputs anyone can plant (registry values, data-library resources) met by the
// program's own code in this process: a clear message where it has one, a fall-back
// where it has none, and never a crash, a hang, a leak or a half-written registry.
#include "tests/windows/SceneWindow.h"
#include "tests/windows/probe/SettingsTexts.h"

#include "descriptions/ShowMsgWin.h"
#include "textures/Fonts.h"
#include "textures/Texture.h"
#include "textures/imgload.h"

#include <psapi.h>

#include <iostream>
#include <string>

using namespace std::string_literals;

namespace {
using namespace probe;

// A raw value under the settings key, then the program's load, then a model built
// at what was read and one frame drawn with it. `reads` is the field's text after the
// load, or null when the value counts as missing and every default is written back.
TEST_F(SceneWindow, HostileRegistryValuesLoadIntoSettingsTheSceneSurvives)
{
    const ScratchRegistryKey scratch{SettingsKey};
    const struct { const char* name; DWORD type; std::string data; const char* reads; } rows[] = {
        {"Quality", REG_DWORD, "\x1e\0\0\0"s, nullptr},
        {"Speed", REG_BINARY, "\x01\x02"s, nullptr},
        {"Scale", REG_MULTI_SZ, "1\0002\0\0"s, nullptr},
        {"CamDistance", REG_SZ, "\0"s, "0.0"},
        {"Quality", REG_SZ, "12\0junk\0"s, "12"},
        // Text that does not convert gives 0 (the native tests hold the other
        // texts), which the drawing code has to survive.
        {"Sizes", REG_SZ, std::string(65536, '7') + '\0', "0.000"},
        {"Quality", REG_SZ, "0\0"s, "0"},
        {"Quality", REG_SZ, "1000000000\0"s, "1000000000"},
        {"Speed", REG_SZ, "0\0"s, "0.0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " = " + row.data.substr(0, 16));
        ASSERT_TRUE(DeleteRegKey(SettingsKey));
        StoreSettingTexts(OwnTexts);
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, SettingsKey, row.name, row.type, row.data.data(),
                                  static_cast<DWORD>(row.data.size())), ERROR_SUCCESS);
        LoadSettings();
        const SettingTexts read = TextsOf(Settings);
        if (!row.reads) {  // ClockShort keeps what was read before the reset (SettingsTest)
            EXPECT_EQ(read, With(DefaultTexts, {{"ClockShort", read.at("ClockShort")}}));
            EXPECT_EQ(StoredSettingTexts(), read) << "not every default was written back";
        } else {
            EXPECT_EQ(read, With(OwnTexts, {{row.name, row.reads}}));
        }
        TPlanetaryModel atRead;
        atRead.BuildLists(Textures);
        EXPECT_TRUE(RenderFrame(atRead, 100, 0, nullptr) && RenderFrame(atRead, 100, 0, nullptr));
        atRead.ReleaseLists();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

// Texts of any size and any bytes as the description and the message list: the
// panel is made and runs through its frames (calibrated, typing, shrinking) without
// failing or stalling. Made here in memory; a rebuilt library hands over the same
// bytes. Every body has a line of a megabyte, since the order they show in is random.
TEST_F(BuiltLibraryWindow, HostileTextsMakeAPanelThatRuns)
{
    const std::string desc = ReadTextResource(DataLibrary, DescriptionResource), longLine(1 << 20, 'x');
    ASSERT_FALSE(desc.empty());
    std::string huge, tenThousand, longLines, controls, blocks;
    while (huge.size() < 10'000'000) huge += desc;
    for (int i = 0; i < 10000; ++i) tenThousand += "message " + std::to_string(i) + "\r\n";
    for (int i = 0; i < BodyCount; ++i) longLines += "object " + std::string(BodyNames[i]) + "\r\n" + longLine + "\r\nobjend\r\n";
    for (int i = 0; i < 1 << 20; ++i) controls += static_cast<char>(i % 32);
    for (int i = 0; i < 100000; ++i) blocks += "object " + std::string(BodyNames[i % BodyCount]) + "\r\n\x01line\r\nobjend\r\n";
    const struct { const char* name; std::string description, messages; } rows[] = {
        {"10 MB of descriptions, 10,000 messages", huge, tenThousand},
        {"lines of 1 MB", longLines, longLine + "\r\n" + longLine + "\r\n"},
        {"only CRs", std::string(1 << 20, '\r'), std::string(1 << 20, '\r')},
        {"bytes 0 to 31 everywhere", controls, controls},
        {"100,000 blocks", blocks, blocks},
        {"nothing at all", "", ""},
    };
    glEnable(GL_TEXTURE_2D);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TDrawMsg panel;
        panel.Create(row.description, row.messages);
        for (int second = 0; second <= CalibrationUpdates; ++second) panel.Calibrate(30);
        for (int frame = 0; frame < 300; ++frame) panel.Draw();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

// What the process holds of the system. NOTE: Wine's GetProcessHandleCount and
// GetGuiResources answer 0, so handles are counted by asking each small handle
// value; the object counts are checked where the system keeps them.
struct Usage {
    DWORD gdi, user, handles;
    std::int64_t privateBytes, workingSet;
};

// Memory of the whole process, what the system's libraries allocate outside
// Wine's heaps included (the GL driver's contexts among them).
// NOTE: under Wine this is the resident size of the process's Unix side.
std::int64_t WorkingSetBytes(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return K32GetProcessMemoryInfo(process, &counters, sizeof counters) ? std::int64_t(counters.WorkingSetSize) : -1;
}

Usage Measure()
{
    HANDLE self = GetCurrentProcess();
    Usage usage{GetGuiResources(self, GR_GDIOBJECTS), GetGuiResources(self, GR_USEROBJECTS), 0, PrivateBytes(self),
                WorkingSetBytes(self)};
    DWORD flags = 0;
    for (UINT_PTR value = 4; value < 0x10000; value += 4)
        usage.handles += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    return usage;
}

// `cycles` runs of `cycle`, after a twentieth as many to warm up, leave the
// process's holdings where they were. Private bytes may move by two steps of heap
// growth (64 KiB each) and the working set by what the first windows touch late
// (measured: up to 8 MiB); a panel text left behind per cycle is more than the
// first, a GL context with its textures (5 MiB each, 1 GiB in 200) far more
// than the second.
void ExpectFlat(int cycles, const std::function<void()>& cycle)
{
    for (int i = 0; i <= cycles / 20; ++i) cycle();
    const Usage before = Measure();
    for (int i = 0; i < cycles; ++i) cycle();
    const Usage after = Measure();
    std::cout << "handles " << before.handles << " -> " << after.handles << ", private bytes " << before.privateBytes
              << " -> " << after.privateBytes << ", working set " << before.workingSet << " -> "
              << after.workingSet << std::endl;
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
    EXPECT_LE(after.handles, before.handles + 2) << "Wine's own helper threads may come and go";
    EXPECT_LE(after.privateBytes - before.privateBytes, 128 << 10);
    EXPECT_LT(after.workingSet - before.workingSet, 16 << 20);
}

TEST_F(BuiltLibraryWindow, AThousandPanelLoadsHoldNothing)
{
    ExpectFlat(1000, [] {
        TDrawMsg panel;
        CreateDescPanel(panel, DataLibrary);
    });
}

// The saver window with its context, textures and lists, made and torn down as
// the F4 toggle does.
TEST(LongRun, SceneWindowsOpenedAndClosedHoldNothing)
{
    const UseTestLibrary library("scene");
    probe::BoxWatcher watcher;
    RunModeSettings();
    FullScreen = false;
    TPlanetaryModel model;
    ExpectFlat(200, [&] {
        EXPECT_EQ(OpenSceneWindow("Astrolume test", 320, 240, 32, model), TSceneOpening::Opened);
        CloseSceneWindow();
    });
    EXPECT_TRUE(watcher.Boxes().empty());
}

// The scene library rebuilt by the system's resource updater with its pictures
// alone, picture `id` replaced by `bytes` or left out when there are none.
// NOTE: Wine's updater does not delete single resources: every one is written anew.
UniqueModule LibraryWith(const probe::TempFolder& temp, int id, const std::optional<std::string>& bytes)
{
    static int made = 0;
    const std::string path = temp / ("variant" + std::to_string(++made) + ".dll");
    EXPECT_TRUE(CopyFileA((Argument("testdata") + "\\scene\\duzidad.dll").c_str(), path.c_str(), FALSE));
    HANDLE update = BeginUpdateResourceA(path.c_str(), TRUE);
    EXPECT_NE(update, nullptr);
    for (int picture = TextureResourceBase; picture < TextureResourceBase + TextureCount; ++picture) {
        if (picture == id && !bytes) continue;
        const std::string data = picture == id ? *bytes : ReadTextResource(DataLibrary, picture);
        EXPECT_TRUE(UpdateResourceA(update, RT_RCDATA, MAKEINTRESOURCEA(picture), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                    const_cast<char*>(data.data()), static_cast<DWORD>(data.size())));
    }
    EXPECT_TRUE(EndUpdateResourceA(update, FALSE));
    return UniqueModule(LoadLibraryA(path.c_str()));
}

// Pictures a rebuilt library may hold in the galaxy's place, and each picture
// missing in turn: the set loads or fails whole, with no texture left behind.
TEST_F(SceneWindow, HostilePicturesLoadOrFailTheWholeSet)
{
    probe::TempFolder temp;
    const std::string jpeg = ReadTextResource(DataLibrary, 2001);
    std::string huge = jpeg;
    const std::size_t frame = huge.find("\xff\xc0");  // the frame header: height, then width
    ASSERT_NE(frame, std::string::npos);
    huge.replace(frame + 5, 4, "\x40\x00\x40\x00"s);
    std::string pixel = "BM\x3a\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0"s + std::string(24, '\0');
    pixel[34] = '\x04';  // image size, then one blue-green-red pixel and its padding
    pixel += "\xff\x80\x40\0"s;
    const std::string png = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x01\0\0\0\x01\x08\x02\0\0\0\x90wS\xde\0\0\0\x0cIDAT\x08\xd7" "c\xf8\xcf\xc0\0\0\x03\x01\x01\0\x18\xdd\x8d\xb0\0\0\0\0IEND\xae" "B`\x82"s;
    const struct { const char* name; std::optional<std::string> bytes; bool loads; } rows[] = {
        {"a JPEG cut in half", jpeg.substr(0, jpeg.size() / 2), false},
        {"a JPEG claiming 16384 x 16384", huge, false},
        {"an icon", ReadTextResource(DataLibrary, 2003), false},
        {"a PNG, which Wine's picture loader decodes", png, true},
        {"a 1 x 1 bitmap", pixel, true},
    };
    HMODULE scene = DataLibrary;
    const auto liveTextures = [] {
        std::vector<GLuint> names;
        for (GLuint name = 1; name < 4096; ++name)
            if (glIsTexture(name)) names.push_back(name);
        return names;
    };
    const auto load = [&](HMODULE library) {
        const std::vector<GLuint> before = liveTextures();
        DataLibrary = library;
        const bool loaded = LoadTextures();
        EXPECT_TRUE(loaded == glIsTexture(Textures[txGalaxy]) && glGetError() == GL_NO_ERROR);
        EXPECT_TRUE(loaded || liveTextures() == before) << "textures of a failed set left behind";
        DataLibrary = scene;
        return loaded;
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(load(LibraryWith(temp, TextureResourceBase + txGalaxy, row.bytes).get()), row.loads);
    }
    for (int name = 0; name < TextureCount; ++name)
        EXPECT_FALSE(load(LibraryWith(temp, TextureResourceBase + name, std::nullopt).get())) << "picture " << name;
    EXPECT_TRUE(load(scene));
}

// Pictures of every kind loaded a thousand times, after a first round for the
// loader's own one-time allocations, keep private memory within a 16 MB step;
// only the JPEG and the BMP give a bitmap.
TEST(HostilePictures, RepeatedLoadsLeakNothing)
{
    const UseTestLibrary library("v272");  // 2001 JPEG, 2002 BMP, 2003 icon, 2004 undecodable, 2099 missing
    const auto rounds = [](int count) {
        for (int i = 0; i < count; ++i)
            for (int id : {2001, 2002, 2003, 2004, 2099}) {
                TPictureInfo info{};
                HBITMAP bitmap = nullptr;
                const bool loaded = LoadPictureFromResource(info, DataLibrary, id, bitmap);
                EXPECT_EQ(loaded, id < 2003) << "picture " << id;
                if (loaded) DeleteObject(bitmap);
            }
        return PrivateBytes(GetCurrentProcess()) / (16 << 20);
    };
    const std::int64_t first = rounds(1);
    EXPECT_LE(rounds(1000), first + 1) << "a leaked copy of the 64 KiB undecodable resource adds 64 MB";
}

} // namespace
