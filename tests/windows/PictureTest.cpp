// Pictures decoded from the resources of a real test library by the system's OLE
// picture loader.
#include "support/Handles.h"
#include "tests/windows/probe/Probe.h"
#include "textures/DibLayout.h"
#include "textures/PixelConvert.h"
#include "textures/imgload.h"

#include <gtest/gtest.h>

#include <olectl.h>
#include <psapi.h>

#include <cstdlib>
#include <cstring>

namespace {

enum TestPicture { QuadrantsJpeg = 2001, TinyBmp = 2002, Icon = 2003, Garbage = 2004, Missing = 2099 };

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        library.reset(LoadLibraryA((probe::Argument("testdata") + "\\v272\\duzidad.dll").c_str()));
        ASSERT_TRUE(library) << "test data library not loaded";
    }

    HMODULE module() const { return library.get(); }

    UniqueModule library;
};

DIBSECTION SectionOf(HBITMAP bitmap)
{
    DIBSECTION section{};
    EXPECT_EQ(GetObjectA(bitmap, sizeof section, &section), static_cast<int>(sizeof section));
    return section;
}

bool Near(TBgr actual, TBgr expected, int tolerance)
{
    return std::abs(actual.Blue - expected.Blue) <= tolerance && std::abs(actual.Green - expected.Green) <= tolerance &&
           std::abs(actual.Red - expected.Red) <= tolerance;
}

std::string Text(TBgr c)
{
    return "BGR(" + std::to_string(c.Blue) + "," + std::to_string(c.Green) + "," + std::to_string(c.Red) + ")";
}

TEST_F(PictureTest, JpegBecomesBottomUp24BitBitmapWithItsColours)
{
    TPictureInfo info{};
    HBITMAP bitmap = nullptr;
    ASSERT_TRUE(LoadPictureFromResource(info, module(), QuadrantsJpeg, bitmap));
    UniqueGdiObject owner(bitmap);
    EXPECT_FALSE(HoldsPicture()) << "the picture is released once converted";

    EXPECT_EQ(info.Width, 256);
    EXPECT_EQ(info.Height, 128);
    EXPECT_EQ(info.ImageSize, 98304);
    EXPECT_EQ(info.PictureType, PictureTypeBitmap);
    EXPECT_EQ(info.Handle, static_cast<HGDIOBJ>(bitmap));
    EXPECT_GT(info.HimetricWidth, 0);
    EXPECT_GT(info.StreamSize, 0);
    EXPECT_EQ(static_cast<DWORD>(info.StreamSize),
              SizeofResource(module(), FindResourceA(module(), MAKEINTRESOURCEA(QuadrantsJpeg), RT_RCDATA)));

    const DIBSECTION section = SectionOf(bitmap);
    EXPECT_EQ(section.dsBmih.biBitCount, 24);
    EXPECT_EQ(section.dsBmih.biHeight, 128) << "positive height: bottom-up";
    EXPECT_EQ(section.dsBm.bmWidthBytes, 768);
    ASSERT_NE(section.dsBm.bmBits, nullptr);

    // Sample well inside each quadrant, away from the JPEG block edges.
    const auto* bits = static_cast<const std::uint8_t*>(section.dsBm.bmBits);
    const struct {
        int x, y;
        TBgr colour;
    } samples[] = {
        {30, 20, {0, 0, 255}},      // top left: red
        {220, 20, {0, 255, 0}},     // top right: green
        {30, 100, {255, 0, 0}},     // bottom left: blue
        {220, 100, {255, 255, 255}} // bottom right: white
    };
    for (const auto& s : samples) {
        const TBgr actual = BottomUpPixel(bits, 768, 128, s.x, s.y);
        EXPECT_TRUE(Near(actual, s.colour, 24)) << "at " << s.x << "," << s.y << ": " << Text(actual);
    }
}

