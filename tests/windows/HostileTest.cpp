// Pictures anyone can plant in a data library, met by the program's own code in
// this process: the set loads or fails whole; and the saver window made and torn
// down for a long while leaves nothing behind.
#include "tests/windows/SceneWindow.h"

#include "bench/Memory.h"
#include "descriptions/ShowMsgWin.h"
#include "textures/Texture.h"

#include <string>
#include <tuple>

using namespace std::string_literals;

namespace {
using namespace probe;

// The process's open handles. NOTE: Wine's GetProcessHandleCount answers 0, so
// each small handle value is asked.
int OpenHandles()
{
    int handles = 0;
    DWORD flags = 0;
    for (UINT_PTR value = 4; value < 0x10000; value += 4)
        handles += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    return handles;
}

// The saver window with its context, textures and lists, made and torn down as
// the F4 toggle does: 200 times, after ten to warm up, leave the process's
// holdings where they were. Private bytes may move by two steps of heap growth
// (64 KiB each) and the working set by what the first windows touch late
// (measured: up to 8 MiB); a GL context with its textures takes 5 MiB.
TEST(LongRun, SceneWindowsOpenedAndClosedHoldNothing)
{
    const UseTestLibrary library("scene");
    probe::BoxWatcher watcher;
    RunModeSettings();
    FullScreen = false;
    TPlanetaryModel model;
    const auto cycles = [&](int count) {
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(OpenSceneWindow("Astrolume test", 320, 240, 32, model), TSceneOpening::Opened);
            CloseSceneWindow();
        }
        // The working set holds what the system's libraries allocate outside Wine's
        // heaps (the GL driver's contexts among them). NOTE: under Wine it is the
        // resident size of the process's Unix side.
        const MemoryFigures memory = MemoryOf(GetCurrentProcess());
        return std::tuple{OpenHandles(), memory.privateBytes, memory.workingSet};
    };
    const auto [handles, privateBytes, workingSet] = cycles(10);
    const auto [handlesAfter, privateBytesAfter, workingSetAfter] = cycles(200);
    EXPECT_LE(handlesAfter, handles + 2) << "Wine's own helper threads may come and go";
    EXPECT_LE(privateBytesAfter - privateBytes, 0.125) << "MiB";
    EXPECT_LT(workingSetAfter - workingSet, 16.0) << "MiB";
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
// missing in turn: the set loads or fails whole.
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
    const struct { const char* name; std::optional<std::string> bytes; bool loads; } rows[] = {
        {"a JPEG cut in half", jpeg.substr(0, jpeg.size() / 2), false},
        {"a JPEG claiming 16384 x 16384", huge, false},
        {"an icon", ReadTextResource(DataLibrary, 2003), false},
        {"a 1 x 1 bitmap", pixel, true},
    };
    HMODULE scene = DataLibrary;
    const auto load = [&](HMODULE library) {
        DataLibrary = library;
        const bool loaded = LoadTextures();
        EXPECT_TRUE(loaded == glIsTexture(Textures[txGalaxy]) && glGetError() == GL_NO_ERROR);
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

} // namespace
