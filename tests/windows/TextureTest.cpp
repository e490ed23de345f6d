// The texture set under a real context, loaded behind the wait dialog.
#include "tests/windows/SceneWindow.h"
#include "textures/Texture.h"
#include "textures/WaitDialog.h"

#include <algorithm>

namespace {

TEST_F(SceneWindow, EveryTextureWithItsKindFiltersAndWrap)
{
    for (int i = 0; i < TextureCount; ++i) {
        SCOPED_TRACE(i);
        const auto name = static_cast<TTexName>(i);
        ASSERT_TRUE(glIsTexture(Textures[i]));
        glBindTexture(GL_TEXTURE_2D, Textures[i]);
        GLint minFilter = 0, wrap = 0, format = 0, level1 = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1);
        const bool luminance = name == txGalaxy || name == txCrown;
        const bool single = luminance || name == txOrbit;
        const bool clamped = name == txNumberFont || name == txFont || name == txSign;
        EXPECT_EQ(minFilter, single ? GL_LINEAR : GL_LINEAR_MIPMAP_NEAREST);
        EXPECT_EQ(level1 > 0, !single) << "mipmap chain";
        EXPECT_TRUE(luminance ? (format == 1 || format == GL_LUMINANCE) : (format == 3 || format == GL_RGB)) << format;
        EXPECT_EQ(wrap, clamped ? 0x812F : GL_REPEAT);
    }
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4) << "the load puts the alignment back";
}

TEST_F(SceneWindow, PictureWidthNotAMultipleOfFourUploadsUpright)
{
    // Clouds: 2 x 8, red above, blue below; packed rows are 6 bytes.
    glBindTexture(GL_TEXTURE_2D, Textures[txClouds]);
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    ASSERT_TRUE(width == 2 && height == 8) << width << " x " << height;
    GLubyte texels[8][2][3];
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    glBindTexture(GL_TEXTURE_2D, 0);
    for (int y = 0; y < 8; ++y)
        for (const GLubyte* texel : texels[y])  // row 0 is the picture's lowest row
            EXPECT_TRUE(texel[0] + texel[1] + texel[2] == 255 && texel[y < 4 ? 2 : 0] == 255) << y;
}

TEST_F(SceneWindow, MissingPictureDeletesTheTexturesMadeBeforeIt)
{
    std::uint32_t before[TextureCount];
    std::copy(std::begin(Textures), std::end(Textures), before);
    const GLuint oldList = model->Planets[1]->OrbitList;
    UseTestLibrary missing("scene-missing");  // no picture 265 (Neptune, slot 8)
    EXPECT_FALSE(RunWithWaitDialog([this] { return LoadTextures(SaverDC, [this] { model->BuildLists(); }); }));
    EXPECT_EQ(LastWaitDialogResult(), 0);
    EXPECT_EQ(std::count(std::begin(Textures), std::end(Textures), 0u), TextureCount);
    // Only the names of the first load are textures still.
    const GLuint highest = *std::max_element(std::begin(before), std::end(before));
    for (GLuint name = 1; name <= highest + 2 * TextureCount; ++name) {
        const bool first = std::find(std::begin(before), std::end(before), name) != std::end(before);
        EXPECT_EQ(glIsTexture(name) == GL_TRUE, first) << name;
    }
    // The model's lists were built all the same.
    EXPECT_TRUE(model->Planets[1]->OrbitList != oldList && glIsList(model->Planets[1]->OrbitList));
    std::copy(std::begin(before), std::end(before), Textures);
}

// The wait dialog of this process once visible, null if none shows within `milliseconds`.
HWND VisibleWaitDialog(DWORD milliseconds)
{
    return probe::WaitForWindowWhere(GetCurrentProcessId(), milliseconds, [](HWND window) {
        return FindWindowExA(window, nullptr, "Static", "Loading the textures. Wait") != nullptr;
    });
}

TEST(WaitDialog, ClosesWithTheResultWhetherLoadingEndsFirstOrLast)
{
    // Loading over before the dialog can exist: it still closes, with IDOK.
    EXPECT_TRUE(RunWithWaitDialog([] { return true; }));
    EXPECT_EQ(LastWaitDialogResult(), 1);
    EXPECT_FALSE(WaitThread);
    EXPECT_EQ(VisibleWaitDialog(0), nullptr) << "the thread has ended with its dialog";

    // Loading that lasts until the dialog is up, and fails: IDCANCEL.
    HWND seen = nullptr;
    EXPECT_FALSE(RunWithWaitDialog([&seen] { return (seen = VisibleWaitDialog(10000)), false; }));
    ASSERT_NE(seen, nullptr) << "the dialog showed while the loading ran";
    EXPECT_EQ(WaitDialog, seen);
    EXPECT_EQ(LastWaitDialogResult(), 0);
    EXPECT_FALSE(IsWindow(seen));
}

} // namespace
