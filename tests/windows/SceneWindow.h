// The saver's window and OpenGL context in this process, with Wine's real WGL
// (Mesa underneath), for the tests of the scene, the model and the textures.
#pragma once

#include "common/DataLibrary.h"
#include "common/Settings.h"
#include "model/PlanetaryModel.h"
#include "scene/GlDraw.h"
#include "shell/SaverWindow.h"
#include "support/Handles.h"
#include "tests/windows/probe/Probe.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

// Run mode's settings: the defaults, with Distance and Sizes scaled.
inline void RunModeSettings()
{
    SetDefaultSettings();
    Settings.Distance *= Settings.Scale;
    Settings.Sizes *= Settings.Scale;
}

// One of the test data libraries as the program's data library while it lives;
// with no variant, the data library as built, beside this program.
class UseTestLibrary {
public:
    explicit UseTestLibrary(const char* variant)
        : saved_(DataLibrary),
          module_(LoadLibraryA(variant ? (probe::Argument("testdata") + "\\" + variant + "\\duzidad.dll").c_str()
                                       : DataLibraryName))
    {
        EXPECT_TRUE(module_) << (variant ? variant : DataLibraryName);
        DataLibrary = module_.get();
    }
    ~UseTestLibrary() { DataLibrary = saved_; }

private:
    HMODULE saved_;
    UniqueModule module_;
};

// A windowed saver window with its model, as run mode opens it after F4, with
// the textures of the test library that has all twenty pictures; no box may show.
class SceneWindow : public ::testing::Test {
protected:
    explicit SceneWindow(const char* variant = "scene") : library(variant) {}
    void SetUp() override
    {
        RunModeSettings();
        FullScreen = false;
        model = std::make_unique<TPlanetaryModel>();
        ASSERT_EQ(OpenSceneWindow("Astrolume test", 800, 600, 32, *model), TSceneOpening::Opened);
        ResizeScene(800, 600);
    }
    void TearDown() override
    {
        CloseSceneWindow();
        model.reset();
        EXPECT_TRUE(watcher.Boxes().empty()) << watcher.Boxes().front().text;
    }
    UseTestLibrary library;
    probe::BoxWatcher watcher;
    std::unique_ptr<TPlanetaryModel> model;
};

// The same with the data library as built (its real glyphs, widths and texts).
class BuiltLibraryWindow : public SceneWindow {
protected:
    BuiltLibraryWindow() : SceneWindow(nullptr) {}
};

struct Rgb { int r, g, b; };

// The 800 x 600 back buffer as drawn, bottom row first.
class BackBuffer {
public:
    BackBuffer() : pixels_(800 * 600 * 3)
    {
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, pixels_.data());  // rows of 2400 bytes: any alignment
    }
    bool operator==(const BackBuffer&) const = default;
    Rgb At(int x, int y) const
    {
        const std::size_t i = (static_cast<std::size_t>(y) * 800 + x) * 3;
        return {pixels_[i], pixels_[i + 1], pixels_[i + 2]};
    }
    // Pixels of [x0, x1) x [y0, y1) that pass `test`.
    template <typename Test>
    int Count(int x0, int y0, int x1, int y1, Test test) const
    {
        int count = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) count += test(At(x, y)) ? 1 : 0;
        return count;
    }

private:
    std::vector<GLubyte> pixels_;
};

// A vertex of the polygons a drawing step emits in feedback mode: window x, y
// and depth (0 to 1), texture s and t.
struct FeedbackVertex { float x, y, z, s, t; };
template <typename Draw> std::vector<FeedbackVertex> Feedback(Draw draw)
{
    std::vector<GLfloat> buffer(200000);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<FeedbackVertex> vertices;
    for (GLint i = 0; i < used;) {
        if (static_cast<GLint>(buffer[i++]) != GL_POLYGON_TOKEN) return ADD_FAILURE() << "not a polygon", vertices;
        const auto count = static_cast<int>(buffer[i++]);
        for (int k = 0; k < count; ++k, i += 3 + 4 + 4)
            vertices.push_back({buffer[i], buffer[i + 1], buffer[i + 2], buffer[i + 7], buffer[i + 8]});
    }
    return vertices;
}
