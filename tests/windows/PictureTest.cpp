// Pictures decoded from a real test library's resources by the system's OLE loader.
#include "support/Handles.h"
#include "tests/windows/probe/Probe.h"
#include "textures/DibLayout.h"
#include "textures/imgload.h"

#include <gtest/gtest.h>

#include <olectl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <tuple>
#include <vector>

namespace {

enum TestPicture { QuadrantsJpeg = 2001, TinyBmp = 2002, Icon = 2003, Garbage = 2004, Missing = 2099 };

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(library) << "test data library not loaded"; }
    UniqueModule library{LoadLibraryA((probe::Argument("testdata") + "\\v272\\duzidad.dll").c_str())};
};

TEST_F(PictureTest, DecodesIntoBottomUp24BitBitmapsWithPaddedRows)
{
    struct Sample { int x, y; TBgr colour; };
    // JPEG samples well inside each quadrant, away from block edges.
    const struct { const char* name; int id, width, height, rowBytes, tolerance; std::vector<Sample> samples; } cases[] = {
        {"JPEG", QuadrantsJpeg, 256, 128, 768, 24,
         {{30, 20, {0, 0, 255}}, {220, 20, {0, 255, 0}}, {30, 100, {255, 0, 0}}, {220, 100, {255, 255, 255}}}},
        {"BMP 3 wide: 9 bytes of pixels, 3 of filler", TinyBmp, 3, 2, 12, 0,
         {{0, 0, {0, 0, 255}}, {1, 0, {0, 255, 0}}, {2, 0, {255, 0, 0}},
          {0, 1, {0, 0, 0}}, {1, 1, {255, 255, 255}}, {2, 1, {0, 255, 255}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TPictureInfo info{};
        HBITMAP bitmap = nullptr;
        ASSERT_TRUE(LoadPictureFromResource(info, library.get(), c.id, bitmap));
        UniqueGdiObject owner(bitmap);
        EXPECT_FALSE(HoldsPicture()) << "the picture is released once converted";
        EXPECT_TRUE(info.Width == c.width && info.Height == c.height) << info.Width << " x " << info.Height;
        EXPECT_EQ(info.ImageSize, c.width * c.height * 3);

        DIBSECTION section{};
        ASSERT_EQ(GetObjectA(bitmap, sizeof section, &section), static_cast<int>(sizeof section));
        EXPECT_TRUE(section.dsBmih.biBitCount == 24 && section.dsBmih.biHeight == c.height) << "bottom-up 24 bits";
        ASSERT_EQ(section.dsBm.bmWidthBytes, c.rowBytes);
        const auto* bits = static_cast<const std::uint8_t*>(section.dsBm.bmBits);
        for (const Sample& s : c.samples) {
            const TBgr p = BottomUpPixel(bits, c.rowBytes, c.height, s.x, s.y);
            EXPECT_LE(std::max({std::abs(p.Blue - s.colour.Blue), std::abs(p.Green - s.colour.Green),
                                std::abs(p.Red - s.colour.Red)}), c.tolerance)
                << "at " << s.x << "," << s.y << ": " << int(p.Blue) << "," << int(p.Green) << "," << int(p.Red);
        }
    }
}

TEST_F(PictureTest, FailuresReturnNoBitmapAndClearTheRecord)
{
    // picture: one is held afterwards, of the kind left in the record as type.
    const struct { const char* name; int id; bool picture; std::int32_t type; } cases[] = {
        {"undecodable bytes", Garbage, false, 0},
        {"an icon decodes but is not a bitmap", Icon, true, PICTYPE_ICON},
        {"a missing resource leaves the icon held", Missing, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TPictureInfo info;
        std::memset(&info, 0x5A, sizeof info);  // stale values from an earlier load
        HBITMAP bitmap = reinterpret_cast<HBITMAP>(1);
        EXPECT_FALSE(LoadPictureFromResource(info, library.get(), c.id, bitmap));
        EXPECT_EQ(bitmap, nullptr);
        EXPECT_EQ(HoldsPicture(), c.picture);
        EXPECT_EQ(info.PictureType, c.type);
        EXPECT_EQ(info.ImageSize, 0);
    }
}

TEST_F(PictureTest, RepeatedLoadsLeakNothing)
{
    const auto rounds = [this](int count) {
        for (int i = 0; i < count; ++i)
            for (int id : {QuadrantsJpeg, TinyBmp, Garbage, Icon, Missing}) {
                TPictureInfo info{};
                HBITMAP bitmap = nullptr;
                if (LoadPictureFromResource(info, library.get(), id, bitmap)) DeleteObject(bitmap);
            }
        return std::tuple(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                          GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS),
                          probe::PrivateBytes(GetCurrentProcess()) / (16 << 20));
    };
    const auto [gdi, user, memory] = rounds(1);  // after the loader's own one-time allocations
    const auto [gdiAfter, userAfter, memoryAfter] = rounds(1000);
    EXPECT_TRUE(gdiAfter == gdi && userAfter == user) << gdiAfter << " GDI, " << userAfter << " USER objects";
    EXPECT_LE(memoryAfter, memory + 1) << "16 MB steps: a leaked copy of the 64 KiB undecodable resource adds 64 MB";
}

} // namespace