TEST_F(PictureTest, NarrowBmpRowsArePaddedToFourBytes)
{
    TPictureInfo info{};
    HBITMAP bitmap = nullptr;
    ASSERT_TRUE(LoadPictureFromResource(info, module(), TinyBmp, bitmap));
    UniqueGdiObject owner(bitmap);
    EXPECT_EQ(info.Width, 3);
    EXPECT_EQ(info.Height, 2);
    EXPECT_EQ(info.ImageSize, 18);

    const DIBSECTION section = SectionOf(bitmap);
    ASSERT_EQ(section.dsBm.bmWidthBytes, 12) << "9 bytes of pixels and 3 of filler";
    const auto* bits = static_cast<const std::uint8_t*>(section.dsBm.bmBits);
    const TBgr expected[2][3] = {{{0, 0, 255}, {0, 255, 0}, {255, 0, 0}}, {{0, 0, 0}, {255, 255, 255}, {0, 255, 255}}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(BottomUpPixel(bits, 12, 2, x, y), expected[y][x]) << "pixel " << x << "," << y;
}

TEST_F(PictureTest, FailuresReturnNoBitmap)
{
    // Each case starts from a record full of stale values.
    const struct {
        const char* name;
        int id;
        bool picture;           // a picture is held afterwards
        std::int32_t type;      // the kind left in the record
    } cases[] = {
        {"undecodable bytes", Garbage, false, 0},
        {"an icon decodes but is not a bitmap", Icon, true, PICTYPE_ICON},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TPictureInfo info;
        std::memset(&info, 0x5A, sizeof info);
        HBITMAP bitmap = reinterpret_cast<HBITMAP>(1);
        EXPECT_FALSE(LoadPictureFromResource(info, module(), c.id, bitmap));
        EXPECT_EQ(bitmap, nullptr);
        EXPECT_EQ(HoldsPicture(), c.picture);
        EXPECT_EQ(info.PictureType, c.type);
        EXPECT_EQ(info.ImageSize, 0);
    }
}

TEST_F(PictureTest, MissingResourceClearsTheRecordAndKeepsTheCurrentPicture)
{
    TPictureInfo info{};
    HBITMAP bitmap = nullptr;
    ASSERT_FALSE(LoadPictureFromResource(info, module(), Icon, bitmap));
    ASSERT_TRUE(HoldsPicture());
    ASSERT_NE(info.Handle, nullptr);

    const char* const names[] = {MAKEINTRESOURCEA(Missing), "NOSUCHPICTURE"};
    for (const char* name : names) {
        EXPECT_FALSE(LoadPictureFromResource(info, module(), name, bitmap));
        EXPECT_EQ(bitmap, nullptr);
        TPictureInfo cleared{};
        EXPECT_EQ(std::memcmp(&info, &cleared, sizeof info), 0) << "record not cleared";
        EXPECT_TRUE(HoldsPicture()) << "a missing resource must not touch the current picture";
    }

    // The next decodable load replaces it.
    ASSERT_TRUE(LoadPictureFromResource(info, module(), TinyBmp, bitmap));
    DeleteObject(bitmap);
    EXPECT_FALSE(HoldsPicture());
}

TEST_F(PictureTest, CreateDibMakesBottomUpSections)
{
    for (int width : {1, 3, 4, 255}) {
        UniqueGdiObject bitmap(CreateDIB(width, 5, 24));
        ASSERT_TRUE(bitmap);
        const DIBSECTION section = SectionOf(static_cast<HBITMAP>(bitmap.get()));
        EXPECT_EQ(section.dsBm.bmWidthBytes, static_cast<LONG>(BitmapStride(width)));
        EXPECT_EQ(section.dsBmih.biHeight, 5);
        EXPECT_EQ(section.dsBmih.biBitCount, 24);
    }
    EXPECT_EQ(CreateDIB(0, 5, 24), nullptr);
}

SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return counters.PrivateUsage;
}

TEST_F(PictureTest, RepeatedLoadsLeakNothing)
{
    auto round = [this] {
        TPictureInfo info{};
        HBITMAP bitmap = nullptr;
        if (LoadPictureFromResource(info, module(), QuadrantsJpeg, bitmap)) DeleteObject(bitmap);
        if (LoadPictureFromResource(info, module(), TinyBmp, bitmap)) DeleteObject(bitmap);
        EXPECT_FALSE(LoadPictureFromResource(info, module(), Garbage, bitmap));
        EXPECT_FALSE(LoadPictureFromResource(info, module(), Icon, bitmap));
        EXPECT_FALSE(LoadPictureFromResource(info, module(), Missing, bitmap));
    };
    round(); // the loader's own one-time allocations happen here
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    const SIZE_T memoryBefore = PrivateBytes();
    for (int i = 0; i < 1000; ++i) round();
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userBefore);
    // A leaked copy of the 64 KiB undecodable resource alone would add 64 MB.
    EXPECT_LT(PrivateBytes(), memoryBefore + 16 * 1024 * 1024);
}

} // namespace
