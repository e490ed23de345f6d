// The built data library as the program meets it: the preview picture through the
// program's own loader, the width table, texts and music in their formats.
#include "support/Handles.h"
#include "tests/windows/probe/Probe.h"
#include "textures/imgload.h"

#include <gtest/gtest.h>

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
        const auto* bytes = static_cast<const char*>(loaded ? LockResource(loaded) : nullptr);
        return bytes ? std::string_view(bytes, SizeofResource(library.get(), found)) : std::string_view();
    }

    UniqueModule library{LoadLibraryA(probe::Argument("datalib").c_str())};
};

// The twenty texture pictures are loaded by every run of the real saver end to
// end; the preview picture only here. The width table is one byte per character
// code; each text is lines ending in CR LF; the descriptions hold a block for each
// of the ten bodies; the music is an Ogg stream.
TEST_F(DataLibraryContents, PreviewWidthTableTextsAndMusicAreAsTheProgramReadsThem)
{
    TPictureInfo info{};
    HBITMAP bitmap = nullptr;
    ASSERT_TRUE(LoadPictureFromResource(info, library.get(), 288, bitmap));
    UniqueGdiObject owner(bitmap);
    EXPECT_GT(info.Width, 0);

    EXPECT_EQ(Resource(MAKEINTRESOURCEA(289)).size(), 256u);
    const std::string_view descriptions = Resource(MAKEINTRESOURCEA(290));
    for (std::string_view text : {descriptions, Resource(MAKEINTRESOURCEA(292))})
        EXPECT_TRUE(text.ends_with("\r\n")) << text.size() << " bytes";
    for (const char* body :
         {"Sun", "Mercury", "Venus", "Earth", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto"})
        EXPECT_NE(descriptions.find(std::string("object ") + body + "\r\n"), std::string_view::npos) << body;
    const std::string_view sound = Resource("Sound");
    EXPECT_TRUE(sound.starts_with("OggS") && sound.size() > 100000u) << sound.size() << " bytes";
}

} // namespace
