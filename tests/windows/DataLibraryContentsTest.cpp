// The built data library as the program meets it: the version check it must pass,
// every picture decoded by the program's own loader at a size the texture upload
// takes, and the width table and texts in their formats.
#include "common/DataLibrary.h"
#include "support/Handles.h"
#include "tests/windows/probe/Probe.h"
#include "textures/imgload.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

namespace {

class DataLibraryContents : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(library) << probe::Argument("datalib"); }

    std::string_view Resource(LPCSTR name) const
    {
        HRSRC found = FindResourceA(library.get(), name, RT_RCDATA);
        HGLOBAL loaded = found ? LoadResource(library.get(), found) : nullptr;
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        return bytes ? std::string_view(static_cast<const char*>(bytes), SizeofResource(library.get(), found))
                     : std::string_view();
    }

    UniqueModule library{LoadLibraryA(probe::Argument("datalib").c_str())};
};

bool PowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

TEST_F(DataLibraryContents, PassesTheProgramsVersionCheck)
{
    std::string message = "none";
    // The check releases a module that fails it: hand it a reference of its own.
    HMODULE reference = LoadLibraryA(probe::Argument("datalib").c_str());
    ASSERT_TRUE(CheckDataLibrary(reference, message)) << message;
    FreeLibrary(reference);
}

// Texture rows are uploaded under the default unpack alignment of 4, and the three
// single-level textures (galaxy 257, corona 273, orbit 275) need power-of-two sides.
TEST_F(DataLibraryContents, EveryPictureDecodesAtASizeTheUploadTakes)
{
    for (int id = 257; id <= 288; id = id == 276 ? 288 : id + 1) {
        SCOPED_TRACE("picture " + std::to_string(id));
        TPictureInfo info{};
        HBITMAP bitmap = nullptr;
        ASSERT_TRUE(LoadPictureFromResource(info, library.get(), id, bitmap));
        DeleteObject(bitmap);
        EXPECT_GE(info.Width, 4);
        EXPECT_GE(info.Height, 4);
        if (id == 288) continue; // the preview is stretched, never uploaded
        EXPECT_EQ(info.Width % 4, 0);
        if (id == 257 || id == 273 || id == 275) {
            EXPECT_TRUE(PowerOfTwo(info.Width) && PowerOfTwo(info.Height)) << info.Width << " x " << info.Height;
        }
    }
}

// The width table is one byte per character code; each text is lines ending in
// CR LF; the descriptions hold a block for each of the ten bodies; the music is an
// Ogg stream that the sound library takes from memory.
TEST_F(DataLibraryContents, WidthTableTextsAndMusicAreInTheirFormats)
{
    EXPECT_EQ(Resource(MAKEINTRESOURCEA(289)).size(), 256u);

    const std::string_view descriptions = Resource(MAKEINTRESOURCEA(290));
    const std::string_view messages = Resource(MAKEINTRESOURCEA(292));
    for (std::string_view text : {descriptions, messages}) {
        ASSERT_GE(text.size(), 2u);
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
        EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), std::count(text.begin(), text.end(), '\n'));
    }
    EXPECT_GE(std::count(messages.begin(), messages.end(), '\n'), 6);
    for (const char* body : {"Sun", "Mercury", "Venus", "Earth", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto"})
        EXPECT_NE(descriptions.find(std::string("object ") + body + "\r\n"), std::string_view::npos) << body;
    std::size_t blocks = 0;
    for (std::size_t at = descriptions.find("objend"); at != std::string_view::npos; at = descriptions.find("objend", at + 1))
        ++blocks;
    EXPECT_EQ(blocks, 10u);

    const std::string_view sound = Resource("Sound");
    EXPECT_EQ(sound.substr(0, 4), "OggS");
    EXPECT_GT(sound.size(), 100000u);
}

} // namespace
