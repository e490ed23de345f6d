// The texture set under a real context, loaded behind the wait dialog.
#include "tests/windows/SceneWindow.h"
#include "textures/Texture.h"
#include "textures/WaitDialog.h"
#include "textures/imgload.h"

namespace {

// Each slot as its kind asks: levels, filters, components and wrap; a picture whose
// width is not a multiple of four upright and whole.
TEST_F(SceneWindow, EveryTextureUploadedAsItsKindAndUpright)
{
    for (int i = 0; i < TextureCount; ++i) {
        SCOPED_TRACE(i);
        const TTextureKind kind = TextureKindOf(static_cast<TTexName>(i));
        ASSERT_TRUE(glIsTexture(Textures[i]));
        glBindTexture(GL_TEXTURE_2D, Textures[i]);
        GLint minFilter = 0, wrap = 0, format = 0, level1 = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1);
        const bool luminance = kind == TTextureKind::Luminance, single = luminance || kind == TTextureKind::Rgb;
        EXPECT_EQ(minFilter, single ? GL_LINEAR : GL_LINEAR_MIPMAP_NEAREST);
        EXPECT_EQ(level1 > 0, !single) << "mipmap chain";
        EXPECT_TRUE(luminance ? (format == 1 || format == GL_LUMINANCE) : (format == 3 || format == GL_RGB)) << format;
        EXPECT_EQ(wrap, kind == TTextureKind::Clamped ? 0x812F : GL_REPEAT);
    }
    EXPECT_FALSE(HoldsPicture()) << "each picture is released once converted";

    // Loaded again under an alignment a frame may leave, which the load puts back.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    ASSERT_TRUE(LoadTextures());
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 1);
    // Clouds: 2 x 8, red above, blue below; packed rows are 6 bytes.
    glBindTexture(GL_TEXTURE_2D, Textures[txClouds]);
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    ASSERT_TRUE(width == 2 && height == 8) << width << " x " << height;
    GLubyte texels[8][2][3];
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    for (int y = 0; y < 8; ++y)
        for (const GLubyte* texel : texels[y])  // row 0 is the picture's lowest row
            EXPECT_TRUE(texel[0] + texel[1] + texel[2] == 255 && texel[y < 4 ? 2 : 0] == 255) << y;
}

TEST(WaitDialog, ClosesWhetherLoadingEndsFirstOrLast)
{
    // The wait dialog of this process once visible, null if none shows within `milliseconds`.
    const auto visibleDialog = [](DWORD milliseconds) {
        return probe::WaitForWindowWhere(GetCurrentProcessId(), milliseconds, [](HWND window) {
            return FindWindowExA(window, nullptr, "Static", "Loading the textures. Wait") != nullptr;
        });
    };
    // Loading over before the dialog can exist: it still closes.
    EXPECT_TRUE(RunWithWaitDialog([] { return true; }));
    EXPECT_EQ(visibleDialog(0), nullptr) << "the dialog is off the screen";

    // Loading that lasts until the dialog is up, and fails. The dialog shows above
    // a topmost window such as the full-screen saver's.
    HWND topmost = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "Static", "", WS_POPUP | WS_VISIBLE, 0, 0, 640,
                                   480, nullptr, nullptr, nullptr, nullptr);
    HWND seen = nullptr, below = nullptr;
    EXPECT_FALSE(RunWithWaitDialog([&] {
        for (below = seen = visibleDialog(10000); below && below != topmost;) below = GetWindow(below, GW_HWNDNEXT);
        return false;
    }));
    DestroyWindow(topmost);
    ASSERT_NE(seen, nullptr) << "the dialog showed while the loading ran";
    EXPECT_EQ(below, topmost) << "the dialog is behind the topmost window";
    EXPECT_FALSE(IsWindowVisible(seen));
    EXPECT_TRUE(probe::WaitUntilGone(seen, 10000)) << "the thread ends with its dialog";
}

} // namespace
